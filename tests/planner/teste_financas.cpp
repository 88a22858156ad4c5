// The ledger: typed amounts, the month with its balances on a real file, and the finances panel
// under a comma and a point locale.

#include "apoio.h"
#include "core/frmAgenda.h"
#include "core/modDb.h"
#include "core/sessao.h"
#include "finances/modFinancas.h"
#include "finances/painel_financas.h"
#include "platform/bandeja.h"
#include "platform/localidade.h"
#include "platform/modal.h"
#include "platform/relogio.h"

#include <QGroupBox>
#include <QTest>

#include <gtest/gtest.h>

TEST(ValorDigitado, LidoEFormatadoNaLocalidade)
{
    const struct {
        const char *texto;
        char separador;
        std::optional<qint64> centavos;
        const char *mostrado;  // once the box is left
    } casos[] = {
        {"0,50", ',', 50, "0,50"},
        {"0.50", ',', 50, "0,50"},  // the decimal point is typed as "."
        {"0,50", '.', std::nullopt, "0,50"},
        {"1234.5", ',', 123450, "1234,50"},
        {"1234.5", '.', 123450, "1234.50"},
        {" 7 ", '.', 700, "7.00"},
        {"5.", ',', 500, "5,00"},
        {".5", ',', 50, "0,50"},
        {"12,345", ',', 1235, "12,35"},
        {"-12,344", ',', -1234, "-12,34"},
        {"-5", '.', -500, "-5.00"},
        {"-0,004", ',', 0, "0,00"},  // never "-0,00"
        {"9999999999999.99", '.', 999999999999999, "9999999999999.99"},
        {"99999999999999", '.', std::nullopt, "99999999999999"},
        {"1.234,50", ',', std::nullopt, "1.234,50"},
        {"1,234.50", '.', std::nullopt, "1,234.50"},
        {"1.2.3", ',', std::nullopt, "1.2.3"},
        {"-", ',', std::nullopt, "-"},
        {".", '.', std::nullopt, "."},
        {"+5", '.', std::nullopt, "+5"},
        {"1e3", '.', std::nullopt, "1e3"},
        {"12a", ',', std::nullopt, "12a"},
        {"", ',', std::nullopt, ""},
        {"  ", ',', std::nullopt, "  "},
    };
    for (const auto &c : casos) {
        const QString texto = QString::fromLatin1(c.texto);
        EXPECT_EQ(LerValor(texto, QLatin1Char(c.separador)), c.centavos) << c.texto << " " << c.separador;
        EXPECT_EQ(FormatarDigitado(texto, QLatin1Char(c.separador)).toStdString(), c.mostrado) << c.texto << " " << c.separador;
    }
    const struct {
        const char *texto;
        std::optional<int> ano;
    } anos[] = {{"2004.7", 2004}, {"2004,9", 2004}, {"20.04", 20}, {"1950", 1950}, {"-1", -1}, {"-", std::nullopt}, {"", std::nullopt}};
    for (const auto &a : anos)
        EXPECT_EQ(LerAno(QString::fromLatin1(a.texto), u','), a.ano) << a.texto;
}

TEST(NovoLancamento, DiaDeHojeNoMesMostrado)
{
    EXPECT_EQ(DataDoNovoLancamento(QDate(2026, 1, 31), 2, 2024), QDate(2024, 2, 29));
    EXPECT_EQ(DataDoNovoLancamento(QDate(2026, 1, 31), 2, 2026), QDate(2026, 2, 28));
    EXPECT_EQ(DataDoNovoLancamento(QDate(2026, 1, 31), 4, 2026), QDate(2026, 4, 30));
    EXPECT_EQ(DataDoNovoLancamento(QDate(2026, 3, 15), 12, 1950), QDate(1950, 12, 15));
}

