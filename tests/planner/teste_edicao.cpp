// Opening, saving, repeating and deleting appointments from the day grid.

#include "apoio.h"
#include "appointments/modCompromissos.h"
#include "appointments/painel_compromissos.h"
#include "core/frmAgenda.h"
#include "core/sessao.h"
#include "platform/bandeja.h"
#include "platform/modal.h"
#include "platform/relogio.h"

#include <gtest/gtest.h>

TEST(Repeticao, DatasEscritas)
{
    const auto datas = [](QDate d, Repeticao r) {
        QStringList s;
        for (const QDate &x : DatasDaRepeticao(d, r))
            s << x.toString(QStringLiteral("dd/MM"));
        return s;
    };
    const QDate quarta(2026, 12, 9), sabado(2026, 12, 12), segunda(2026, 12, 7);
    EXPECT_EQ(datas(quarta, Repeticao::SomenteDia), (QStringList{"09/12"}));
    EXPECT_EQ(datas(quarta, Repeticao::DiasUteis), (QStringList{"09/12", "10/12", "11/12"}));
    EXPECT_EQ(datas(sabado, Repeticao::DiasUteis).size(), 7);  // Saturday to the next Friday
    EXPECT_EQ(datas(quarta, Repeticao::Semana), (QStringList{"09/12", "10/12", "11/12", "12/12", "13/12"}));
    EXPECT_EQ(datas(segunda, Repeticao::Semana).size(), 7);
    EXPECT_EQ(datas(QDate(2026, 12, 29), Repeticao::Mes), (QStringList{"29/12", "30/12", "31/12"}));
    EXPECT_EQ(datas(QDate(2024, 1, 31), Repeticao::DiaDoMesNoAno),
              (QStringList{"31/01", "29/02", "29/03", "29/04", "29/05", "29/06", "29/07", "29/08", "29/09", "29/10", "29/11", "29/12"}));
    EXPECT_EQ(datas(QDate(2026, 1, 31), Repeticao::DiaDoMesNoAno).at(1), QStringLiteral("28/02"));
    EXPECT_EQ(datas(QDate(2026, 12, 15), Repeticao::DiaDoMesNoAno), (QStringList{"15/12"}));
}

TEST(Continuacao, HorariosAteOFim)
{
    const auto horas = [](QTime s, QTime e, int i) {
        QStringList r;
        for (const QTime &t : HorariosDeContinuacao(s, e, i))
            r << t.toString(QStringLiteral("HH:mm"));
        return r;
    };
    EXPECT_EQ(horas(QTime(9, 0), QTime(10, 0), 30), (QStringList{"09:30", "10:00"}));
    EXPECT_EQ(horas(QTime(9, 0), QTime(9, 45), 30), (QStringList{"09:30", "09:45"}));
    EXPECT_EQ(horas(QTime(9, 0), QTime(9, 10), 30), (QStringList{"09:10"}));
    EXPECT_EQ(horas(QTime(9, 0), QTime(11, 0), 60), (QStringList{"10:00", "11:00"}));
    EXPECT_EQ(horas(QTime(8, 0), QTime(8, 3), 1), (QStringList{"08:01", "08:02", "08:03"}));
}

