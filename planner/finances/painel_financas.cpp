#include "finances/painel_financas.h"

#include "core/modDb.h"
#include "core/modEntrada.h"
#include "core/modMsgBox.h"
#include "core/sessao.h"
#include "platform/relogio.h"
#include "resources/recursos.h"

#include <QGroupBox>

namespace {

const QStringList meses = {
    QStringLiteral("  Janeiro"), QStringLiteral("  Fevereiro"), QStringLiteral("  Março"),    QStringLiteral("  Abril"),
    QStringLiteral("  Maio"),    QStringLiteral("  Junho"),     QStringLiteral("  Julho"),    QStringLiteral("  Agosto"),
    QStringLiteral("  Setembro"), QStringLiteral("  Outubro"),  QStringLiteral("  Novembro"), QStringLiteral("  Dezembro"),
};

// The grid's columns after the hidden key: header, width in twips, alignment.
const struct {
    const char *cabecalho;
    int largura;
    Qt::Alignment alinhamento;
} colunas[] = {
    {"", 250, Qt::AlignCenter},
    {"Data", 1100, Qt::AlignCenter},
    {" Descrição", 2150, Qt::AlignLeft | Qt::AlignVCenter},
    {"Recebido", 1050, Qt::AlignCenter},
    {"Pago", 1050, Qt::AlignCenter},
};
// Rows the grid shows without a scroll bar; past them the description makes room for one.
constexpr int LinhasVisiveis = 13;
constexpr int DescricaoComRolagem = 1850;

tk::Rotulo *rotulo(QWidget *pai, const QString &texto, int x, int y, int w, Qt::Alignment alinhamento = Qt::AlignLeft)
{
    auto *r = new tk::Rotulo(pai, texto, x, y, w);
    r->setAlignment(alinhamento | Qt::AlignVCenter);
    return r;
}

tk::CaixaTexto *caixaNumerica(QWidget *pai, int maximo)
{
    auto *c = new tk::CaixaTexto(pai, maximo);
    c->KeyPress = [](int k) { return FiltrarTecla(k, true); };
    return c;
}

// Amounts and balances: the locale's separator key types the decimal point.
tk::CaixaTexto *caixaDeValor(QWidget *pai, int maximo)
{
    auto *c = new tk::CaixaTexto(pai, maximo);
    c->KeyPress = [](int k) { return FiltrarTeclaValor(k, Sessao.SeparadorDecimal); };
    return c;
}

// A disabled box that only shows a value keeps the text readable.
void legivelDesabilitada(QWidget *caixa)
{
    QPalette p = caixa->palette();
    p.setColor(QPalette::Disabled, QPalette::Text, p.color(QPalette::Active, QPalette::Text));
    caixa->setPalette(p);
}

// A refused check: its message, and the focus to the box to mend.
void recusar(const char *texto, QWidget *foco)
{
    Mensagem(QString::fromUtf8(texto), 1, 3);
    foco->setFocus();
}

} // namespace

