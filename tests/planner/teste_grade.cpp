// The day grid: slots from the preferences, rows from the database, pictures and layout.

#include "apoio.h"
#include "appointments/modCompromissos.h"
#include "appointments/painel_compromissos.h"
#include "core/frmAgenda.h"
#include "core/sessao.h"
#include "platform/bandeja.h"
#include "platform/localidade.h"
#include "platform/relogio.h"

#include <gtest/gtest.h>

namespace {

QStringList hhnn(const QVector<int> &minutos)
{
    QStringList s;
    for (int m : minutos)
        s << QTime(m / 60, m % 60).toString(QStringLiteral("HH:mm"));
    return s;
}

LinhaGrade comHora(int chave, const char *hora)
{
    LinhaGrade l;
    l.chave = chave;
    l.status = QStringLiteral("3");
    l.compartilhado = QStringLiteral("N");
    l.hora = QString::fromLatin1(hora);
    l.texto = QStringLiteral("c%1").arg(chave);
    return l;
}

// Each row as "hora:texto" ("09:00:c1", "09:30:" for an empty slot).
QStringList resumo(const QVector<LinhaGrade> &linhas)
{
    QStringList s;
    for (const LinhaGrade &l : linhas)
        s << l.hora + u':' + l.texto.trimmed();
    return s;
}

} // namespace

TEST(HorariosDaGrade, LimitesEPassos)
{
    const struct {
        QTime inicio, final;
        int intervalos;
        int quantos;
        const char *primeiro, *ultimo;
    } casos[] = {
        {QTime(8, 0), QTime(17, 0), 30, 19, "08:00", "17:00"},
        {QTime(0, 0), QTime(23, 59), 60, 24, "00:00", "23:00"},
        {QTime(8, 0), QTime(17, 0), 60, 10, "08:00", "17:00"},
        {QTime(8, 0), QTime(8, 3), 1, 5, "08:00", "08:04"},  // the minute after the end is a slot
        {QTime(8, 0), QTime(10, 0), 75, 3, "08:00", "10:00"},  // steps above 59 count as 60
        {QTime(8, 0), QTime(9, 0), 0, 62, "08:00", "09:01"},   // a damaged step still ends
        {QTime(23, 0), QTime(23, 59), 30, 2, "23:00", "23:30"},
    };
    for (const auto &c : casos) {
        const QStringList h = hhnn(HorariosDaGrade(c.inicio, c.final, c.intervalos));
        ASSERT_EQ(h.size(), c.quantos) << c.intervalos;
        EXPECT_EQ(h.first().toStdString(), c.primeiro);
        EXPECT_EQ(h.last().toStdString(), c.ultimo);
    }
}

TEST(CaminharHorarios, LinhasNosHorariosEEntreEles)
{
    const QVector<int> horarios = HorariosDaGrade(QTime(9, 0), QTime(10, 0), 30);
    EXPECT_EQ(resumo(CaminharHorarios(horarios, {})), (QStringList{"09:00:", "09:30:", "10:00:"}));
    EXPECT_EQ(resumo(CaminharHorarios(horarios, {comHora(1, "09:00")})), (QStringList{"09:00:c1", "09:30:", "10:00:"}));
    EXPECT_EQ(resumo(CaminharHorarios(horarios, {comHora(1, "09:00"), comHora(2, "09:00")})),
              (QStringList{"09:00:c1", "09:00:c2", "09:30:", "10:00:"}));
    EXPECT_EQ(resumo(CaminharHorarios(horarios, {comHora(1, "09:10")})), (QStringList{"09:00:", "09:10:c1", "09:30:", "10:00:"}));
    EXPECT_EQ(resumo(CaminharHorarios(horarios, {comHora(1, "07:15"), comHora(2, "18:30")})),
              (QStringList{"07:15:c1", "09:00:", "09:30:", "10:00:", "18:30:c2"}));
    const QVector<LinhaGrade> vazia = CaminharHorarios(horarios, {});
    EXPECT_EQ(vazia.first().chave, 0);
    EXPECT_EQ(vazia.first().status, QStringLiteral(" "));
    EXPECT_EQ(vazia.first().compartilhado, QStringLiteral(" "));
    EXPECT_EQ(vazia.first().texto, QStringLiteral(" "));
}