namespace {

struct Edicao : ::testing::Test {
    BaseDeTeste base;
    qint64 eu = 0, outro = 0;
    const QDate quarta{2026, 12, 9};
    QStringList erros;
    void SetUp() override
    {
        bandeja::DefinirDisponivel(true);
        relogio::DefinirAgora(QDateTime(quarta, QTime(8, 0)));
        eu = base.InserirUsuario(QStringLiteral("EU"), std::nullopt);
        outro = base.InserirUsuario(QStringLiteral("OUTRO"), std::nullopt);
        base.Executar(QStringLiteral("Update Configuracao set InicioGrade='08:00', FinalGrade='12:00', Intervalos=30, VisualizarCompartilhamento='S'"));
    }
    void TearDown() override { EXPECT_EQ(modal::RoteirosPendentes(), 0); }
    PainelCompromissos &abrir(const QString &login = QStringLiteral("EU"))
    {
        Entrar(login);
        frmAgenda().frmAgenda_imgCompromissos_Click();
        return *frmAgenda().frmCompromissos;
    }
    // The data row of the grid whose time column starts with hora (the first one).
    int linha(const QString &hora, const QString &texto = QString())
    {
        tk::Grade &g = *frmAgenda().frmCompromissos->grdCompromissos;
        for (int r = 1; r < g.Rows(); ++r)
            if (g.TextMatrix(r, 2).startsWith(hora) && (texto.isEmpty() || g.TextMatrix(r, 3).contains(texto)))
                return r;
        ADD_FAILURE() << "sem linha às " << hora.toStdString();
        return 0;
    }
    // The user's rows of a day as "hora-horaFim:texto:pai?:status:compartilhado", in time order.
    QString linhasDoDia(const QDate &d, qint64 usuario = 0)
    {
        return base.Valor(QStringLiteral("Select group_concat(x, ' | ') from (Select ifnull(substr(Hora,1,5),'--')||'-'||ifnull(substr(HoraFim,1,5),'')||':'||Compromisso||':'||"
                                         "(case when ChavePai=0 then 'cabeça' else 'cont' end)||':'||Status||':'||Compartilhado as x "
                                         "from Compromissos Where Usuario=%1 and Data='%2' Order By Hora, Chave)")
                              .arg(usuario ? usuario : eu)
                              .arg(d.toString(Qt::ISODate)));
    }
    void novo(PainelCompromissos &p, const QString &slot, const QString &inicio, const QString &fim, const QString &texto)
    {
        p.AbrirLinha(linha(slot));
        p.txtCompromissoInicio->setText(inicio);
        p.txtCompromissoFinal->setText(fim);
        p.txtDescricaoCompromisso->setText(texto);
    }
};

} // namespace

TEST_F(Edicao, NovoComContinuacaoERepeticao)
{
    PainelCompromissos &p = abrir();
    novo(p, QStringLiteral("09:00"), QStringLiteral("09:00"), QStringLiteral("09:45"), QStringLiteral("Consulta"));
    EXPECT_TRUE(p.frmDadosCompromisso->isVisible());
    EXPECT_TRUE(p.frmCompromissoAgendaPeriodo->isVisible());
    EXPECT_EQ(p.cmbAgendarPara->currentIndex(), 0);
    EXPECT_TRUE(p.chkAvisar->isChecked());
    EXPECT_FALSE(p.cmdCompromissoExcluir->isVisible());
    EXPECT_EQ(p.txtDataCompromisso->text(), QStringLiteral("09/12/2026"));
    p.cmbAgendarPara->setCurrentIndex(1);  // weekdays: Wednesday to Friday
    p.cmdCompromissoGravar->click();
    EXPECT_FALSE(p.frmDadosCompromisso->isVisible());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(linhasDoDia(quarta.addDays(i)),
                  QStringLiteral("09:00-09:45:Consulta:cabeça:0:N | 09:30-:Consulta:cont:0:N | 09:45-:Consulta:cont:0:N"))
            << i;
    EXPECT_EQ(linhasDoDia(quarta.addDays(3)), QString());
    // Every continuation row points at the head row of its own day.
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Compromissos c Where ChavePai <> 0 and not exists "
                                        "(Select 1 from Compromissos h Where h.Chave = c.ChavePai and h.Data = c.Data)")),
              QStringLiteral("0"));
    tk::Grade &g = *p.grdCompromissos;
    EXPECT_EQ(g.TextMatrix(linha(QStringLiteral("09:45")), 3), QStringLiteral(" Consulta"));
}

TEST_F(Edicao, ChaveDaCabecaENaoUmaMaisAntiga)
{
    // An older appointment of the same user at the same date and start time.
    base.Executar(QStringLiteral("Insert into Compromissos(Usuario,Data,Hora,Compromisso,ChavePai,Status,Compartilhado) values (%1,'2026-12-09','09:00:00','Antigo',0,'3','N')").arg(eu));
    PainelCompromissos &p = abrir();
    novo(p, QStringLiteral("09:00"), QStringLiteral("09:00"), QStringLiteral("10:00"), QStringLiteral("Novo"));
    p.cmdCompromissoGravar->click();
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Compromissos c Join Compromissos h On h.Chave = c.ChavePai Where h.Compromisso = 'Novo'")),
              QStringLiteral("2"));
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Compromissos Where ChavePai <> 0 and ChavePai = (Select Chave from Compromissos Where Compromisso='Antigo')")),
              QStringLiteral("0"));
}