PainelFinancas::PainelFinancas(QWidget *parent, Navegacao &nav)
    : tk::Moldura(parent), nav(nav), imgExecutado(recursos::Figura(QStringLiteral("executado")))
{
    // The month chosen and its grid: out of reach while an entry is edited.
    frmFinancasGrade = new tk::Moldura(this);
    const int alturaDaGrade = (LinhasVisiveis + 1) * tk::Px(240) + 4;
    frmFinancasGrade->setGeometry(0, 0, 390, 32 + alturaDaGrade);
    cmbFinancasMes = new tk::CaixaCombinacao(frmFinancasGrade, meses);
    for (int i = 0; i < 12; ++i)
        cmbFinancasMes->setItemData(i, i + 1);
    cmbFinancasMes->setGeometry(0, 1, 130, 24);
    txtFinancasAno = caixaNumerica(frmFinancasGrade, 4);
    txtFinancasAno->setAlignment(Qt::AlignCenter);
    txtFinancasAno->setGeometry(136, 2, 52, 22);
    cmdFinancasExibirMes = new tk::Botao(frmFinancasGrade, QStringLiteral("&Exibir Mês"));
    cmdFinancasExibirMes->setGeometry(194, 0, 100, 26);
    grdFinancas = new tk::Grade(frmFinancasGrade);
    grdFinancas->setGeometry(0, 32, tk::Px(5600) + 4, alturaDaGrade);
    grdFinancas->DefinirCols(6);
    txtFinancasSemRegistro = new tk::CaixaTexto(frmFinancasGrade);
    txtFinancasSemRegistro->setText(QStringLiteral("Sem Movimento"));
    txtFinancasSemRegistro->setAlignment(Qt::AlignCenter);
    txtFinancasSemRegistro->setGeometry(grdFinancas->geometry().adjusted(1, tk::Px(240) + 1, -1, -1));
    txtFinancasSemRegistro->setEnabled(false);

    const int ySaldos = frmFinancasGrade->geometry().bottom() + 10;
    rotulo(this, QStringLiteral("Saldo Inicial do Mês :"), 0, ySaldos, 150, Qt::AlignRight);
    txtFinancasSaldoInicial = caixaDeValor(this, 11);
    txtFinancasSaldoInicial->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtFinancasSaldoInicial->setGeometry(154, ySaldos, 100, 21);
    cmdSaldoAnterior = new tk::BotaoFigura(this, recursos::Figura(QStringLiteral("saldo_anterior")),
                                           QStringLiteral("Importar o Saldo Atual do Mês Anterior"));
    cmdSaldoAnterior->move(258, ySaldos - 5);
    rotulo(this, QStringLiteral("Saldo Atual :"), 0, ySaldos + 28, 150, Qt::AlignRight);
    txtFinancasSaldoAtual = new tk::CaixaTexto(this);
    txtFinancasSaldoAtual->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtFinancasSaldoAtual->setGeometry(154, ySaldos + 28, 100, 21);
    txtFinancasSaldoAtual->setEnabled(false);
    legivelDesabilitada(txtFinancasSaldoAtual);
    cmdFinancasNovo = new tk::Botao(this, QStringLiteral("&Novo Lançamento"));
    cmdFinancasNovo->setGeometry(0, ySaldos + 64, 150, 26);

    // The entry panel, laid over the grid and the balances.
    frmFinancasDados = new QGroupBox(QStringLiteral("   Dados do Lançamento   "), this);
    frmFinancasDados->setGeometry(0, 32, 390, 330);
    frmFinancasDados->setAutoFillBackground(true);
    frmFinancasDados->hide();
    QWidget *d = frmFinancasDados;
    rotulo(d, QStringLiteral("Data :"), 10, 28, 50);
    txtFinancasData = new tk::CaixaTexto(d, 10);
    txtFinancasData->setAlignment(Qt::AlignCenter);
    txtFinancasData->setGeometry(64, 28, 96, 21);
    // Set only by the opening and by the calendar, so it always holds a date.
    txtFinancasData->setEnabled(false);
    legivelDesabilitada(txtFinancasData);
    cmdFinancasCalendario = new tk::BotaoFigura(d, recursos::Figura(QStringLiteral("calendario")), QStringLiteral("Exibir Calendário"));
    cmdFinancasCalendario->move(164, 24);
    rotulo(d, QStringLiteral("Descrição da Receita ou Despesa :"), 10, 58, 370);
    txtFinancasDescricao = new tk::CaixaTextoMultilinha(d, 255);
    txtFinancasDescricao->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtFinancasDescricao->setGeometry(10, 80, 370, 100);
    optFinancasReceita = new tk::BotaoOpcao(d, QStringLiteral("Recebido"));
    optFinancasReceita->setGeometry(10, 190, 96, 22);
    optFinancasDespesa = new tk::BotaoOpcao(d, QStringLiteral("Pago"));
    optFinancasDespesa->setGeometry(110, 190, 70, 22);
    rotulo(d, QStringLiteral("Valor :"), 190, 190, 60, Qt::AlignRight);
    txtFinancasValor = caixaDeValor(d, 11);
    txtFinancasValor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtFinancasValor->setGeometry(254, 190, 126, 21);
    chkFinancaRealizada = new tk::CaixaSelecao(d, QStringLiteral("Lançamento Efetuado"));
    chkFinancaRealizada->setGeometry(10, 220, 250, 22);
    cmdFinancasSalvar = new tk::Botao(d, QStringLiteral("&Salvar Lançamento"));
    cmdFinancasSalvar->setGeometry(10, 292, 150, 26);
    cmdFinancasExcluir = new tk::Botao(d, QStringLiteral("&Excluir Lançamento"));
    cmdFinancasExcluir->setGeometry(166, 292, 140, 26);
    cmdFinancasVoltar = new tk::Botao(d, QStringLiteral("&Voltar"));
    cmdFinancasVoltar->setGeometry(312, 292, 68, 26);
    calFinancas = new tk::Calendario(d);
    calFinancas->setGeometry(64, 52, 256, 190);
    calFinancas->hide();

    cmdFinancasExibirMes->Click = [this] { frmAgenda_cmdFinancasExibirMes_Click(); };
    cmdFinancasNovo->Click = [this] { frmAgenda_cmdFinancasNovo_Click(); };
    grdFinancas->DblClick = [this] { frmAgenda_grdFinancas_DblClick(); };
    cmdFinancasCalendario->Click = [this] { frmAgenda_cmdFinancasCalendario_Click(); };
    calFinancas->DateClick = [this] { frmAgenda_calFinancas_DateClick(); };
    cmdFinancasSalvar->Click = [this] { frmAgenda_cmdFinancasSalvar_Click(); };
    cmdFinancasExcluir->Click = [this] { frmAgenda_cmdFinancasExcluir_Click(); };
    cmdFinancasVoltar->Click = [this] { frmAgenda_cmdFinancasVoltar_Click(); };
    txtFinancasValor->LostFocus = [this] { frmAgenda_txtFinancasValor_LostFocus(); };
    txtFinancasSaldoInicial->LostFocus = [this] { frmAgenda_txtFinancasSaldoInicial_LostFocus(); };
    cmdSaldoAnterior->Click = [this] { frmAgenda_cmdSaldoAnterior_Click(); };
    txtFinancasDescricao->KeyPress = [](int k) { return k == 13 ? k : FiltrarTecla(k, false); };
}