namespace {

struct Financas : ::testing::Test {
    BaseDeTeste base;
    qint64 eu = 0, outro = 0;
    QStringList erros;
    void SetUp() override
    {
        bandeja::DefinirDisponivel(true);
        relogio::DefinirAgora(QDateTime(QDate(2026, 1, 31), QTime(10, 0)));
        eu = base.InserirUsuario(QStringLiteral("EU"), std::nullopt);
        outro = base.InserirUsuario(QStringLiteral("OUTRO"), std::nullopt);
        Sessao.Codigo = eu;
    }
    void TearDown() override { EXPECT_EQ(modal::RoteirosPendentes(), 0); }
    // An entry written straight into the file; amounts as SQL numbers or NULL.
    void entrada(const char *data, const char *descricao, const char *recebido, const char *pago, const char *efetuado, qint64 usuario = 0)
    {
        base.Executar(QStringLiteral("Insert into Financas(Usuario,Data,Descricao,Recebido,Pago,Efetuado) values (%1,'%2','%3',%4,%5,'%6')")
                          .arg(usuario ? usuario : eu)
                          .arg(QLatin1String(data), QString::fromUtf8(descricao), QLatin1String(recebido), QLatin1String(pago),
                               QLatin1String(efetuado)));
    }
    QString saldo(int ano, int mes, qint64 usuario = 0)
    {
        return base.Valor(QStringLiteral("Select M%1 from Saldos Where Usuario = %2 and Ano = %3").arg(mes).arg(usuario ? usuario : eu).arg(ano));
    }
    // Every entry as "data|descricao|recebido|pago|efetuado", in key order.
    QString entradas()
    {
        return base.Valor(QStringLiteral("Select group_concat(Data||'|'||Descricao||'|'||ifnull(Recebido,'-')||'|'||ifnull(Pago,'-')||'|'||Efetuado, ' ; ') "
                                         "from (Select * from Financas Order By Chave)"));
    }
};

QStringList resumo(const MesFinanceiro &m)
{
    QStringList s;
    for (const LinhaLancamento &l : m.linhas)
        s << QStringLiteral("%1 %2 %3 %4 %5").arg(l.data.toString(Qt::ISODate), l.descricao).arg(l.recebido).arg(l.pago).arg(l.efetuado);
    return s;
}

} // namespace

TEST_F(Financas, MesLidoComSaldoEmCentavos)
{
    EXPECT_EQ(LerMes(1, 2026).saldoAtual, 0);  // no Saldos row
    base.Executar(QStringLiteral("Insert into Saldos(Usuario,Ano,M1,M2) values (%1,2026,100.1,NULL)").arg(eu));
    base.Executar(QStringLiteral("Insert into Saldos(Usuario,Ano,M1) values (%1,2026,999)").arg(outro));
    entrada("2026-01-10", "b", "0.1", "NULL", "S");
    entrada("2026-01-05", "a", "0.2", "NULL", "S");
    entrada("2026-01-10", "c", "NULL", "0.3", "S");
    entrada("2026-01-11", "planejado", "NULL", "50", "N");
    entrada("2026-01-12", "negativo", "-7", "NULL", "S");
    entrada("2026-01-12", "zero", "0", "NULL", "S");
    entrada("2025-12-31", "antes", "1", "NULL", "S");
    entrada("2026-02-01", "depois", "1", "NULL", "S");
    entrada("2026-01-20", "de outro", "1", "NULL", "S", outro);

    const MesFinanceiro m = LerMes(1, 2026);
    EXPECT_EQ(resumo(m), (QStringList{"2026-01-05 a 20 0 1", "2026-01-10 b 10 0 1", "2026-01-10 c 0 30 1", "2026-01-11 planejado 0 5000 0",
                                      "2026-01-12 negativo -700 0 1", "2026-01-12 zero 0 0 1"}));
    EXPECT_EQ(m.saldoInicial, 10010);
    EXPECT_EQ(m.saldoAtual, 10010);  // 0.1 + 0.2 - 0.3 exactly; planned, negative and zero left out
    EXPECT_EQ(LerMes(2, 2026).saldoInicial, 0);  // NULL month
    EXPECT_EQ(LerMes(2, 2026).saldoAtual, 100);
}