TEST_F(Edicao, VerificacoesNaoGravamEMantemOPainel)
{
    PainelCompromissos &p = abrir();
    const struct {
        const char *inicio, *fim, *descricao, *mensagem;
        int icone;
        QWidget *foco;
    } casos[] = {
        {" ", "", "x", "Informe o Horário para o Início do Compromisso!", 2, p.txtCompromissoInicio},
        {"93:0", "", "x", "Informe um Horário Válido para o Início do Compromisso!", 3, p.txtCompromissoInicio},
        {"10:00", "25:00", "x", "Informe um Horário Válido para o Final do Compromisso!", 3, p.txtCompromissoFinal},
        {"10:00", "10:00", "x", "Hora de Início não pode ser Maior ou Igual que Hora Final do Compromisso!", 3, p.txtCompromissoFinal},
        {"10:00", "09:59", "x", "Hora de Início não pode ser Maior ou Igual que Hora Final do Compromisso!", 3, p.txtCompromissoFinal},
        {"10:00", "", " \n ", "Informe uma Descrição do Compromisso !", 2, p.txtDescricaoCompromisso},
    };
    for (const auto &c : casos) {
        novo(p, QStringLiteral("10:00"), QString::fromLatin1(c.inicio), QString::fromLatin1(c.fim), QString::fromLatin1(c.descricao));
        auto vista = ResponderMensagem();
        p.cmdCompromissoGravar->click();
        EXPECT_EQ(vista->texto.toStdString(), c.mensagem);
        EXPECT_EQ(vista->icone, c.icone) << c.mensagem;
        EXPECT_EQ(frmAgenda().focusWidget(), c.foco) << c.mensagem;
        EXPECT_TRUE(p.frmDadosCompromisso->isVisible()) << c.mensagem;
        EXPECT_EQ(p.txtDescricaoCompromisso->toPlainText(), QString::fromLatin1(c.descricao));
        EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Compromissos")), QStringLiteral("0")) << c.mensagem;
        p.cmdCompromissoVoltar->click();
    }
}

TEST_F(Edicao, TeclasDosHorarios)
{
    PainelCompromissos &p = abrir();
    p.AbrirLinha(linha(QStringLiteral("10:00")));
    p.txtCompromissoInicio->clear();
    Digitar(p.txtCompromissoInicio, QStringLiteral("930"));
    EXPECT_EQ(p.txtCompromissoInicio->text(), QStringLiteral("93:0"));
    p.txtCompromissoInicio->clear();
    Digitar(p.txtCompromissoInicio, QStringLiteral("0930x"));
    EXPECT_EQ(p.txtCompromissoInicio->text(), QStringLiteral("09:30"));
    Digitar(p.txtDescricaoCompromisso, QStringLiteral("a'b"));
    EXPECT_EQ(p.txtDescricaoCompromisso->text(), QStringLiteral("ab"));
    p.txtDescricaoCompromisso->setText(QString(300, u'x'));
    EXPECT_EQ(p.txtDescricaoCompromisso->text().size(), 255);
}

TEST_F(Edicao, AlterarSubstituiAsContinuacoes)
{
    PainelCompromissos &p = abrir();
    novo(p, QStringLiteral("09:00"), QStringLiteral("09:00"), QStringLiteral("10:00"), QStringLiteral("Aula"));
    p.cmdCompromissoGravar->click();

    p.AbrirLinha(linha(QStringLiteral("09:00")));
    EXPECT_TRUE(p.cmdCompromissoExcluir->isVisible());
    EXPECT_FALSE(p.frmCompromissoAgendaPeriodo->isVisible());
    EXPECT_EQ(p.txtCompromissoFinal->text(), QStringLiteral("10:00"));
    EXPECT_TRUE(Sessao.TinhaHoraFinal);
    p.txtCompromissoInicio->setText(QStringLiteral("14:00"));
    p.txtCompromissoFinal->setText(QStringLiteral("15:00"));
    p.txtDescricaoCompromisso->setText(QStringLiteral("Aula d'Ávila"));  // pasted apostrophe
    p.chkCompartilhar->setChecked(true);
    p.cmdCompromissoGravar->click();
    EXPECT_EQ(linhasDoDia(quarta), QStringLiteral("14:00-15:00:Aula d'Ávila:cabeça:0:S | 14:30-:Aula d'Ávila:cont:0:S | 15:00-:Aula d'Ávila:cont:0:S"));

    p.AbrirLinha(linha(QStringLiteral("14:00")));
    p.txtCompromissoFinal->clear();
    p.chkAvisar->setChecked(false);
    p.cmdCompromissoGravar->click();
    EXPECT_EQ(linhasDoDia(quarta), QStringLiteral("14:00-:Aula d'Ávila:cabeça:3:S"));
}

