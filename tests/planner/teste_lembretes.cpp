// The reminder scan and the reminder window: cadence, due rows, rescheduling and the buttons.

#include "apoio.h"
#include "appointments/frmLembrete.h"
#include "appointments/modCompromissos.h"
#include "appointments/modLembretes.h"
#include "appointments/painel_compromissos.h"
#include "core/frmAgenda.h"
#include "core/frmMenu.h"
#include "core/modDb.h"
#include "core/programa.h"
#include "core/sessao.h"
#include "platform/audio.h"
#include "platform/bandeja.h"
#include "platform/localidade.h"
#include "platform/modal.h"
#include "platform/relogio.h"
#include "resources/recursos.h"

#include <QApplication>
#include <QClipboard>

#include <gtest/gtest.h>

TEST(Checagem, CadenciaDoContador)
{
    // Ticks counted from the load (counter 1, no scan yet): the ones among the first ten that scan.
    const struct {
        int intervalo;
        QVector<int> varreduras;
    } casos[] = {{1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}}, {3, {1, 3, 6, 9}}, {5, {1, 5, 10}}, {60, {1}}};
    for (const auto &c : casos) {
        int minutos = 1;
        bool iniciada = false;
        QVector<int> varreduras;
        for (int tique = 1; tique <= 10; ++tique) {
            const PassoDaChecagem p = AvancarChecagem(minutos, c.intervalo, iniciada);
            if (p.varrer)
                varreduras << tique;
            iniciada |= p.varrer;
            minutos = p.minutos;
        }
        EXPECT_EQ(varreduras, c.varreduras) << c.intervalo;
    }
    // The interval lowered below the counter: the next tick scans and starts the count over.
    const PassoDaChecagem baixado = AvancarChecagem(8, 3, true);
    EXPECT_TRUE(baixado.varrer && baixado.fimDoPeriodo);
    EXPECT_EQ(baixado.minutos, 1);
    // The first scan is not periodic unless the interval is one minute.
    EXPECT_FALSE(AvancarChecagem(1, 5, false).fimDoPeriodo);
    EXPECT_TRUE(AvancarChecagem(1, 1, false).fimDoPeriodo);
}

TEST(Reagendamento, EntradasEAritmetica)
{
    const QStringList todas = {"   5 minutos", "  10 minutos", "  15 minutos", "  30 minutos", "  45 minutos", "   1 hora",
                               "   2 horas",    "   6 horas",    "  12 horas",   "   1 dia",     "   2 dias",    "   3 dias",
                               "   5 dias",     "   1 semana",   "  10 dias",    "   1 quinzena", "   1 mês",    "   1 bimestre",
                               "   1 trimestre", "   1 semestre", "   1 ano"};
    for (const bool comFim : {false, true}) {
        QStringList textos;
        for (const EntradaReagendamento &e : EntradasDeReagendamento(comFim)) {
            EXPECT_EQ(todas.value(e.indice), e.texto);
            textos << e.texto;
        }
        EXPECT_EQ(textos, comFim ? todas.mid(9) : todas);
    }

    const struct {
        QDate data;
        QTime hora;
        const char *entrada;
        QDate novaData;
        const char *novaHora;
    } casos[] = {
        {{2026, 12, 9}, {9, 3, 40}, "  10 minutos", {2026, 12, 9}, "09:13"},
        {{2026, 12, 31}, {23, 58}, "   5 minutos", {2027, 1, 1}, "00:03"},
        {{2028, 2, 28}, {23, 50}, "  12 horas", {2028, 2, 29}, "11:50"},
        {{2026, 12, 9}, {10, 0}, "   1 hora", {2026, 12, 9}, "11:00"},
        {{2026, 1, 31}, {10, 0}, "   1 mês", {2026, 2, 28}, "10:00"},
        {{2028, 1, 31}, {10, 0}, "   1 mês", {2028, 2, 29}, "10:00"},
        {{2026, 11, 30}, {8, 0}, "   1 trimestre", {2027, 2, 28}, "08:00"},
        {{2026, 8, 31}, {8, 0}, "   1 semestre", {2027, 2, 28}, "08:00"},
        {{2028, 2, 29}, {8, 0}, "   1 ano", {2029, 2, 28}, "08:00"},
        {{2028, 2, 28}, {8, 0}, "   1 dia", {2028, 2, 29}, "08:00"},
        {{2026, 12, 25}, {8, 0}, "   1 semana", {2027, 1, 1}, "08:00"},
        {{2026, 12, 20}, {8, 0}, "   1 quinzena", {2027, 1, 4}, "08:00"},
    };
    for (const auto &c : casos) {
        const Momento m = SomarReagendamento({c.data, c.hora}, int(todas.indexOf(QString::fromUtf8(c.entrada))));
        EXPECT_EQ(m.data, c.novaData) << c.entrada << " " << c.data.toString().toStdString();
        EXPECT_EQ(m.hora.toString(QStringLiteral("HH:mm")), QLatin1String(c.novaHora)) << c.entrada;
    }
}