TEST_F(Financas, SaldoInicialAtualizaOuInsereUmaLinhaPorAno)
{
    EXPECT_EQ(GravarSaldoInicial(150075, 3, 2026), 1);
    EXPECT_EQ(saldo(2026, 3), QStringLiteral("1500.75"));
    EXPECT_EQ(saldo(2026, 4), QStringLiteral("0.0"));  // the column default
    EXPECT_EQ(GravarSaldoInicial(-5, 4, 2026), 1);
    EXPECT_EQ(GravarSaldoInicial(0, 3, 2026), 1);
    EXPECT_EQ(GravarSaldoInicial(100, 12, 2027), 1);
    EXPECT_EQ(base.Valor(QStringLiteral("Select group_concat(Ano||':'||M3||':'||M4||':'||M12) from Saldos")),
              QStringLiteral("2026:0.0:-0.05:0.0,2027:0.0:0.0:1.0"));

    // Nobody signed on, or no month: nothing is written.
    const QString antes = base.Valor(QStringLiteral("Select count(*)||group_concat(M1) from Saldos"));
    for (int mes : {0, 13})
        EXPECT_EQ(GravarSaldoInicial(100, mes, 2026), 0);
    Sessao.Codigo = 0;
    EXPECT_EQ(GravarSaldoInicial(100, 1, 2030), 0);
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*)||group_concat(M1) from Saldos")), antes);

    // A failed update never falls through to an insert.
    Sessao.Codigo = eu;
    base.Executar(QStringLiteral("Create Trigger falha Before Update On Saldos Begin Select raise(ABORT, 'falha'); End"));
    EXPECT_THROW(GravarSaldoInicial(100, 1, 2026), ErroBanco);
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Saldos Where Ano = 2026")), QStringLiteral("1"));
}

TEST_F(Financas, ImportaOMesAnteriorComTodasAsEntradas)
{
    EXPECT_EQ(SaldoImportado(1, 2026), 0);  // no row and no entries
    base.Executar(QStringLiteral("Insert into Saldos(Usuario,Ano,M12,M1) values (%1,2025,100,7)").arg(eu));
    entrada("2025-12-03", "recebido", "50", "NULL", "S");
    entrada("2025-12-31", "planejado", "NULL", "30", "N");
    entrada("2025-12-15", "negativo", "-0.01", "NULL", "S");
    entrada("2025-11-30", "antes", "1000", "NULL", "S");
    entrada("2026-01-01", "depois", "1000", "NULL", "S");
    entrada("2025-12-10", "de outro", "1000", "NULL", "S", outro);
    EXPECT_EQ(LerMes(12, 2025).saldoAtual, 15000);
    EXPECT_EQ(SaldoImportado(1, 2026), 11999);  // January reads December of the year before
    EXPECT_EQ(SaldoImportado(2, 2025), 700);
}

TEST_F(Financas, GravarEExcluirLancamento)
{
    GravarLancamento(0, QDate(2026, 1, 5), QStringLiteral("  d'Ávila  "), 0, 123450, true);
    GravarLancamento(0, QDate(2026, 1, 6), QStringLiteral("aluguel"), 1, 5, false);
    EXPECT_EQ(entradas(), QStringLiteral("2026-01-05|  d'Ávila  |1234.5|-|S ; 2026-01-06|aluguel|-|0.05|N"));
    const qint64 primeira = base.Valor(QStringLiteral("Select min(Chave) from Financas")).toLongLong();
    GravarLancamento(primeira, QDate(2026, 2, 1), QStringLiteral("  d'Ávila  "), 1, 99, false);
    EXPECT_EQ(entradas(), QStringLiteral("2026-02-01|d'Ávila|-|0.99|N ; 2026-01-06|aluguel|-|0.05|N"));
    GravarLancamento(primeira, QDate(2026, 2, 1), QStringLiteral("x"), 0, 1, true);
    EXPECT_EQ(entradas(), QStringLiteral("2026-02-01|x|0.01|-|S ; 2026-01-06|aluguel|-|0.05|N"));

    // Another user's entry is neither changed nor deleted through its key.
    entrada("2026-01-07", "alheio", "1", "NULL", "S", outro);
    const qint64 alheia = base.Valor(QStringLiteral("Select Chave from Financas Where Usuario = %1").arg(outro)).toLongLong();
    GravarLancamento(alheia, QDate(2026, 1, 8), QStringLiteral("meu"), 1, 1, false);
    ExcluirLancamento(alheia);
    ExcluirLancamento(primeira);
    EXPECT_EQ(entradas(), QStringLiteral("2026-01-06|aluguel|-|0.05|N ; 2026-01-07|alheio|1.0|-|S"));
}

