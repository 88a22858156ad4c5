// The month calendar: the layout of its cells, the marking of days and the day it opens.

#include "apoio.h"
#include "appointments/calendario_mes.h"
#include "appointments/modCalendario.h"
#include "appointments/painel_compromissos.h"
#include "core/frmAgenda.h"
#include "core/sessao.h"
#include "platform/bandeja.h"
#include "platform/localidade.h"
#include "platform/relogio.h"

#include <gtest/gtest.h>

TEST(Calendario, CelulasDoMes)
{
    const struct {
        int mes, ano;
        int primeira, dias;
    } casos[] = {
        {2, 2026, 0, 28},   // starts on a Sunday
        {8, 2026, 6, 31},   // starts on a Saturday: the 31st is cell 36, in the sixth row
        {1, 2027, 5, 31},   // starts on a Friday: the 31st is cell 35
        {2, 2024, 4, 29},   {2, 2100, 1, 28}, {2, 2000, 2, 29}, {4, 2026, 3, 30}, {12, 2026, 2, 31},
    };
    for (const auto &c : casos) {
        const QVector<int> dias = DiasDasCelulas(c.mes, c.ano);
        ASSERT_EQ(dias.size(), 42);
        EXPECT_EQ(DiasDoMes(c.mes, c.ano), c.dias) << c.mes << "/" << c.ano;
        for (int i = 0; i < 42; ++i) {
            const int esperado = i >= c.primeira && i < c.primeira + c.dias ? i - c.primeira + 1 : 0;
            ASSERT_EQ(dias[i], esperado) << c.mes << "/" << c.ano << " célula " << i;
        }
    }
    EXPECT_EQ(CorDoValor(12582912), QColor(0, 0, 192));
    EXPECT_EQ(CorDoValor(255 + 128 * 256 + 64 * 65536), QColor(255, 128, 64));
    EXPECT_EQ(CorDaCelula(0, false), QColor(255, 0, 0));
    EXPECT_EQ(CorDaCelula(28, true), QColor(128, 0, 0));
    EXPECT_EQ(CorDaCelula(29, false), QColor(0, 0, 0));
    EXPECT_EQ(CorDaCelula(41, true), QColor(0, 0, 192));
}

namespace {

struct CalendarioMes : ::testing::Test {
    BaseDeTeste base;
    qint64 eu = 0, outro = 0;
    void SetUp() override
    {
        bandeja::DefinirDisponivel(true);
        relogio::DefinirAgora(QDateTime(QDate(2026, 3, 15), QTime(10, 0)));
        localidade::Definir(QLocale(QLocale::Portuguese, QLocale::Brazil));
        eu = base.InserirUsuario(QStringLiteral("EU"), std::nullopt);
        outro = base.InserirUsuario(QStringLiteral("OUTRO"), std::nullopt);
    }
    void inserir(qint64 usuario, const char *data, const char *hora, const char *status, const char *compartilhado, int pai = 0)
    {
        base.Executar(QStringLiteral("Insert into Compromissos(Usuario,Data,Hora,Compromisso,ChavePai,Status,Compartilhado) "
                                     "values (%1,'%2',%3,'x',%4,'%5','%6')")
                          .arg(usuario)
                          .arg(QLatin1String(data), hora ? QStringLiteral("'%1'").arg(QLatin1String(hora)) : QStringLiteral("NULL"))
                          .arg(pai)
                          .arg(QLatin1String(status), QLatin1String(compartilhado)));
    }
    MolduraCalendario &abrir()
    {
        Entrar(QStringLiteral("EU"));
        frmAgenda().frmAgenda_imgCompromissos_Click();
        frmAgenda().frmCompromissos->cmdCompromissoCalendario->click();
        return *frmAgenda().frmCompromissos->frmCalendar;
    }
    // The cells in bold, by their days.
    QList<int> marcados(MolduraCalendario &c)
    {
        QList<int> dias;
        for (int i = 0; i < 42; ++i)
            if (c.Marcada(i))
                dias << c.L[i]->text().toInt();
        return dias;
    }
    int celula(MolduraCalendario &c, int dia)
    {
        for (int i = 0; i < 42; ++i)
            if (c.L[i]->text() == QString::number(dia) + u' ')
                return i;
        return -1;
    }
    bool destacado(MolduraCalendario &c, int dia) { return c.Shape1->isVisible() && c.Shape1->pos() == c.L[celula(c, dia)]->pos(); }
};

} // namespace