namespace {

struct Lembretes : ::testing::Test {
    BaseDeTeste base;
    qint64 eu = 0, outro = 0;
    audio::Falso som;
    QDate hoje{2026, 12, 9};
    void SetUp() override
    {
        bandeja::DefinirDisponivel(true);
        relogio::DefinirAgora(QDateTime(hoje, QTime(10, 0)));
        localidade::Definir(QLocale(QLocale::Portuguese, QLocale::Brazil));
        audio::UsarFalso(&som);
        eu = base.InserirUsuario(QStringLiteral("EU"), std::nullopt);
        outro = base.InserirUsuario(QStringLiteral("OUTRO"), std::nullopt);
    }
    void TearDown() override
    {
        audio::UsarFalso(nullptr);
        EXPECT_EQ(modal::RoteirosPendentes(), 0);
    }
    // A row straight into the file; hora null makes an all-day row. Returns its key.
    qint64 inserir(const QString &texto, const QDate &data, const char *hora, const char *horaFim = nullptr,
                   const char *status = "0", qint64 pai = 0, qint64 usuario = 0)
    {
        const auto tempo = [](const char *t) { return t ? QStringLiteral("'%1'").arg(QLatin1String(t)) : QStringLiteral("NULL"); };
        base.Executar(QStringLiteral("Insert into Compromissos(Usuario,Data,Hora,HoraFim,Compromisso,ChavePai,Status,Compartilhado) "
                                     "values (%1,'%2',%3,%4,'%5',%6,'%7','S')")
                          .arg(usuario ? usuario : eu)
                          .arg(data.toString(Qt::ISODate), tempo(hora), tempo(horaFim), SqlTexto(texto))
                          .arg(pai)
                          .arg(QLatin1String(status)));
        return base.Valor(QStringLiteral("Select max(Chave) from Compromissos")).toLongLong();
    }
    // The rows of the file as "texto data hora status", by key.
    QString linhas()
    {
        return base.Valor(QStringLiteral("Select group_concat(Compromisso||' '||Data||' '||ifnull(substr(Hora,1,5),'--')||' '||Status, ' | ') "
                                         "from (Select * from Compromissos Order By Chave)"));
    }
    // What to do with the next reminder window.
    void responder(std::function<void(FrmLembrete &)> acao)
    {
        modal::Enfileirar([acao](QWidget &janela) {
            auto *f = dynamic_cast<FrmLembrete *>(&janela);
            ASSERT_NE(f, nullptr) << "esperava o lembrete, veio " << janela.windowTitle().toStdString();
            acao(*f);
        });
    }
    void entrar()
    {
        Entrar(QStringLiteral("EU"));
        frmAgenda().frmAgenda_imgCompromissos_Click();
    }
    // The first data row of the grid at hora.
    int linha(const QString &hora)
    {
        tk::Grade &g = *frmAgenda().frmCompromissos->grdCompromissos;
        for (int r = 1; r < g.Rows(); ++r)
            if (g.TextMatrix(r, 2).startsWith(hora))
                return r;
        return 0;
    }
    qint64 figura(const QString &hora)
    {
        tk::Grade &g = *frmAgenda().frmCompromissos->grdCompromissos;
        g.DefinirRow(linha(hora));
        g.DefinirCol(1);
        return g.CellPicture().cacheKey();
    }
};

QString resumo(const QVector<Lembrete> &lembretes)
{
    QStringList s;
    for (const Lembrete &l : lembretes)
        s << l.compromisso;
    return s.join(u' ');
}

void escolher(FrmLembrete &f, const char *entrada)
{
    f.cmbReAgendar->setCurrentIndex(f.cmbReAgendar->findText(QString::fromUtf8(entrada)));
}

} // namespace

