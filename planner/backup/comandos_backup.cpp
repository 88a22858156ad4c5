#include "backup/comandos_backup.h"

#include "backup/modBackup.h"
#include "core/modMsgBox.h"
#include "core/principal.h"
#include "core/programa.h"
#include "core/sessao.h"
#include "platform/unidade_a.h"

#include <QDir>

#include <algorithm>
#include <optional>

namespace {

// The reminder timer stays off while the database file is read or replaced, and is on again
// afterwards whatever the outcome.
class ChecagemSuspensa {
public:
    explicit ChecagemSuspensa(JanelaPrincipal &principal) : principal(principal) { principal.AtivarChecagem(false); }
    ~ChecagemSuspensa() { principal.AtivarChecagem(true); }
    ChecagemSuspensa(const ChecagemSuspensa &) = delete;
    ChecagemSuspensa &operator=(const ChecagemSuspensa &) = delete;

private:
    JanelaPrincipal &principal;
};

// What both restores ask first: a medium whose first file is a backup, and the user's yes.
// The backup file's path, or none once the user was told why not.
std::optional<QString> backupConfirmado()
{
    const std::optional<QString> pasta = unidade_a::Pasta();
    if (!pasta) {
        Mensagem(QStringLiteral("Insira um Disquete no Drive A:"), 1, 3);
        return std::nullopt;
    }
    const QStringList nomes = unidade_a::Listar(*pasta);
    if (nomes.isEmpty() || nomes.first() != ArquivoBackup) {
        Mensagem(QStringLiteral("Disquete não contém Backup da Velora!"), 1, 3);
        return std::nullopt;
    }
    if (!Mensagem(QStringLiteral("Você Confirma Restaução do Backup?"), 0, 1))
        return std::nullopt;
    return QDir(*pasta).filePath(ArquivoBackup);
}

// The restore under the hourglass; false once a failure was reported.
bool restaurar(const QString &backup)
{
    qint32 erro;
    {
        tk::EsperaNaTela espera;
        erro = RestaurarBackup(backup);
    }
    if (erro != 0)
        Mensagem(QStringLiteral("Impossível Efetuar Restauração (") + QString::number(erro) + QStringLiteral(")!"), 1, 3);
    return erro == 0;
}

} // namespace

void frmAgenda_cmdBackup_Click(JanelaPrincipal &principal)
{
    principal.RetirarFoco();
    if (Sessao.NovoUsuario) {
        principal.AvisarCadastroPendente();
        return;
    }
    const std::optional<QString> pasta = unidade_a::Pasta();
    if (!pasta) {
        Mensagem(QStringLiteral("Insira um Disquete em Branco no Drive A:"), 1, 3);
        return;
    }
    // An old backup alone is replaced; anything else on the medium stays untouched.
    const QStringList nomes = unidade_a::Listar(*pasta);
    if (std::any_of(nomes.begin(), nomes.end(), [](const QString &n) { return n != ArquivoBackup; })) {
        Mensagem(QStringLiteral("Limpe o Disquete para efetuar Backup!"), 1, 3);
        return;
    }
    ChecagemSuspensa checagem(principal);
    qint32 erro;
    {
        tk::EsperaNaTela espera;
        erro = FazerBackup(QDir(*pasta).filePath(ArquivoBackup));
    }
    if (erro != 0)
        Mensagem(QStringLiteral("Impossível Efetuar Backup (") + QString::number(erro) + QStringLiteral(")!"), 1, 3);
    else
        Mensagem(QStringLiteral("Backup Realizado com Sucesso!"), 1, 0);
}

void frmAgenda_cmdRestore_Click(JanelaPrincipal &principal)
{
    principal.RetirarFoco();
    if (Sessao.NovoUsuario) {
        principal.AvisarCadastroPendente();
        return;
    }
    const std::optional<QString> backup = backupConfirmado();
    if (!backup)
        return;
    {
        ChecagemSuspensa checagem(principal);
        if (!restaurar(*backup))
            return;
        Mensagem(QStringLiteral("  Restauração Realizada com Sucesso!  \r\n    É Necessário Logar Novamente!"), 1, 0);
    }
    // Everyone signs on again against the restored data.
    if (!principal.RecomecarComDadosRestaurados())
        programa::Encerrar();
}

bool frmLogon_RestaurarBackup()
{
    const std::optional<QString> backup = backupConfirmado();
    if (!backup || !restaurar(*backup))
        return false;
    Mensagem(QStringLiteral("  Restauração Realizada com Sucesso! "), 1, 0);
    Sessao.DadosRestaurados = true;
    return true;
}