namespace {

// The panel, under a comma (true) or a point (false) locale.
struct Painel : Financas, ::testing::WithParamInterface<bool> {
    void SetUp() override
    {
        Financas::SetUp();
        localidade::Definir(GetParam() ? QLocale(QLocale::Portuguese, QLocale::Brazil) : QLocale(QLocale::English, QLocale::UnitedStates));
    }
    // An amount written with a comma, as the locale shows it.
    static QString v(const char *texto)
    {
        return QString::fromLatin1(texto).replace(u',', Sessao.SeparadorDecimal);
    }
    PainelFinancas &abrir()
    {
        Entrar(QStringLiteral("EU"));
        frmAgenda().frmAgenda_imgFinancas_Click();
        return *frmAgenda().frmFinancas;
    }
    // Each data row as "picture|date|description|received|paid|colour".
    QStringList grade()
    {
        tk::Grade &g = *frmAgenda().frmFinancas->grdFinancas;
        QStringList linhas;
        for (int r = 1; r < g.Rows(); ++r) {
            g.DefinirRow(r);
            g.DefinirCol(1);
            QString l = g.CellPicture().isNull() ? QStringLiteral("-") : QStringLiteral("S");
            for (int c = 2; c <= 5; ++c)
                l += u'|' + g.TextMatrix(r, c);
            const QColor cor = g.item(r - 1, 2)->foreground().color();
            l += cor == QColor(0, 0, 255) ? QStringLiteral("|azul") : cor == QColor(255, 0, 0) ? QStringLiteral("|vermelho") : QStringLiteral("|?");
            linhas << l;
        }
        return linhas;
    }
    // Shows the main window and makes it the active one, so focus changes send their events.
    void ativar()
    {
        frmAgenda().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frmAgenda()));
    }
};

INSTANTIATE_TEST_SUITE_P(Localidades, Painel, ::testing::Values(true, false),
                         [](const auto &info) { return info.param ? "Virgula" : "Ponto"; });

} // namespace