namespace {

struct Grade : ::testing::Test {
    BaseDeTeste base;
    int eu = 0, outro = 0;
    const QDate dia{2026, 12, 9};
    void SetUp() override
    {
        bandeja::DefinirDisponivel(true);
        relogio::DefinirAgora(QDateTime(dia, QTime(8, 0)));
        localidade::Definir(QLocale(QLocale::Portuguese, QLocale::Brazil));
        eu = base.InserirUsuario(QStringLiteral("EU"), std::nullopt);
        outro = base.InserirUsuario(QStringLiteral("usuario2"), std::nullopt);
    }
    // Inserts a row straight into the file and returns its key.
    int inserir(int usuario, const char *hora, const char *horaFim, const char *texto, int pai, const char *status, const char *compartilhado,
                QDate data = {})
    {
        const QDate d = data.isValid() ? data : dia;
        base.Executar(QStringLiteral("Insert into Compromissos(Usuario,Data,Hora,HoraFim,Compromisso,ChavePai,Status,Compartilhado) "
                                     "values (%1,'%2',%3,%4,'%5',%6,'%7','%8')")
                          .arg(usuario)
                          .arg(d.toString(Qt::ISODate))
                          .arg(hora ? QStringLiteral("'%1:00'").arg(QLatin1String(hora)) : QStringLiteral("NULL"))
                          .arg(horaFim ? QStringLiteral("'%1:00'").arg(QLatin1String(horaFim)) : QStringLiteral("NULL"))
                          .arg(QString::fromUtf8(texto))
                          .arg(pai)
                          .arg(QLatin1String(status))
                          .arg(QLatin1String(compartilhado)));
        return base.Valor(QStringLiteral("Select max(Chave) from Compromissos")).toInt();
    }
    void preferencias(const char *inicio, const char *fim, int intervalos, const char *posicao)
    {
        base.Executar(QStringLiteral("Update Configuracao set InicioGrade='%1', FinalGrade='%2', Intervalos=%3, PosicaoAniversarios='%4', "
                                     "VisualizarCompartilhamento='S' Where Usuario=%5")
                          .arg(QLatin1String(inicio), QLatin1String(fim)).arg(intervalos).arg(QLatin1String(posicao)).arg(eu));
    }
    tk::Grade &abrir()
    {
        Entrar(QStringLiteral("EU"));
        frmAgenda().frmAgenda_imgCompromissos_Click();
        return *frmAgenda().frmCompromissos->grdCompromissos;
    }
    qint64 figura(tk::Grade &g, int linha, int coluna)
    {
        g.DefinirRow(linha);
        g.DefinirCol(coluna);
        return g.CellPicture().isNull() ? 0 : g.CellPicture().cacheKey();
    }
};

} // namespace