TEST_F(Edicao, LinhasQueNaoAbremESomenteLeitura)
{
    base.Executar(QStringLiteral("Insert into Compromissos(Usuario,Data,Hora,HoraFim,Compromisso,ChavePai,Status,Compartilhado) values "
                                 "(%1,'2026-12-09','08:00:00','08:30:00','Cabeça',0,'0','N'),"
                                 "(%1,'2026-12-09',NULL,NULL,'Aniversário de Ana',0,'2','N'),"
                                 "(%1,'2026-12-09','09:00:00',NULL,'Feito',0,'1','N'),"
                                 "(%2,'2026-12-09','10:00:00',NULL,'Do outro',0,'0','S'),"
                                 "(%2,'2026-12-09',NULL,NULL,'Aniversário do outro',0,'2','S')").arg(eu).arg(outro));
    base.Executar(QStringLiteral("Insert into Compromissos(Usuario,Data,Hora,Compromisso,ChavePai,Status,Compartilhado) "
                                 "Select %1,'2026-12-09','08:30:00','Cabeça',Chave,'0','N' from Compromissos Where Compromisso='Cabeça'").arg(eu));
    PainelCompromissos &p = abrir();
    for (const auto &[hora, texto] : {std::pair{"08:30", ""}, std::pair{"", "Aniversário de Ana"}, std::pair{"", "Aniversário do outro"}}) {
        p.frmDadosCompromisso->hide();
        p.AbrirLinha(linha(QString::fromLatin1(hora), QString::fromUtf8(texto)));
        EXPECT_FALSE(p.frmDadosCompromisso->isVisible()) << hora << texto;
    }
    EXPECT_TRUE(frmAgenda().imgImpressora->isVisible());

    p.AbrirLinha(linha(QStringLiteral("09:00")));
    EXPECT_TRUE(p.lblExecutado->isVisible());
    EXPECT_EQ(p.lblExecutado->text(), QStringLiteral("EXECUTADO"));
    EXPECT_FALSE(p.cmdCompromissoGravar->isVisible());
    EXPECT_TRUE(p.cmdCompromissoExcluir->isVisible());
    EXPECT_FALSE(p.txtDescricaoCompromisso->isEnabled());
    EXPECT_FALSE(p.chkAvisar->isChecked());
    p.cmdCompromissoVoltar->click();

    p.AbrirLinha(linha(QStringLiteral("10:00")));
    EXPECT_EQ(p.lblExecutado->text(), QStringLiteral("COMPARTILHADO"));
    EXPECT_FALSE(p.cmdCompromissoExcluir->isVisible());
    EXPECT_FALSE(p.cmdCompromissoGravar->isVisible());
    EXPECT_FALSE(p.txtCompromissoInicio->isEnabled());
    EXPECT_TRUE(p.chkCompartilhar->isChecked());
    EXPECT_EQ(p.txtDescricaoCompromisso->text(), QStringLiteral("Do outro [OUTRO]"));
    p.cmdCompromissoVoltar->click();

    // An ordinary row opens editable again.
    p.AbrirLinha(linha(QStringLiteral("08:00")));
    EXPECT_TRUE(p.cmdCompromissoGravar->isVisible());
    EXPECT_FALSE(p.lblExecutado->isVisible());
    EXPECT_TRUE(p.txtCompromissoInicio->isEnabled());
}

TEST_F(Edicao, ExcluirComConfirmacao)
{
    PainelCompromissos &p = abrir();
    novo(p, QStringLiteral("09:00"), QStringLiteral("09:00"), QStringLiteral("10:00"), QStringLiteral("Aula"));
    p.cmdCompromissoGravar->click();
    p.AbrirLinha(linha(QStringLiteral("09:00")));
    auto nao = ResponderMensagem(false);
    p.cmdCompromissoExcluir->click();
    EXPECT_EQ(nao->texto, QStringLiteral("Você Confirma Exclusão desse Compromisso?"));
    EXPECT_EQ(nao->icone, 1);
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Compromissos")), QStringLiteral("3"));
    EXPECT_TRUE(p.frmDadosCompromisso->isVisible());
    ResponderMensagem(true);
    p.cmdCompromissoExcluir->click();
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Compromissos")), QStringLiteral("0"));
    EXPECT_FALSE(p.frmDadosCompromisso->isVisible());
    EXPECT_EQ(p.grdCompromissos->TextMatrix(linha(QStringLiteral("09:00")), 3), QStringLiteral("  "));
}