TEST_P(Painel, PrimeiraAberturaMostraOMesAtual)
{
    base.Executar(QStringLiteral("Insert into Saldos(Usuario,Ano,M1) values (%1,2026,1000.5)").arg(eu));
    entrada("2026-01-05", "Salário", "2500", "NULL", "S");
    entrada("2026-01-07", "Aluguel", "NULL", "800.25", "S");
    entrada("2026-01-09", "Luz", "NULL", "95.1", "N");
    entrada("2026-01-09", "Estorno", "-10", "NULL", "S");
    PainelFinancas &p = abrir();
    EXPECT_EQ(p.cmbFinancasMes->currentIndex(), 0);
    EXPECT_EQ(p.cmbFinancasMes->currentText(), QStringLiteral("  Janeiro"));
    EXPECT_EQ(p.txtFinancasAno->text(), QStringLiteral("2026"));
    EXPECT_EQ(grade(), (QStringList{"S|05/01/2026|  Salário|" + v("2500,00") + "||azul", "S|07/01/2026|  Aluguel||" + v("800,25") + "|vermelho",
                                    "-|09/01/2026|  Luz||" + v("95,10") + "|vermelho", "S|09/01/2026|  Estorno|||vermelho"}));
    EXPECT_EQ(p.txtFinancasSaldoInicial->text(), v("1000,50"));
    EXPECT_EQ(p.txtFinancasSaldoAtual->text(), v("2700,25"));
    EXPECT_FALSE(p.txtFinancasSemRegistro->isVisible());
    EXPECT_TRUE(frmAgenda().imgImpressora->isVisible());
    tk::Grade &g = *p.grdFinancas;
    const char *cabecalhos[] = {"", "", "Data", " Descrição", "Recebido", "Pago"};
    const int larguras[] = {0, 250, 1100, 2150, 1050, 1050};
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(g.TextMatrix(0, c).toStdString(), cabecalhos[c]);
        EXPECT_EQ(g.ColWidth(c), larguras[c]);
    }
    g.DefinirRow(1);
    g.DefinirCol(4);
    EXPECT_EQ(g.CellAlignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    g.DefinirRow(0);
    EXPECT_TRUE(g.CellFontBold());

    // A month without entries; the month and year stay chosen for the session.
    p.cmbFinancasMes->setCurrentIndex(1);
    p.cmdFinancasExibirMes->click();
    EXPECT_EQ(g.Rows(), 1);
    EXPECT_TRUE(p.txtFinancasSemRegistro->isVisible());
    EXPECT_FALSE(p.txtFinancasSemRegistro->isEnabled());
    EXPECT_EQ(p.txtFinancasSemRegistro->text(), QStringLiteral("Sem Movimento"));
    EXPECT_FALSE(g.isEnabled());
    EXPECT_EQ(p.txtFinancasSaldoInicial->text(), v("0,00"));
    EXPECT_EQ(p.txtFinancasSaldoAtual->text(), v("0,00"));
    frmAgenda().frmAgenda_imgNotas_Click();
    frmAgenda().frmAgenda_imgFinancas_Click();
    EXPECT_EQ(Sessao.MesFinancas, 2);
    EXPECT_TRUE(p.txtFinancasSemRegistro->isVisible());
}

TEST_P(Painel, AnoDoMesEscolhido)
{
    PainelFinancas &p = abrir();
    const struct {
        const char *ano, *mensagem;
        int aceito;
    } casos[] = {
        {" ", "Informe o Ano!", 0},    {"1949", "Informe um Ano Válido!", 0}, {"2100", "Informe um Ano Válido!", 0},
        {"-", "Informe um Ano Válido!", 0}, {"20.04", "Informe um Ano Válido!", 0}, {"1950", nullptr, 1950},
        {"2099", nullptr, 2099},       {"2004.7", nullptr, 2004},
    };
    for (const auto &c : casos) {
        Sessao.AnoFinancas = 0;
        p.txtFinancasAno->setText(QString::fromLatin1(c.ano));
        std::shared_ptr<MensagemVista> vista;
        if (c.mensagem)
            vista = ResponderMensagem();
        p.cmdFinancasExibirMes->click();
        EXPECT_EQ(Sessao.AnoFinancas, c.aceito) << c.ano;
        if (vista) {
            EXPECT_EQ(vista->texto.toStdString(), c.mensagem);
            EXPECT_EQ(vista->icone, 3);
            EXPECT_EQ(frmAgenda().focusWidget(), p.txtFinancasAno) << c.ano;
        }
    }
}

