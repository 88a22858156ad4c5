#include "dados/comandos_dados.h"

#include "core/modDb.h"
#include "core/modSenha.h"
#include "core/sessao.h"
#include "dados/modCsv.h"
#include "dados/modICal.h"
#include "dados/modVCard.h"

#include <QFile>
#include <QSaveFile>

namespace {

const QStringList comandos{QStringLiteral("--exportar-ics"), QStringLiteral("--importar-ics"), QStringLiteral("--exportar-vcf"),
                           QStringLiteral("--importar-vcf"), QStringLiteral("--exportar-csv")};

void Escrever(FILE *f, const QString &texto)
{
    std::fputs((texto + u'\n').toLocal8Bit().constData(), f);
}

// Signs the named user on for the command: the session's key and the preferences an import
// uses. "" when signed on, else why not.
QString Entrar(const QString &login, FILE *entrada)
{
    RecordSet rs = Consultar(QStringLiteral("Select * from Usuarios Where Login = '") + SqlTexto(login.toUpper()) + QStringLiteral("'"));
    if (rs.Eof())
        return QStringLiteral("Usuário não cadastrado: ") + login;
    if (!rs(QStringLiteral("Senha")).IsNull()) {
        char linha[256] = {};
        const QString digitada = std::fgets(linha, sizeof linha, entrada) ? QString::fromLocal8Bit(linha).remove(u'\n').remove(u'\r') : QString();
        if (!SenhaConfere(SenhaDigitada(digitada), rs(QStringLiteral("Senha")).Texto()))
            return QStringLiteral("Senha não confere !");
    }
    Sessao.Codigo = rs(QStringLiteral("Codigo")).Inteiro();
    Sessao.Login = rs(QStringLiteral("Login")).Texto();
    RecordSet cfg = Consultar(QStringLiteral("Select * from Configuracao Where Usuario = ") + QString::number(Sessao.Codigo));
    Sessao.InicioGrade = cfg(QStringLiteral("InicioGrade")).Hora();
    Sessao.Intervalos = int(cfg(QStringLiteral("Intervalos")).Inteiro());
    return QString();
}

// The file's bytes, refused before reading when it is larger than any import takes.
std::optional<QByteArray> Ler(const QString &arquivo, QString &erro)
{
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly)) {
        erro = QStringLiteral("Não foi possível abrir ") + arquivo + QStringLiteral(": ") + f.errorString();
        return std::nullopt;
    }
    if (f.size() > TamanhoMaximoArquivo) {
        erro = QStringLiteral("Nada foi importado: o arquivo passa de %1 MB.").arg(TamanhoMaximoArquivo / (1024 * 1024));
        return std::nullopt;
    }
    return f.readAll();
}

QString Gravar(const QString &arquivo, const QByteArray &dados)
{
    QSaveFile f(arquivo);
    if (!f.open(QIODevice::WriteOnly) || f.write(dados) != dados.size() || !f.commit())
        return QStringLiteral("Não foi possível gravar ") + arquivo + QStringLiteral(": ") + f.errorString();
    return QString();
}

} // namespace

bool ComandoDeDados(const QStringList &argumentos)
{
    for (const QString &a : argumentos)
        if (comandos.contains(a))
            return true;
    return false;
}

int ExecutarComandoDeDados(const QStringList &a, FILE *entrada, FILE *saida, FILE *erro)
{
    QString login, comando, arquivo, destino;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i] == u"--usuario" && i + 1 < a.size())
            login = a[++i];
        else if (comandos.contains(a[i]) && comando.isEmpty() && i + 1 < a.size())
            comando = a[i], arquivo = a[++i];
        else if (comando == u"--exportar-csv" && destino.isEmpty())
            destino = a[i];
        else {
            Escrever(erro, QStringLiteral("Argumento inesperado: ") + a[i]);
            return 2;
        }
    }
    if (login.isEmpty() || comando.isEmpty()) {
        Escrever(erro, QStringLiteral("Uso: velora --usuario LOGIN --exportar-ics|--importar-ics|--exportar-vcf|--importar-vcf ARQUIVO\n"
                                      "     velora --usuario LOGIN --exportar-csv ANO-MES [ARQUIVO]"));
        return 2;
    }
    if (const QString falha = modDb::PrepararPastaDados(); !falha.isEmpty()) {
        Escrever(erro, falha);
        return 1;
    }
    try {
        if (const QString falha = Entrar(login, entrada); !falha.isEmpty()) {
            Escrever(erro, falha);
            return 1;
        }
        QString falha;
        if (comando.startsWith(QLatin1String("--importar"))) {
            const std::optional<QByteArray> conteudo = Ler(arquivo, falha);
            if (conteudo) {
                const bool ics = comando == u"--importar-ics";
                const ResultadoImportacao r = ics ? ImportarICal(*conteudo) : ImportarVCard(*conteudo);
                const QString texto = r.Texto(ics ? QStringLiteral("eventos") : QStringLiteral("contatos"));
                if (r.erro.isEmpty())
                    Escrever(saida, texto);
                else
                    falha = texto;
            }
        } else if (comando == u"--exportar-csv") {
            const QStringList partes = arquivo.split(u'-');
            bool anoOk = false, mesOk = false;
            const int ano = partes.value(0).toInt(&anoOk), mes = partes.value(1).toInt(&mesOk);
            if (partes.size() != 2 || !anoOk || !mesOk || mes < 1 || mes > 12) {
                falha = QStringLiteral("Mês inválido (use ANO-MES, como 2026-12): ") + arquivo;
            } else if (destino.isEmpty()) {
                const QByteArray csv = ExportarCsv(mes, ano);
                std::fwrite(csv.constData(), 1, size_t(csv.size()), saida);
            } else {
                falha = Gravar(destino, ExportarCsv(mes, ano));
            }
        } else {
            falha = Gravar(arquivo, comando == u"--exportar-ics" ? ExportarICal() : ExportarVCard());
        }
        if (!falha.isEmpty()) {
            Escrever(erro, falha);
            return 1;
        }
    } catch (const ErroBanco &e) {
        Escrever(erro, QStringLiteral("Erro no arquivo de dados: ") + QString::fromUtf8(e.what()));
        return 1;
    }
    return 0;
}