TEST_F(Edicao, FalhaNoMeioDeixaODiaComoEstava)
{
    tk::DefinirTratadorErro([this](const QString &e) { erros << e; });
    PainelCompromissos &p = abrir();
    novo(p, QStringLiteral("09:00"), QStringLiteral("09:00"), QStringLiteral("09:30"), QStringLiteral("Aula"));
    p.cmdCompromissoGravar->click();
    const QString antes = linhasDoDia(quarta);
    base.Executar(QStringLiteral("Create Trigger falha Before Insert On Compromissos When new.ChavePai <> 0 Begin Select raise(ABORT, 'sem espaço'); End"));

    p.AbrirLinha(linha(QStringLiteral("09:00")));
    p.txtCompromissoFinal->setText(QStringLiteral("11:00"));
    p.cmdCompromissoGravar->click();
    EXPECT_EQ(linhasDoDia(quarta), antes);

    novo(p, QStringLiteral("11:00"), QStringLiteral("11:00"), QStringLiteral("12:00"), QStringLiteral("Outra"));
    p.cmbAgendarPara->setCurrentIndex(2);
    p.cmdCompromissoGravar->click();
    EXPECT_EQ(linhasDoDia(quarta), antes);
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Compromissos Where Compromisso='Outra'")), QStringLiteral("0"));
    EXPECT_EQ(erros.size(), 2);
    EXPECT_TRUE(p.frmDadosCompromisso->isVisible());
}

TEST_F(Edicao, OutroUsuarioVeCompartilhadoSomenteLeitura)
{
    PainelCompromissos &p = abrir();
    novo(p, QStringLiteral("09:00"), QStringLiteral("09:00"), QStringLiteral("10:00"), QStringLiteral("Reunião geral"));
    p.chkCompartilhar->setChecked(true);
    p.cmdCompromissoGravar->click();
    frmAgenda().frmAgenda_cmdLogout_Click();

    abrir(QStringLiteral("OUTRO"));
    const int r = linha(QStringLiteral("09:00"), QStringLiteral("Reunião geral"));
    EXPECT_EQ(p.grdCompromissos->TextMatrix(r, 3), QStringLiteral(" Reunião geral [EU]"));
    p.AbrirLinha(r);
    EXPECT_EQ(p.lblExecutado->text(), QStringLiteral("COMPARTILHADO"));
    EXPECT_FALSE(p.cmdCompromissoExcluir->isVisible());
}

TEST_F(Edicao, CalendarioPequenoEscolheAData)
{
    PainelCompromissos &p = abrir();
    p.AbrirLinha(linha(QStringLiteral("09:00")));
    p.cmdExibirCalendarioPequeno->click();
    EXPECT_TRUE(p.calCompromisso->isVisible());
    EXPECT_EQ(p.calCompromisso->Value(), quarta);
    p.calCompromisso->DefinirValue(QDate(2026, 12, 24));
    p.calCompromisso->DateClick();
    EXPECT_FALSE(p.calCompromisso->isVisible());
    EXPECT_EQ(p.txtDataCompromisso->text(), QStringLiteral("24/12/2026"));
    p.txtDescricaoCompromisso->setText(QStringLiteral("Ceia"));
    p.cmdCompromissoGravar->click();
    EXPECT_EQ(linhasDoDia(QDate(2026, 12, 24)), QStringLiteral("09:00-:Ceia:cabeça:0:N"));
    EXPECT_EQ(Sessao.DiaExibido, quarta);  // the day shown stays
}