TEST_P(Painel, NovoLancamentoSalvoEAlteradoParaOutroMes)
{
    PainelFinancas &p = abrir();
    p.cmbFinancasMes->setCurrentIndex(1);
    p.cmdFinancasExibirMes->click();
    p.cmdFinancasNovo->click();
    EXPECT_TRUE(p.frmFinancasDados->isVisible());
    EXPECT_FALSE(p.frmFinancasGrade->isEnabled());
    EXPECT_FALSE(frmAgenda().imgImpressora->isVisible());
    EXPECT_FALSE(p.cmdFinancasExcluir->isVisible());
    EXPECT_EQ(p.txtFinancasData->text(), QStringLiteral("28/02/2026"));  // the 31st in February
    EXPECT_TRUE(p.chkFinancaRealizada->isChecked());
    EXPECT_TRUE(p.optFinancasReceita->isChecked());
    EXPECT_EQ(p.txtFinancasValor->text(), v("0,00"));
    EXPECT_EQ(frmAgenda().focusWidget(), p.txtFinancasDescricao);

    p.txtFinancasDescricao->setText(QStringLiteral(" Bônus "));
    p.txtFinancasValor->clear();
    Digitar(p.txtFinancasValor, QStringLiteral("1234.5x"));
    p.frmAgenda_txtFinancasValor_LostFocus();
    EXPECT_EQ(p.txtFinancasValor->text(), v("1234,50"));
    p.cmdFinancasSalvar->click();
    EXPECT_EQ(entradas(), QStringLiteral("2026-02-28| Bônus |1234.5|-|S"));
    EXPECT_FALSE(p.frmFinancasDados->isVisible());
    EXPECT_TRUE(p.frmFinancasGrade->isEnabled());
    EXPECT_TRUE(frmAgenda().imgImpressora->isVisible());
    EXPECT_EQ(grade(), QStringList{"S|28/02/2026|   Bônus |" + v("1234,50") + "||azul"});
    EXPECT_EQ(p.txtFinancasSaldoAtual->text(), v("1234,50"));

    // Opened again: a planned payment on the 1st of March, which leaves the grid and the balance.
    p.AbrirLinha(1);
    EXPECT_TRUE(p.cmdFinancasExcluir->isVisible());
    EXPECT_EQ(p.txtFinancasDescricao->text(), QStringLiteral("Bônus"));
    EXPECT_EQ(p.txtFinancasValor->text(), v("1234,50"));
    p.cmdFinancasCalendario->click();
    EXPECT_TRUE(p.calFinancas->isVisible());
    EXPECT_EQ(p.calFinancas->Value(), QDate(2026, 2, 28));
    p.calFinancas->setSelectedDate(QDate(2026, 3, 1));
    p.calFinancas->DateClick();
    EXPECT_FALSE(p.calFinancas->isVisible());
    EXPECT_EQ(p.txtFinancasData->text(), QStringLiteral("01/03/2026"));
    p.optFinancasDespesa->setChecked(true);
    p.chkFinancaRealizada->setChecked(false);
    p.txtFinancasDescricao->setText(QStringLiteral(" Bônus pago "));
    p.cmdFinancasSalvar->click();
    EXPECT_EQ(entradas(), QStringLiteral("2026-03-01|Bônus pago|-|1234.5|N"));
    EXPECT_TRUE(grade().isEmpty());
    EXPECT_EQ(p.txtFinancasSaldoAtual->text(), v("0,00"));

    // Deleted from March, after a first "no".
    p.cmbFinancasMes->setCurrentIndex(2);
    p.cmdFinancasExibirMes->click();
    EXPECT_EQ(grade(), QStringList{"-|01/03/2026|  Bônus pago||" + v("1234,50") + "|vermelho"});
    p.AbrirLinha(1);
    EXPECT_TRUE(p.optFinancasDespesa->isChecked());
    EXPECT_FALSE(p.chkFinancaRealizada->isChecked());
    auto nao = ResponderMensagem(false);
    p.cmdFinancasExcluir->click();
    EXPECT_EQ(nao->texto, QStringLiteral("Você Confirma Exclusão desse Lançamento?"));
    EXPECT_EQ(nao->icone, 1);
    EXPECT_TRUE(p.frmFinancasDados->isVisible());
    ResponderMensagem(true);
    p.cmdFinancasExcluir->click();
    EXPECT_EQ(entradas(), QString());
    EXPECT_FALSE(p.frmFinancasDados->isVisible());
    EXPECT_TRUE(p.txtFinancasSemRegistro->isVisible());
}