void PainelFinancas::CarregarMes(int mes, int ano)
{
    tk::Grade &g = *grdFinancas;
    g.setUpdatesEnabled(false);
    g.DefinirRow(0);
    g.DefinirCol(0);
    g.DefinirRows(1);
    g.DefinirColWidth(0, 0);
    for (int c = 1; c <= 5; ++c) {
        const auto &coluna = colunas[c - 1];
        g.DefinirCol(c);
        g.DefinirColAlignment(c, coluna.alinhamento);
        g.DefinirCellFontBold(true);
        g.DefinirText(QString::fromUtf8(coluna.cabecalho));
        g.DefinirColWidth(c, coluna.largura);
    }
    mesExibido = LerMes(mes, ano);
    const QChar separador = Sessao.SeparadorDecimal;
    txtFinancasSaldoInicial->setText(FormatarValor(mesExibido.saldoInicial, separador));
    for (const LinhaLancamento &l : std::as_const(mesExibido.linhas))
        AdicionarLinhaLancamento(l);
    const bool vazio = mesExibido.linhas.isEmpty();
    if (mesExibido.linhas.size() > LinhasVisiveis)
        g.DefinirColWidth(3, DescricaoComRolagem);
    g.setEnabled(!vazio);
    txtFinancasSemRegistro->setVisible(vazio);
    txtFinancasSemRegistro->raise();
    txtFinancasSaldoAtual->setText(FormatarValor(mesExibido.saldoAtual, separador));
    g.DefinirCol(0);
    g.DefinirRow(0);
    g.setUpdatesEnabled(true);
}

void PainelFinancas::AdicionarLinhaLancamento(const LinhaLancamento &l)
{
    tk::Grade &g = *grdFinancas;
    g.DefinirRows(g.Rows() + 1);
    const int r = g.Rows() - 1;
    g.DefinirRow(r);
    g.DefinirTextMatrix(r, 0, QString::number(l.chave));
    g.DefinirCol(1);
    if (l.efetuado)
        g.DefinirCellPicture(imgExecutado);
    const QColor cor = l.recebido > 0 ? QColor(0, 0, 255) : QColor(255, 0, 0);
    const auto valor = [&](int coluna, qint64 centavos) {
        g.DefinirCol(coluna);
        g.DefinirCellForeColor(cor);
        if (centavos > 0) {
            g.DefinirCellAlignment(Qt::AlignRight | Qt::AlignVCenter);
            g.DefinirText(FormatarValor(centavos, Sessao.SeparadorDecimal));
        }
    };
    g.DefinirCol(2);
    g.DefinirCellForeColor(cor);
    g.DefinirText(TextoDaData(l.data));
    g.DefinirCol(3);
    g.DefinirCellForeColor(cor);
    g.DefinirText(QStringLiteral("  ") + l.descricao);
    valor(4, l.recebido);
    valor(5, l.pago);
}