TEST_F(Lembretes, VencimentoAteOSegundo)
{
    hoje = QDate(2028, 2, 29);
    const QDate ontem = hoje.addDays(-1), amanha = hoje.addDays(1);
    inserir(QStringLiteral("as9"), hoje, "09:00:00");
    inserir(QStringLiteral("semAviso"), hoje, "09:00:00", nullptr, "3");
    inserir(QStringLiteral("executado"), hoje, "08:00:00", nullptr, "1");
    inserir(QStringLiteral("ontem"), ontem, "23:59:00");
    inserir(QStringLiteral("meiaNoite"), amanha, "00:00:00");
    const qint64 cabeca = inserir(QStringLiteral("reuniao"), hoje, "08:00:00", "09:30:00");
    inserir(QStringLiteral("continuacao"), hoje, "08:30:00", nullptr, "0", cabeca);
    inserir(QStringLiteral("deOutro"), hoje, "08:00:00", nullptr, "0", 0, outro);
    inserir(QStringLiteral("aniversarioHoje"), hoje, nullptr, nullptr, "2");
    inserir(QStringLiteral("aniversarioAmanha"), amanha, nullptr, nullptr, "2");
    inserir(QStringLiteral("aniversarioAntigo"), hoje.addYears(-1), nullptr, nullptr, "2");
    inserir(QStringLiteral("aniversarioDeOutro"), hoje, nullptr, nullptr, "2", 0, outro);
    Sessao.Codigo = eu;

    const struct {
        QDateTime agora;
        const char *compromissos, *aniversarios;
    } casos[] = {
        {{hoje, QTime(8, 59, 59)}, "ontem reuniao", "aniversarioHoje aniversarioAntigo"},
        {{hoje, QTime(9, 0)}, "ontem as9 reuniao", "aniversarioHoje aniversarioAntigo"},
        {{ontem, QTime(23, 58, 59)}, "", "aniversarioAntigo"},
        {{amanha, QTime(0, 0)}, "ontem as9 reuniao meiaNoite", "aniversarioHoje aniversarioAmanha aniversarioAntigo"},
    };
    for (const auto &c : casos) {
        EXPECT_EQ(resumo(LerLembretes(SqlCompromissosDevidos(eu, c.agora))), QLatin1String(c.compromissos)) << c.agora.toString().toStdString();
        EXPECT_EQ(resumo(LerLembretes(SqlAniversariosDevidos(eu, c.agora.date()))), QLatin1String(c.aniversarios));
    }
    EXPECT_EQ(DataHoraDoLembrete(QDateTime(hoje, QTime(9, 5, 59))), QStringLiteral("29 fevereiro 2028 - 09:05"));

    // Each statement reaches its rows through the scan's own index, both halves of the union too.
    const auto plano = [](const QString &sql) {
        QStringList passos;
        for (RecordSet rs = Consultar(QStringLiteral("EXPLAIN QUERY PLAN ") + sql); !rs.Eof(); rs.MoveNext())
            passos << rs(QStringLiteral("detail")).Texto();
        return passos.filter(QStringLiteral("SEARCH"));
    };
    const QStringList compromissos = plano(SqlCompromissosDevidos(eu, QDateTime(hoje, QTime(9, 0))));
    EXPECT_EQ(compromissos.filter(QStringLiteral("USING INDEX CompromissosLembretes")).size(), 2) << compromissos.join(u'\n').toStdString();
    EXPECT_EQ(plano(SqlAniversariosDevidos(eu, hoje)).filter(QStringLiteral("USING INDEX CompromissosDiaTodo")).size(), 1);
}