TEST_P(Painel, RecusasNaoGravamEMantemOPainel)
{
    tk::DefinirTratadorErro([this](const QString &e) { erros << e; });
    PainelFinancas &p = abrir();
    const struct {
        const char *descricao, *valor, *mensagem;
        bool focoNoValor;
    } casos[] = {
        {" \n ", "5", "Informe uma Descrição para o Lançamento!", false},
        {"x", " ", "Informe um Valor para o Lançamento!", true},
        {"x", "0", "Informe um Valor para o Lançamento!", true},
        {"x", "-0.001", "Informe um Valor para o Lançamento!", true},
        {"x", "-", "Informe um Valor para o Lançamento!", true},
        {"x", "1.2.3", "Informe um Valor para o Lançamento!", true},
        {"x", "5'); Delete from Saldos; --", "Informe um Valor para o Lançamento!", true},
    };
    for (const auto &c : casos) {
        p.cmdFinancasNovo->click();
        p.txtFinancasDescricao->setText(QString::fromLatin1(c.descricao));
        p.txtFinancasValor->setText(QString::fromLatin1(c.valor));
        auto vista = ResponderMensagem();
        p.cmdFinancasSalvar->click();
        EXPECT_EQ(vista->texto.toStdString(), c.mensagem) << c.valor;
        EXPECT_EQ(vista->icone, 3);
        EXPECT_EQ(frmAgenda().focusWidget(), c.focoNoValor ? static_cast<QWidget *>(p.txtFinancasValor) : p.txtFinancasDescricao);
        EXPECT_TRUE(p.frmFinancasDados->isVisible());
        EXPECT_EQ(p.txtFinancasDescricao->toPlainText(), QString::fromLatin1(c.descricao));
        EXPECT_EQ(entradas(), QString()) << c.valor;
        p.cmdFinancasVoltar->click();
    }

    // A database error keeps the entry panel open with what was typed.
    base.Executar(QStringLiteral("Create Trigger falha Before Insert On Financas Begin Select raise(ABORT, 'disco cheio'); End"));
    p.cmdFinancasNovo->click();
    p.txtFinancasDescricao->setText(QStringLiteral("Mercado"));
    p.optFinancasDespesa->setChecked(true);
    p.txtFinancasValor->setText(v("42,00"));
    p.cmdFinancasSalvar->click();
    EXPECT_EQ(erros.size(), 1);
    EXPECT_TRUE(p.frmFinancasDados->isVisible());
    EXPECT_FALSE(frmAgenda().imgImpressora->isVisible());
    EXPECT_EQ(p.txtFinancasDescricao->text(), QStringLiteral("Mercado"));
    EXPECT_EQ(p.txtFinancasValor->text(), v("42,00"));
    EXPECT_TRUE(p.optFinancasDespesa->isChecked());
}

TEST_P(Painel, SaldoInicialGravadoAoSairDaCaixa)
{
    PainelFinancas &p = abrir();
    ativar();
    QWidget *outroControle = p.cmdFinancasNovo;
    const auto digitarESair = [&](const QString &texto) {
        p.txtFinancasSaldoInicial->setFocus(Qt::MouseFocusReason);
        p.txtFinancasSaldoInicial->selectAll();
        Digitar(p.txtFinancasSaldoInicial, texto);
        outroControle->setFocus(Qt::MouseFocusReason);
    };
    digitarESair(QStringLiteral("1500.75"));
    EXPECT_EQ(saldo(2026, 1), QStringLiteral("1500.75"));
    EXPECT_EQ(p.txtFinancasSaldoInicial->text(), v("1500,75"));
    EXPECT_EQ(p.txtFinancasSaldoAtual->text(), v("1500,75"));

    // Left unchanged, it is stored again; left empty, it stores 0.
    base.Executar(QStringLiteral("Delete from Saldos"));
    p.txtFinancasSaldoInicial->setFocus(Qt::TabFocusReason);
    outroControle->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(saldo(2026, 1), QStringLiteral("1500.75"));
    p.txtFinancasSaldoInicial->setFocus(Qt::MouseFocusReason);
    p.txtFinancasSaldoInicial->clear();
    outroControle->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(saldo(2026, 1), QStringLiteral("0.0"));
    EXPECT_EQ(p.txtFinancasSaldoInicial->text(), v("0,00"));

    // Not a number: refused, nothing written, the stored balance shown again.
    auto vista = ResponderMensagem();
    digitarESair(QStringLiteral("1.2.3"));
    EXPECT_EQ(vista->texto, QStringLiteral("Informe um Valor Válido para o Saldo Inicial!"));
    EXPECT_EQ(vista->icone, 3);
    EXPECT_EQ(saldo(2026, 1), QStringLiteral("0.0"));
    EXPECT_EQ(p.txtFinancasSaldoInicial->text(), v("0,00"));

    // A popup or another window taking the focus is no leaving: any leaving would store the
    // row again.
    ativar();
    p.txtFinancasSaldoInicial->setFocus(Qt::MouseFocusReason);
    base.Executar(QStringLiteral("Delete from Saldos"));
    p.cmbFinancasMes->showPopup();
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    EXPECT_FALSE(p.txtFinancasSaldoInicial->hasFocus());
    p.cmbFinancasMes->hidePopup();
    QWidget janela;
    janela.show();
    janela.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&janela));
    janela.hide();
    ativar();
    EXPECT_EQ(QApplication::focusWidget(), p.txtFinancasSaldoInicial);
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Saldos")), QStringLiteral("0"));

    // After a logout there is no month to store into.
    frmAgenda().frmAgenda_cmdLogout_Click();
    base.Executar(QStringLiteral("Delete from Saldos"));
    p.txtFinancasSaldoInicial->setText(QStringLiteral("77"));
    p.frmAgenda_txtFinancasSaldoInicial_LostFocus();
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Saldos")), QStringLiteral("0"));
}