void PainelFinancas::Abrir()
{
    if (Sessao.MesFinancas == 0) {
        const QDate hoje = relogio::Hoje();
        Sessao.MesFinancas = hoje.month();
        Sessao.AnoFinancas = hoje.year();
        cmbFinancasMes->setCurrentIndex(hoje.month() - 1);
        txtFinancasAno->setText(QString::number(hoje.year()));
    }
    CarregarMes(Sessao.MesFinancas, Sessao.AnoFinancas);
}

void PainelFinancas::Limpar()
{
    fecharDados();
    calFinancas->hide();
    txtFinancasData->clear();
    txtFinancasDescricao->setText(QString());
    txtFinancasValor->clear();
    aberto = {};
    mesExibido = {};
    grdFinancas->DefinirRows(1);
    txtFinancasSaldoInicial->clear();
    txtFinancasSaldoAtual->clear();
    txtFinancasAno->clear();
    cmbFinancasMes->setCurrentIndex(0);
}

void PainelFinancas::frmAgenda_cmdFinancasExibirMes_Click()
{
    nav.RetirarFoco();
    if (txtFinancasAno->text().trimmed().isEmpty()) {
        recusar("Informe o Ano!", txtFinancasAno);
        return;
    }
    const auto ano = LerAno(txtFinancasAno->text(), Sessao.SeparadorDecimal);
    if (!ano || *ano < 1950 || *ano > 2099) {
        recusar("Informe um Ano Válido!", txtFinancasAno);
        return;
    }
    {
        tk::EsperaNaTela espera;
        Sessao.MesFinancas = cmbFinancasMes->currentData().toInt();
        Sessao.AnoFinancas = *ano;
        CarregarMes(Sessao.MesFinancas, Sessao.AnoFinancas);
    }
    nav.RetirarFoco();
}

// Into editing: the entry panel in front, the grid out of reach, no printing.
void PainelFinancas::abrirDados()
{
    nav.MostrarImpressora(false);
    calFinancas->hide();
    frmFinancasGrade->setEnabled(false);
    frmFinancasDados->raise();
    frmFinancasDados->show();
    txtFinancasDescricao->setFocus();
}

// Back to browsing.
void PainelFinancas::fecharDados()
{
    frmFinancasDados->hide();
    frmFinancasGrade->setEnabled(true);
}

void PainelFinancas::frmAgenda_cmdFinancasNovo_Click()
{
    nav.RetirarFoco();
    Sessao.ChaveLancamento = 0;
    chkFinancaRealizada->setChecked(true);
    txtFinancasData->setText(TextoDaData(DataDoNovoLancamento(relogio::Hoje(), Sessao.MesFinancas, Sessao.AnoFinancas)));
    txtFinancasDescricao->setText(QString());
    optFinancasReceita->setChecked(true);
    txtFinancasValor->setText(FormatarValor(0, Sessao.SeparadorDecimal));
    cmdFinancasExcluir->hide();
    abrirDados();
}

void PainelFinancas::frmAgenda_grdFinancas_DblClick()
{
    if (grdFinancas->MouseRow() > 0)
        AbrirLinha(grdFinancas->MouseRow());
}

void PainelFinancas::AbrirLinha(int linha)
{
    // The entry as read, so one with a negative amount opens with its own kind and amount.
    const LinhaLancamento &l = mesExibido.linhas.at(linha - 1);
    aberto = l;
    Sessao.ChaveLancamento = l.chave;
    chkFinancaRealizada->setChecked(l.efetuado);
    txtFinancasData->setText(TextoDaData(l.data));
    txtFinancasDescricao->setText(l.descricao.trimmed());
    const bool receita = l.recebido != 0;
    (receita ? optFinancasReceita : optFinancasDespesa)->setChecked(true);
    const qint64 valor = receita ? l.recebido : l.pago;
    txtFinancasValor->setText(valor != 0 ? FormatarValor(valor, Sessao.SeparadorDecimal) : QString());
    cmdFinancasExcluir->show();
    abrirDados();
}

void PainelFinancas::frmAgenda_cmdFinancasCalendario_Click()
{
    calFinancas->DefinirValue(DataDoTexto(txtFinancasData->text()));
    calFinancas->raise();
    calFinancas->show();
    nav.RetirarFoco();
}

void PainelFinancas::frmAgenda_calFinancas_DateClick()
{
    calFinancas->hide();
    txtFinancasData->setText(TextoDaData(calFinancas->Value()));
}