TEST_F(Lembretes, EmOrdemComCadaBotao)
{
    const qint64 aniversario = inserir(QStringLiteral("Aniversário de Ana"), QDate(2024, 12, 5), nullptr, nullptr, "2");
    inserir(QStringLiteral("Ligar"), hoje, "08:00:00");
    const qint64 reuniao = inserir(QStringLiteral("Reunião"), hoje, "09:00:00", "10:00:00");
    inserir(QStringLiteral("Reunião"), hoje, "09:30:00", nullptr, "0", reuniao);
    inserir(QStringLiteral("Reunião"), hoje, "10:00:00", nullptr, "0", reuniao);
    inserir(QStringLiteral("Dentista"), hoje, "09:30:00");
    entrar();
    ASSERT_NE(figura(QStringLiteral("08:00")), 0);

    QStringList vistos;
    responder([&](FrmLembrete &f) {
        vistos << f.TxtCompromisso->text();
        EXPECT_EQ(Sessao.CompromissoLembrete, aniversario);
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Lembrete Velora"));
        EXPECT_EQ(f.lblData->text(), QStringLiteral("09 dezembro 2026 - 10:00"));
        EXPECT_EQ(f.TxtData->text(), QStringLiteral("05/12/2024"));
        EXPECT_FALSE(f.TxtCompromisso->isEnabled());
        EXPECT_TRUE(f.lblAniversario->isVisible());
        for (QWidget *w : {static_cast<QWidget *>(f.TxtHora), static_cast<QWidget *>(f.txtHoraFim), static_cast<QWidget *>(f.cmbReAgendar),
                           static_cast<QWidget *>(f.cmdReagendar), static_cast<QWidget *>(f.lblHoraAviso)})
            EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(f.cmdExcluir->text(), QStringLiteral("&Excluir Aniversário"));
        EXPECT_EQ(f.cmdExecutar->text(), QStringLiteral("Avisar &Próximo Ano"));
        ASSERT_EQ(som.tocados.size(), 1);
        EXPECT_EQ(som.tocados.first(), recursos::Som(QStringLiteral("CUCO")));
        // A tick while the reminder is open neither scans nor counts.
        const int minutos = Sessao.MinutosChecagem;
        frmAgenda().frmAgenda_tmrChecagem_Timer();
        EXPECT_EQ(Sessao.MinutosChecagem, minutos);
        f.cmdExecutar->click();
    });
    responder([&](FrmLembrete &f) {
        vistos << f.TxtCompromisso->text();
        EXPECT_TRUE(f.TxtCompromisso->isEnabled());
        EXPECT_FALSE(f.lblAniversario->isVisible());
        EXPECT_EQ(f.TxtHora->text(), QStringLiteral("08:00"));
        EXPECT_EQ(f.txtHoraFim->text(), QString());
        EXPECT_EQ(f.cmdExcluir->text(), QStringLiteral("&Excluir Compromisso"));
        EXPECT_EQ(f.cmdExecutar->text(), QStringLiteral("&Compromisso Executado"));
        EXPECT_EQ(f.cmbReAgendar->count(), 21);
        f.cmdExecutar->click();
    });
    std::shared_ptr<MensagemVista> semTempo, semDescricao;
    responder([&](FrmLembrete &f) {
        vistos << f.TxtCompromisso->text();
        // A fresh list has no entry chosen.
        f.cmdReagendar->click();
        EXPECT_EQ(semTempo->texto, QStringLiteral("Informe o Tempo!"));
        EXPECT_EQ(semTempo->icone, 2);
        escolher(f, "  10 minutos");
        f.TxtCompromisso->setText(QStringLiteral("   "));
        f.cmdReagendar->click();
        EXPECT_EQ(semDescricao->texto, QStringLiteral("Informe uma Descrição do Compromisso !"));
        EXPECT_TRUE(f.isVisible());
        // Typed keys pass the filter, which drops the apostrophe; pasted text is stored as typed.
        f.TxtCompromisso->clear();
        Digitar(f.TxtCompromisso, QStringLiteral("d'a"));
        EXPECT_EQ(f.TxtCompromisso->text(), QStringLiteral("da"));
        f.TxtCompromisso->clear();
        QApplication::clipboard()->setText(QStringLiteral("Dentista d'Ávila 50% \"urgente\""));
        f.TxtCompromisso->paste();
        relogio::DefinirAgora(QDateTime(hoje, QTime(10, 3, 40)));
        f.cmdReagendar->click();
    });
    semTempo = ResponderMensagem();
    semDescricao = ResponderMensagem();
    responder([&](FrmLembrete &f) {
        vistos << f.TxtCompromisso->text();
        EXPECT_EQ(f.txtHoraFim->text(), QStringLiteral("10:00"));
        EXPECT_EQ(f.cmbReAgendar->count(), 12);
        EXPECT_EQ(f.cmbReAgendar->itemText(0), QStringLiteral("   1 dia"));
        f.cmdExcluir->click();
    });
    frmAgenda().frmAgenda_tmrChecagem_Timer();
    EXPECT_EQ(vistos, (QStringList{"  Aniversário de Ana", "Ligar", "Dentista", "Reunião"}));
    EXPECT_EQ(linhas(), QStringLiteral("Aniversário de Ana 2025-12-05 -- 2 | Ligar 2026-12-09 08:00 1 | "
                                       "Dentista d'Ávila 50% \"urgente\" 2026-12-09 10:13 0"));
    EXPECT_EQ(som.tocados.size(), 4);
    EXPECT_GE(som.paradas, 4);
    // The one-minute interval: the grid is rebuilt after the scan and the count starts over.
    EXPECT_EQ(figura(QStringLiteral("08:00")), Figuras().imgExecutado.cacheKey());
    EXPECT_EQ(Sessao.MinutosChecagem, 1);

    // The birthday, moved to a year that has passed too, comes back at the next scan.
    responder([&](FrmLembrete &f) {
        EXPECT_EQ(f.TxtData->text(), QStringLiteral("05/12/2025"));
        f.cmdExcluir->click();
    });
    frmAgenda().frmAgenda_tmrChecagem_Timer();
    EXPECT_FALSE(linhas().contains(QStringLiteral("Aniversário")));
}

