#include "tasks/painel_notas.h"

#include "core/modEntrada.h"
#include "core/modMsgBox.h"
#include "core/sessao.h"
#include "tasks/modNotas.h"

PainelNotas::PainelNotas(QWidget *parent, Navegacao &nav) : tk::Moldura(parent), nav(nav)
{
    // No length limit and no key filter: the text reaches the file only through SqlTexto.
    txtNotas = new tk::CaixaTextoMultilinha(this, 0);
    txtNotas->setGeometry(0, 0, 390, 380);
    txtNotas->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    cmdNotasSalvar = new tk::Botao(this, QStringLiteral("&Salvar Anotações"));
    cmdNotasSalvar->setGeometry(0, 388, 160, 26);
    cmdNotasLimpar = new tk::Botao(this, QStringLiteral("&Limpar Anotações"));
    cmdNotasLimpar->setGeometry(166, 388, 160, 26);

    cmdNotasSalvar->Click = [this] { frmAgenda_cmdNotasSalvar_Click(); };
    cmdNotasLimpar->Click = [this] { frmAgenda_cmdNotasLimpar_Click(); };
}

void PainelNotas::frmAgenda_cmdNotasSalvar_Click()
{
    nav.RetirarFoco();
    tk::EsperaNaTela espera;
    const QString texto = txtNotas->text();
    if (AparaEspacos(texto).isEmpty())
        LimparNota(Sessao.ChaveNota);
    else
        GravarNota(Sessao.ChaveNota, texto);
}

void PainelNotas::frmAgenda_cmdNotasLimpar_Click()
{
    nav.RetirarFoco();
    if (!Mensagem(QStringLiteral("Você Confirma Limpeza das Anotações?"), 0, 1))
        return;
    tk::EsperaNaTela espera;
    LimparNota(Sessao.ChaveNota);
    txtNotas->setText(QString());
}

void PainelNotas::Limpar()
{
    txtNotas->setText(QString());
}

void PainelNotas::CarregarNota()
{
    const std::optional<Nota> nota = LerNota();
    if (!nota)
        return;
    Sessao.ChaveNota = nota->chave;
    if (nota->texto)
        txtNotas->setText(*nota->texto);
}