void PainelFinancas::frmAgenda_cmdFinancasSalvar_Click()
{
    nav.RetirarFoco();
    if (txtFinancasDescricao->text().trimmed().isEmpty()) {
        recusar("Informe uma Descrição para o Lançamento!", txtFinancasDescricao);
        return;
    }
    // An empty box, zero or a text that is no number.
    const auto valor = LerValor(txtFinancasValor->text(), Sessao.SeparadorDecimal);
    if (!valor || *valor == 0) {
        recusar("Informe um Valor para o Lançamento!", txtFinancasValor);
        return;
    }
    Gravacao gravacao = Gravacao::Gravada;
    {
        tk::EsperaNaTela espera;
        // A failed write leaves the entry panel open with what was typed.
        const QDate data = DataDoTexto(txtFinancasData->text());
        const int tipo = optFinancasReceita->isChecked() ? 0 : 1;
        if (Sessao.ChaveLancamento == 0)
            GravarLancamento(0, data, txtFinancasDescricao->text(), tipo, *valor, chkFinancaRealizada->isChecked());
        else
            gravacao = AlterarLancamento(aberto, data, txtFinancasDescricao->text(), tipo, *valor, chkFinancaRealizada->isChecked());
        nav.MostrarImpressora(true);
        // Always the shown month again: an entry moved to another month leaves it.
        CarregarMes(Sessao.MesFinancas, Sessao.AnoFinancas);
        fecharDados();
    }
    if (gravacao == Gravacao::Excluida)
        Mensagem(QStringLiteral("Esse Lançamento não Existe Mais, foi Excluído!"), 1, 2);
    else if (gravacao == Gravacao::Alterada)
        Mensagem(QStringLiteral("Esse Lançamento foi Alterado depois de Aberto, nada foi Gravado! Abra-o Novamente."), 1, 2);
    nav.RetirarFoco();
}

void PainelFinancas::frmAgenda_cmdFinancasExcluir_Click()
{
    nav.RetirarFoco();
    if (!Mensagem(QStringLiteral("Você Confirma Exclusão desse Lançamento?"), 0, 1)) {
        nav.RetirarFoco();
        return;
    }
    tk::EsperaNaTela espera;
    ExcluirLancamento(Sessao.ChaveLancamento);
    nav.MostrarImpressora(true);
    CarregarMes(Sessao.MesFinancas, Sessao.AnoFinancas);
    fecharDados();
}

void PainelFinancas::frmAgenda_cmdFinancasVoltar_Click()
{
    fecharDados();
    nav.MostrarImpressora(true);
    nav.RetirarFoco();
}

void PainelFinancas::frmAgenda_txtFinancasValor_LostFocus()
{
    txtFinancasValor->setText(FormatarDigitado(txtFinancasValor->text(), Sessao.SeparadorDecimal));
}

void PainelFinancas::frmAgenda_txtFinancasSaldoInicial_LostFocus()
{
    // Nothing shown since the sign-on (or after a logout): there is no month to store into.
    if (Sessao.MesFinancas == 0)
        return;
    const QChar separador = Sessao.SeparadorDecimal;
    const QString texto = txtFinancasSaldoInicial->text();
    const auto saldo = texto.trimmed().isEmpty() ? std::optional<qint64>(0) : LerValor(texto, separador);
    if (!saldo) {
        Mensagem(QStringLiteral("Informe um Valor Válido para o Saldo Inicial!"), 1, 3);
        txtFinancasSaldoInicial->setText(FormatarValor(mesExibido.saldoInicial, separador));
        return;
    }
    txtFinancasSaldoInicial->setText(FormatarValor(*saldo, separador));
    tk::EsperaNaTela espera;
    GravarSaldoInicial(*saldo, Sessao.MesFinancas, Sessao.AnoFinancas);
    CarregarMes(Sessao.MesFinancas, Sessao.AnoFinancas);
}

void PainelFinancas::frmAgenda_cmdSaldoAnterior_Click()
{
    nav.RetirarFoco();
    tk::EsperaNaTela espera;
    const qint64 saldo = SaldoImportado(Sessao.MesFinancas, Sessao.AnoFinancas);
    txtFinancasSaldoInicial->setText(FormatarValor(saldo, Sessao.SeparadorDecimal));
    GravarSaldoInicial(saldo, Sessao.MesFinancas, Sessao.AnoFinancas);
    CarregarMes(Sessao.MesFinancas, Sessao.AnoFinancas);
}