TEST_F(Lembretes, ReagendarComHoraFinalMoveAsContinuacoes)
{
    const qint64 cabeca = inserir(QStringLiteral("Reunião"), hoje.addDays(-1), "09:00:00", "10:00:00");
    inserir(QStringLiteral("Reunião"), hoje.addDays(-1), "09:30:00", nullptr, "0", cabeca);
    inserir(QStringLiteral("Reunião"), hoje.addDays(-1), "10:00:00", nullptr, "0", cabeca);
    base.Executar(QStringLiteral("Update Configuracao set SomCompromisso='Nenhum'"));
    entrar();
    responder([&](FrmLembrete &f) {
        escolher(f, "   1 mês");
        f.TxtCompromisso->setText(QStringLiteral("  Reunião mensal  "));
        f.cmdReagendar->click();
    });
    relogio::DefinirAgora(QDateTime(QDate(2027, 1, 31), QTime(23, 59)));
    frmAgenda().frmAgenda_tmrChecagem_Timer();
    EXPECT_TRUE(som.tocados.isEmpty());
    EXPECT_EQ(linhas(), QStringLiteral("Reunião mensal 2027-02-28 09:00 0 | Reunião mensal 2027-02-28 09:30 0 | "
                                       "Reunião mensal 2027-02-28 10:00 0"));
}