TEST_F(CalendarioMes, NavegaEAbreODiaNaGrade)
{
    MolduraCalendario &c = abrir();
    FrmAgenda &agenda = frmAgenda();
    EXPECT_TRUE(c.isVisible());
    EXPECT_FALSE(agenda.imgImpressora->isVisible());
    EXPECT_EQ(c.lblCalendarMes->text(), QStringLiteral("março 2026"));
    EXPECT_EQ(c.L[0]->text(), QStringLiteral("1 "));  // March 2026 starts on a Sunday
    EXPECT_EQ(c.L[31]->text(), QString());
    EXPECT_EQ(c.L[0]->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(c.lblDiaSemana[0]->palette().color(QPalette::WindowText), QColor(255, 128, 128));
    EXPECT_EQ(c.lblDiaSemana[6]->palette().color(QPalette::WindowText), QColor(128, 128, 128));
    EXPECT_TRUE(destacado(c, 15));
    EXPECT_TRUE(c.chkCompromissosCompartilhados->isChecked() && c.chkCompromissosCompartilhados->isEnabled());

    c.cmdProxMes->click();
    EXPECT_EQ(c.lblCalendarMes->text(), QStringLiteral("abril 2026"));
    EXPECT_EQ(Sessao.MesCalendario, QDate(2026, 4, 15));
    EXPECT_TRUE(destacado(c, 15));
    c.L[celula(c, 20)]->Click();
    EXPECT_TRUE(destacado(c, 20));
    EXPECT_TRUE(agenda.imgImpressora->isVisible());
    EXPECT_EQ(Sessao.MesCalendario, QDate(2026, 4, 15));
    c.L[celula(c, 3)]->DblClick();
    EXPECT_FALSE(c.isVisible());
    EXPECT_EQ(Sessao.DiaExibido, QDate(2026, 4, 3));
    EXPECT_EQ(agenda.lblData->text(), QStringLiteral("sexta-feira, 3 de abril de 2026 "));

    // From the 31st, the next month keeps its last day; "Ir para o Dia de Hoje" closes it.
    Sessao.DiaExibido = QDate(2026, 1, 31);
    agenda.frmCompromissos->cmdCompromissoCalendario->click();
    c.cmdProxMes->click();
    EXPECT_EQ(Sessao.MesCalendario, QDate(2026, 2, 28));
    EXPECT_TRUE(destacado(c, 28));
    c.cmdAntMes->click();
    EXPECT_EQ(Sessao.MesCalendario, QDate(2026, 1, 28));
    agenda.frmCompromissos->cmdHoje->click();
    EXPECT_FALSE(c.isVisible());
    EXPECT_EQ(Sessao.DiaExibido, QDate(2026, 3, 15));
}

TEST_F(CalendarioMes, MarcaOsDiasComCompromissos)
{
    inserir(eu, "2026-03-29", "09:00:00", "1", "N");  // executed, on a Sunday in the fifth week
    inserir(eu, "2026-03-03", nullptr, "2", "N");     // a birthday
    inserir(eu, "2026-03-10", "09:30:00", "0", "N", 7);  // a continuation row
    inserir(eu, "2026-03-10", "11:00:00", "0", "N");
    inserir(eu, "2026-04-01", "09:00:00", "0", "N");
    inserir(outro, "2026-03-20", "09:00:00", "0", "S");
    inserir(outro, "2026-03-21", "09:00:00", "0", "N");
    EXPECT_EQ(DiasComCompromissos(eu, 3, 2026, true), (QVector<int>{3, 10, 20, 29}));

    MolduraCalendario &c = abrir();
    c.chkCompromissosCompartilhados->setChecked(false);
    c.cmdExibirCompromissosCalendario->click();
    EXPECT_EQ(marcados(c), (QList<int>{3, 10, 29}));
    EXPECT_EQ(celula(c, 29), 28);
    EXPECT_EQ(c.L[28]->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    EXPECT_EQ(c.L[celula(c, 10)]->palette().color(QPalette::WindowText), QColor(0, 0, 192));
    c.chkCompromissosCompartilhados->setChecked(true);
    c.cmdExibirCompromissosCalendario->click();
    EXPECT_EQ(marcados(c), (QList<int>{3, 10, 20, 29}));

    // Laying a month out clears the marks; marking a month that has no rows keeps them.
    c.cmdProxMes->click();
    EXPECT_EQ(marcados(c), QList<int>{});
    c.cmdExibirCompromissosCalendario->click();
    EXPECT_EQ(marcados(c), QList<int>{1});
    base.Executar(QStringLiteral("Delete from Compromissos Where Data = '2026-04-01'"));
    c.cmdExibirCompromissosCalendario->click();
    EXPECT_EQ(marcados(c), QList<int>{1});
    c.cmdCalendarioVoltar->click();
    EXPECT_FALSE(c.isVisible());

    // Without the shared view the check box is cleared and disabled.
    base.Executar(QStringLiteral("Update Configuracao set VisualizarCompartilhamento='N'"));
    frmAgenda().frmAgenda_cmdLogout_Click();
    abrir();
    EXPECT_FALSE(c.chkCompromissosCompartilhados->isChecked() || c.chkCompromissosCompartilhados->isEnabled());
}