TEST_P(Painel, ImportaParaJaneiroDoAnoSeguinte)
{
    base.Executar(QStringLiteral("Insert into Saldos(Usuario,Ano,M12) values (%1,2026,100)").arg(eu));
    entrada("2026-12-03", "recebido", "50", "NULL", "S");
    entrada("2026-12-20", "planejado", "NULL", "30", "N");
    PainelFinancas &p = abrir();
    p.cmbFinancasMes->setCurrentIndex(11);
    p.cmdFinancasExibirMes->click();
    EXPECT_EQ(p.txtFinancasSaldoAtual->text(), v("150,00"));
    p.cmbFinancasMes->setCurrentIndex(0);
    p.txtFinancasAno->setText(QStringLiteral("2027"));
    p.cmdFinancasExibirMes->click();
    p.cmdSaldoAnterior->click();
    EXPECT_EQ(saldo(2027, 1), QStringLiteral("120.0"));
    EXPECT_EQ(p.txtFinancasSaldoInicial->text(), v("120,00"));
    EXPECT_EQ(p.txtFinancasSaldoAtual->text(), v("120,00"));
    EXPECT_EQ(p.cmdSaldoAnterior->toolTip(), QStringLiteral("Importar o Saldo Atual do Mês Anterior"));
}

TEST_P(Painel, TeclaDoSeparadorDaLocalidadeDigitaOPontoDecimal)
{
    // Under a comma locale its separator key types the decimal point; under a point locale the
    // comma is no separator and is dropped as before.
    PainelFinancas &p = abrir();
    p.cmdFinancasNovo->click();
    const struct {
        tk::CaixaTexto *caixa;
        const char *digitado, *virgula, *ponto;
    } casos[] = {
        {p.txtFinancasValor, "12,34", "12.34", "1234"},
        {p.txtFinancasValor, "12.34", "12.34", "12.34"},
        {p.txtFinancasValor, "-0,5", "-0.5", "-05"},
        {p.txtFinancasSaldoInicial, "1500,75", "1500.75", "150075"},
    };
    for (const auto &c : casos) {
        c.caixa->clear();
        Digitar(c.caixa, QString::fromLatin1(c.digitado));
        EXPECT_EQ(c.caixa->text(), QString::fromLatin1(GetParam() ? c.virgula : c.ponto)) << c.digitado;
    }
    p.txtFinancasDescricao->setText(QStringLiteral("Almoço"));
    p.txtFinancasValor->clear();
    Digitar(p.txtFinancasValor, GetParam() ? QStringLiteral("12,34") : QStringLiteral("12.34"));
    p.cmdFinancasSalvar->click();
    EXPECT_EQ(entradas(), QStringLiteral("2026-01-31|Almoço|12.34|-|S"));
}