// The interval of five minutes: the first scan leaves the open grid as it was; a scan that has
// reached the interval rebuilds it; a lowered interval scans at once.
TEST_F(Lembretes, GradeRefeitaSoNaChecagemPeriodica)
{
    base.Executar(QStringLiteral("Update Configuracao set ChecagemGeral=5"));
    inserir(QStringLiteral("Ligar"), hoje, "08:00:00");
    entrar();
    responder([](FrmLembrete &f) { f.cmdExecutar->click(); });
    frmAgenda().frmAgenda_tmrChecagem_Timer();
    EXPECT_EQ(figura(QStringLiteral("08:00")), Figuras().imgAlarme.cacheKey());
    for (int tique = 2; tique <= 4; ++tique)
        frmAgenda().frmAgenda_tmrChecagem_Timer();  // nothing scans: a showing here would fail the test
    EXPECT_EQ(Sessao.MinutosChecagem, 5);
    inserir(QStringLiteral("Almoço"), hoje, "09:00:00");
    responder([](FrmLembrete &f) { f.cmdExecutar->click(); });
    frmAgenda().frmAgenda_tmrChecagem_Timer();
    EXPECT_EQ(figura(QStringLiteral("08:00")), Figuras().imgExecutado.cacheKey());
    EXPECT_EQ(Sessao.MinutosChecagem, 1);

    frmAgenda().frmAgenda_tmrChecagem_Timer();
    frmAgenda().frmAgenda_tmrChecagem_Timer();
    Sessao.ChecagemGeral = 2;  // lowered in the profile below the count of 3
    inserir(QStringLiteral("Café"), hoje, "09:30:00");
    responder([](FrmLembrete &f) { f.cmdExecutar->click(); });
    frmAgenda().frmAgenda_tmrChecagem_Timer();
    EXPECT_EQ(modal::RoteirosPendentes(), 0);
}

// Rows deleted by another process while a reminder is open: the buttons change nothing, the
// deleted rows still waiting in the scan are passed over, and the scan ends as usual.
TEST_F(Lembretes, ApagadosEnquantoOLembreteEstaAberto)
{
    inserir(QStringLiteral("Ligar"), hoje, "08:00:00");
    const qint64 reuniao = inserir(QStringLiteral("Reunião"), hoje, "09:00:00", "10:00:00");
    inserir(QStringLiteral("Reunião"), hoje, "09:30:00", nullptr, "0", reuniao);
    inserir(QStringLiteral("Pagar conta"), hoje, "09:40:00");
    entrar();
    responder([&](FrmLembrete &f) {
        base.Executar(QStringLiteral("Delete from Compromissos Where Compromisso <> 'Pagar conta'"));
        escolher(f, "   1 dia");
        f.cmdReagendar->click();
    });
    responder([&](FrmLembrete &f) {
        EXPECT_EQ(f.TxtCompromisso->text(), QStringLiteral("Pagar conta"));
        base.Executar(QStringLiteral("Delete from Compromissos"));
        f.cmdExecutar->click();
    });
    frmAgenda().frmAgenda_tmrChecagem_Timer();
    EXPECT_EQ(linhas(), QString());
    EXPECT_EQ(Sessao.MinutosChecagem, 1);
}