TEST_F(Grade, ExemploDoDiaLinhaALinha)
{
    preferencias("08:00", "10:00", 30, "A");
    inserir(eu, nullptr, nullptr, "Aniversário de Ana", 0, "2", "N");
    const int cabeca = inserir(eu, "08:30", "09:30", "Reunião", 0, "0", "N");
    inserir(eu, "09:00", nullptr, "Reunião", cabeca, "0", "N");
    inserir(outro, "09:00", nullptr, "Dentista", 0, "0", "S");
    inserir(eu, "09:10", nullptr, "Ligar", 0, "3", "N");
    inserir(eu, "09:30", nullptr, "Reunião", cabeca, "0", "N");
    tk::Grade &g = abrir();
    const FigurasDaGrade &f = Figuras();

    const struct {
        qint64 coluna1;
        qint64 coluna2;
        const char *horario, *texto;
    } esperado[] = {
        {f.imgAniversario.cacheKey(), 0, "  ", " Aniversário de Ana"},
        {0, 0, "08:00  ", "  "},
        {f.imgAlarme.cacheKey(), 0, "08:30  ", " Reunião"},
        {f.imgAnexado.cacheKey(), 0, "09:00  ", " Reunião"},
        {f.imgBloqueado.cacheKey(), f.imgCompartilhado.cacheKey(), "09:00  ", " Dentista [usuario2]"},
        {0, 0, "09:10  ", " Ligar"},
        {f.imgAnexado.cacheKey(), 0, "09:30  ", " Reunião"},
        {0, 0, "10:00  ", "  "},
    };
    ASSERT_EQ(g.Rows(), 9);
    for (int i = 0; i < 8; ++i) {
        const int r = i + 1;
        EXPECT_EQ(figura(g, r, 1), esperado[i].coluna1) << "linha " << r;
        EXPECT_EQ(figura(g, r, 2), esperado[i].coluna2) << "linha " << r;
        EXPECT_EQ(g.TextMatrix(r, 2).toStdString(), esperado[i].horario) << "linha " << r;
        EXPECT_EQ(g.TextMatrix(r, 3).toStdString(), esperado[i].texto) << "linha " << r;
    }
    EXPECT_EQ(g.TextMatrix(3, 0), QStringLiteral("%1\t0\tN\t09:30").arg(cabeca));
    EXPECT_EQ(g.TextMatrix(2, 0), QStringLiteral("0\t \t \t"));
    EXPECT_EQ(g.ColWidth(0), 0);
    EXPECT_EQ(g.ColWidth(1), 400);
    EXPECT_EQ(g.ColWidth(2), 800);
    EXPECT_EQ(g.ColWidth(3), 4400);
    EXPECT_EQ(g.TextMatrix(0, 1), QStringLiteral("    "));
    EXPECT_EQ(g.TextMatrix(0, 2), QStringLiteral("Horário"));
    EXPECT_EQ(g.TextMatrix(0, 3), QStringLiteral("Compromisso"));
    g.DefinirRow(0);
    g.DefinirCol(3);
    EXPECT_TRUE(g.CellFontBold());
    g.DefinirRow(1);
    EXPECT_EQ(g.CellAlignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
}

TEST_F(Grade, LarguraDoTextoComBarraDeRolagem)
{
    preferencias("08:00", "17:00", 30, "A");
    tk::Grade &g = abrir();
    EXPECT_EQ(g.Rows(), 20);  // header and 19 slots
    EXPECT_EQ(g.ColWidth(3), 4160);
    EXPECT_EQ(g.TextMatrix(19, 2), QStringLiteral("17:00  "));

    preferencias("08:00", "16:00", 30, "A");  // header and 17 slots: no scroll bar
    frmAgenda().frmAgenda_cmdLogout_Click();
    abrir();
    EXPECT_EQ(g.Rows(), 18);
    EXPECT_EQ(g.ColWidth(3), 4400);
}

TEST_F(Grade, AniversariosNoFimEExecutados)
{
    preferencias("08:00", "09:00", 60, "D");
    inserir(eu, nullptr, nullptr, "Aniversário de Ana", 0, "2", "N");
    inserir(eu, "08:00", nullptr, "Feito", 0, "1", "N");
    inserir(outro, "08:30", nullptr, "Feito pelo outro", 0, "1", "S");
    // Executing marks the head row only; its continuation rows leave the grid with it.
    const int reuniao = inserir(outro, "08:10", "08:50", "Reunião feita pelo outro", 0, "1", "S");
    inserir(outro, "08:50", nullptr, "Reunião feita pelo outro", reuniao, "0", "S");
    inserir(outro, nullptr, nullptr, "Aniversário do outro", 0, "2", "S");
    inserir(outro, "08:40", nullptr, "Privado do outro", 0, "0", "N");
    inserir(eu, "08:00", nullptr, "Outro dia", 0, "0", "N", dia.addDays(1));
    tk::Grade &g = abrir();
    const FigurasDaGrade &f = Figuras();
    ASSERT_EQ(g.Rows(), 5);
    EXPECT_EQ(g.TextMatrix(1, 3), QStringLiteral(" Feito"));
    EXPECT_EQ(figura(g, 1, 1), f.imgExecutado.cacheKey());
    EXPECT_EQ(g.TextMatrix(2, 2), QStringLiteral("09:00  "));
    EXPECT_EQ(g.TextMatrix(3, 3), QStringLiteral(" Aniversário de Ana"));
    EXPECT_EQ(g.TextMatrix(4, 3), QStringLiteral(" Aniversário do outro"));  // no owner's login
    EXPECT_EQ(figura(g, 4, 1), f.imgAniversario.cacheKey());
    EXPECT_EQ(figura(g, 4, 2), f.imgCompartilhado.cacheKey());

    // Without the shared items, only the user's own rows.
    base.Executar(QStringLiteral("Update Configuracao set VisualizarCompartilhamento='N' Where Usuario=%1").arg(eu));
    frmAgenda().frmAgenda_cmdLogout_Click();
    abrir();
    EXPECT_EQ(g.Rows(), 4);
}

TEST_F(Grade, NavegacaoEntreDias)
{
    preferencias("08:00", "09:00", 60, "A");
    inserir(eu, "08:00", nullptr, "Amanhã", 0, "0", "N", dia.addDays(1));
    tk::Grade &g = abrir();
    PainelCompromissos &p = *frmAgenda().frmCompromissos;
    EXPECT_EQ(frmAgenda().lblData->text(), QStringLiteral("quarta-feira, 9 de dezembro de 2026 "));
    p.lblProximoDia->Click();
    EXPECT_EQ(Sessao.DiaExibido, dia.addDays(1));
    EXPECT_EQ(g.TextMatrix(1, 3), QStringLiteral(" Amanhã"));
    EXPECT_EQ(frmAgenda().lblData->text(), QStringLiteral("quinta-feira, 10 de dezembro de 2026 "));
    p.imdDiaAntes->Click();
    p.lblDiaAnterior->Click();
    EXPECT_EQ(Sessao.DiaExibido, dia.addDays(-1));
    frmAgenda().imgImpressora->hide();
    p.cmdHoje->click();
    EXPECT_EQ(Sessao.DiaExibido, dia);
    EXPECT_TRUE(frmAgenda().imgImpressora->isVisible());
    // The day shown survives a trip to another panel.
    p.imgDiaApos->Click();
    frmAgenda().frmAgenda_imgNotas_Click();
    frmAgenda().frmAgenda_imgCompromissos_Click();
    EXPECT_EQ(g.TextMatrix(1, 3), QStringLiteral(" Amanhã"));
    EXPECT_EQ(frmAgenda().lblData->text(), QStringLiteral("quinta-feira, 10 de dezembro de 2026 "));
}