TEST_F(Edicao, ChavesAlemDe32Bits)
{
    // A file whose keys have passed 2^31: the user's code and every appointment key are wide.
    base.Executar(QStringLiteral("Update sqlite_sequence set seq = 5000000000 Where name = 'Usuarios'"));
    base.Executar(QStringLiteral("Insert into sqlite_sequence(name, seq) values ('Compromissos', 4294967296)"));
    eu = base.InserirUsuario(QStringLiteral("LARGO"), std::nullopt);
    ASSERT_GT(eu, 5000000000LL);
    PainelCompromissos &p = abrir(QStringLiteral("LARGO"));
    EXPECT_EQ(Sessao.Codigo, eu);
    novo(p, QStringLiteral("09:00"), QStringLiteral("09:00"), QStringLiteral("10:00"), QStringLiteral("Aula"));
    p.cmdCompromissoGravar->click();
    EXPECT_EQ(linhasDoDia(quarta), QStringLiteral("09:00-10:00:Aula:cabeça:0:N | 09:30-:Aula:cont:0:N | 10:00-:Aula:cont:0:N"));

    p.AbrirLinha(linha(QStringLiteral("09:00")));
    EXPECT_GT(Sessao.CompromissoEmEdicao, 4294967296LL);
    p.txtCompromissoFinal->setText(QStringLiteral("09:30"));
    p.txtDescricaoCompromisso->setText(QStringLiteral("Aula curta"));
    p.cmdCompromissoGravar->click();
    EXPECT_EQ(linhasDoDia(quarta), QStringLiteral("09:00-09:30:Aula curta:cabeça:0:N | 09:30-:Aula curta:cont:0:N"));
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Compromissos c Where ChavePai <> 0 and not exists "
                                        "(Select 1 from Compromissos h Where h.Chave = c.ChavePai)")),
              QStringLiteral("0"));

    p.AbrirLinha(linha(QStringLiteral("09:00")));
    ResponderMensagem(true);
    p.cmdCompromissoExcluir->click();
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Compromissos")), QStringLiteral("0"));
}

TEST_F(Edicao, AlterarCompromissoExcluidoNaoGravaNada)
{
    PainelCompromissos &p = abrir();
    novo(p, QStringLiteral("09:00"), QStringLiteral("09:00"), QStringLiteral("10:00"), QStringLiteral("Aula"));
    p.cmdCompromissoGravar->click();
    p.AbrirLinha(linha(QStringLiteral("09:00")));
    base.Executar(QStringLiteral("Delete from Compromissos"));  // another planner deleted it meanwhile
    p.txtCompromissoFinal->setText(QStringLiteral("11:00"));
    auto aviso = ResponderMensagem();
    p.cmdCompromissoGravar->click();
    EXPECT_EQ(aviso->texto, QStringLiteral("Esse Compromisso não Existe Mais, foi Excluído!"));
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Compromissos")), QStringLiteral("0"));
    EXPECT_FALSE(p.frmDadosCompromisso->isVisible());
    EXPECT_EQ(p.grdCompromissos->TextMatrix(linha(QStringLiteral("09:00")), 3), QStringLiteral("  "));
}

TEST_F(Edicao, GradeVoltaAPintarDepoisDeUmErro)
{
    tk::DefinirTratadorErro([this](const QString &e) { erros << e; });
    PainelCompromissos &p = abrir();
    base.Executar(QStringLiteral("Alter Table Compromissos Rename To Sumiu"));
    tk::Disparar([] { frmAgenda().frmCompromissos->MontarGrade(Sessao.DiaExibido); });
    EXPECT_EQ(erros.size(), 1);
    EXPECT_TRUE(p.grdCompromissos->updatesEnabled());
}

TEST_F(Edicao, QuebrasDeLinhaGuardadasComoCRLFEImpressasSeparadas)
{
    PainelCompromissos &p = abrir();
    novo(p, QStringLiteral("09:00"), QStringLiteral("09:00"), QString(), QString());
    Digitar(p.txtDescricaoCompromisso, QStringLiteral("linha um\rlinha dois"));
    p.cmdCompromissoGravar->click();
    EXPECT_EQ(base.Valor(QStringLiteral("Select Compromisso from Compromissos")), QStringLiteral("linha um\r\nlinha dois"));
    const Relatorio r = RelatorioDoDia(QStringLiteral("quarta"), QStringLiteral("Eu"), frmAgenda().frmCompromissos->LinhasExibidas());
    ASSERT_EQ(r.registros.size(), 1u);
    EXPECT_TRUE(r.registros.front().front().texto.endsWith(QStringLiteral("| linha um linha dois")))
        << r.registros.front().front().texto.toStdString();

    // The 255-character limit counts each break as the two characters it is stored as.
    novo(p, QStringLiteral("10:00"), QStringLiteral("10:00"), QString(), QString(252, u'x'));
    p.txtDescricaoCompromisso->moveCursor(QTextCursor::End);
    Digitar(p.txtDescricaoCompromisso, QStringLiteral("\ryz"));
    EXPECT_EQ(p.txtDescricaoCompromisso->text(), QString(252, u'x') + QStringLiteral("\r\ny"));
    p.cmdCompromissoGravar->click();
    EXPECT_EQ(base.Valor(QStringLiteral("Select max(length(Compromisso)) from Compromissos")), QStringLiteral("255"));
}