// The editing panel holds an appointment that a reminder deletes: saving it afterwards writes
// nothing, so no continuation row is left without its head.
TEST_F(Lembretes, EdicaoAbertaDeCompromissoExcluidoPeloLembrete)
{
    const qint64 reuniao = inserir(QStringLiteral("Reunião"), hoje, "09:00:00", "10:00:00");
    inserir(QStringLiteral("Reunião"), hoje, "09:30:00", nullptr, "0", reuniao);
    inserir(QStringLiteral("Reunião"), hoje, "10:00:00", nullptr, "0", reuniao);
    entrar();
    PainelCompromissos &p = *frmAgenda().frmCompromissos;
    p.AbrirLinha(linha(QStringLiteral("09:00")));
    ASSERT_TRUE(p.frmDadosCompromisso->isVisible());
    p.txtCompromissoFinal->setText(QStringLiteral("11:00"));
    responder([](FrmLembrete &f) { f.cmdExcluir->click(); });
    frmAgenda().frmAgenda_tmrChecagem_Timer();
    auto aviso = ResponderMensagem();
    p.cmdCompromissoGravar->click();
    EXPECT_TRUE(aviso->exibida);
    EXPECT_EQ(linhas(), QString());
}

// Logging out or ending the program from the tray while a reminder is open ends the scan: the
// row stays as it was, the sound stops, no other reminder comes.
TEST_F(Lembretes, SairPelaBandejaComLembreteAberto)
{
    inserir(QStringLiteral("Ligar"), hoje, "08:00:00");
    inserir(QStringLiteral("Almoço"), hoje, "09:00:00");
    entrar();
    responder([](FrmLembrete &) { frmMenu().LogOut->trigger(); });
    frmAgenda().frmAgenda_tmrChecagem_Timer();
    EXPECT_EQ(Sessao.Codigo, 0);
    EXPECT_EQ(Sessao.MinutosChecagem, 0);
    EXPECT_FALSE(Sessao.ChecagemIniciada);
    EXPECT_EQ(som.paradas, 1);
    frmAgenda().frmAgenda_tmrChecagem_Timer();  // signed out: nothing

    Entrar(QStringLiteral("EU"));
    responder([&](FrmLembrete &) { frmMenu().Encerrar->trigger(); });
    frmAgenda().frmAgenda_tmrChecagem_Timer();
    EXPECT_TRUE(programa::Encerrado());
    frmAgenda().frmAgenda_tmrChecagem_Timer();  // after the end: no second scan
    EXPECT_EQ(linhas(), QStringLiteral("Ligar 2026-12-09 08:00 0 | Almoço 2026-12-09 09:00 0"));
}

TEST_F(Lembretes, AniversarioDe29DeFevereiroVoltaAo29NosAnosBissextos)
{
    // Each "Avisar Próximo Ano" starts from the contact's day and month, not from the row's last
    // date, which a year without 29 February clamped to the 28th. A row no contact names moves a
    // calendar year.
    const qint64 lia = inserir(QStringLiteral("Aniversário Lia"), QDate(2024, 2, 29), nullptr, nullptr, "2");
    const qint64 solto = inserir(QStringLiteral("Aniversário sem contato"), QDate(2024, 2, 29), nullptr, nullptr, "2");
    base.Executar(QStringLiteral("Insert into Enderecos(Usuario,Nome,Aniversario,Compartilhado,ChaveAniversario) values (%1,'Lia','29/02','N',%2)")
                      .arg(eu)
                      .arg(lia));
    Entrar(QStringLiteral("EU"));
    const auto avancar = [&](qint64 chave) {
        const QString sql = QStringLiteral("Select Data from Compromissos Where Chave = %1").arg(chave);
        EXPECT_EQ(AvisarProximoAno(chave, QDate::fromString(base.Valor(sql), Qt::ISODate)), 1);
        return base.Valor(sql);
    };
    QStringList datas;
    for (int i = 0; i < 4; ++i)
        datas << avancar(lia);
    EXPECT_EQ(datas.join(u' '), QStringLiteral("2025-02-28 2026-02-28 2027-02-28 2028-02-29"));
    EXPECT_EQ(avancar(solto), QStringLiteral("2025-02-28"));
}
