// The task list and the task form: order, colours and heights of the grid, the checks, the
// calendar, saving, deleting, and what a logout forgets.

#include "apoio.h"
#include "appointments/modCompromissos.h"
#include "core/frmAgenda.h"
#include "core/sessao.h"
#include "platform/bandeja.h"
#include "platform/modal.h"
#include "platform/relogio.h"
#include "tasks/modTarefas.h"
#include "tasks/painel_tarefas.h"

#include <QApplication>
#include <QScrollBar>

#include <gtest/gtest.h>

TEST(LinhasDaDescricao, QuebrasDeQualquerTipo)
{
    const struct {
        const char *texto;
        int linhas;
    } casos[] = {{"uma", 1}, {"a\r\nb\r\nc", 3}, {"a\nb", 2}, {"a\rb", 2}, {"a\r\n", 2}, {"", 1}, {"a\r\n\r\nb", 3}};
    for (const auto &c : casos)
        EXPECT_EQ(LinhasDaDescricao(QString::fromLatin1(c.texto)).size(), c.linhas) << c.texto;
}

namespace {

struct Tarefas : ::testing::Test {
    BaseDeTeste base;
    qint64 eu = 0, outro = 0;
    const QDate hoje{2026, 12, 9};
    void SetUp() override
    {
        bandeja::DefinirDisponivel(true);
        relogio::DefinirAgora(QDateTime(hoje, QTime(8, 0)));
        eu = base.InserirUsuario(QStringLiteral("EU"), std::nullopt);
        outro = base.InserirUsuario(QStringLiteral("OUTRO"), std::nullopt);
    }
    void TearDown() override { EXPECT_EQ(modal::RoteirosPendentes(), 0); }
    PainelTarefas &abrir(const QString &login = QStringLiteral("EU"))
    {
        Entrar(login);
        frmAgenda().frmAgenda_imgTarefas_Click();
        return *frmAgenda().frmTarefas;
    }
    void inserir(qint64 usuario, const char *data, const char *fim, const char *descricao, const char *status, int prioridade)
    {
        base.Executar(QStringLiteral("Insert into Tarefas(Usuario,Data,DataFim,Descricao,Status,Prioridade) values (%1,'%2','%3','%4','%5',%6)")
                          .arg(usuario)
                          .arg(QLatin1String(data), QLatin1String(fim), QString::fromUtf8(descricao), QLatin1String(status))
                          .arg(prioridade));
    }
    // The user's tasks as stored, "data>fim:descricao:status:prioridade", by key; CR and LF shown.
    QString gravadas(qint64 usuario = 0)
    {
        return base.Valor(QStringLiteral("Select group_concat(x, ' | ') from (Select Data||'>'||DataFim||':'||"
                                         "replace(replace(Descricao,char(13),'<CR>'),char(10),'<LF>')||':'||Status||':'||Prioridade as x "
                                         "from Tarefas Where Usuario=%1 Order By Chave)")
                              .arg(usuario ? usuario : eu));
    }
    QColor fundo(tk::Grade &g, int linha, int coluna) { return g.item(linha - 1, coluna)->background().color(); }
};

} // namespace

TEST_F(Tarefas, GradePorFimEPrioridadeComCoresEAlturas)
{
    // As "DD/MM/YYYY" texts 05/01/2027 would come before 20/12/2026.
    inserir(eu, "2026-12-01", "2027-01-05", "Janeiro", "0", 0);
    inserir(eu, "2026-12-01", "2026-12-20", "Baixa", "0", 2);
    inserir(eu, "2026-12-02", "2026-12-20", "Alta\r\ncom\r\ntrês linhas", "1", 0);
    inserir(eu, "2026-12-03", "2026-12-20", "Normal", "0", 1);
    inserir(eu, "2026-12-04", "2026-12-20", "Alta também", "0", 0);
    inserir(outro, "2026-12-01", "2026-12-01", "Do outro", "0", 0);
    PainelTarefas &p = abrir();
    tk::Grade &g = *p.grdTarefas;

    const QColor amarelo(255, 255, 192), rosa(255, 192, 255), branco(255, 255, 255);
    const struct {
        const char *inicio, *prioridade, *descricao, *fim;
        bool executada;
        int altura;
        QColor cor;
    } esperado[] = {
        {"02/12/2026", "Alta", "Alta\ncom\ntrês linhas", "20/12/2026", true, 855, amarelo},
        {"04/12/2026", "Alta", "Alta também", "20/12/2026", false, 285, amarelo},
        {"03/12/2026", "Normal", "Normal", "20/12/2026", false, 285, rosa},
        {"01/12/2026", "Baixa", "Baixa", "20/12/2026", false, 285, branco},
        {"01/12/2026", "Alta", "Janeiro", "05/01/2027", false, 285, amarelo},
    };
    ASSERT_EQ(g.Rows(), 6);
    for (int i = 0; i < 5; ++i) {
        const int r = i + 1;
        EXPECT_EQ(g.TextMatrix(r, 2).toStdString(), esperado[i].inicio) << r;
        EXPECT_EQ(g.TextMatrix(r, 3).toStdString(), esperado[i].prioridade) << r;
        EXPECT_EQ(g.TextMatrix(r, 4).toStdString(), esperado[i].descricao) << r;
        EXPECT_EQ(g.TextMatrix(r, 5).toStdString(), esperado[i].fim) << r;
        EXPECT_EQ(g.RowHeight(r), esperado[i].altura) << r;
        for (int c = 1; c <= 5; ++c)
            EXPECT_EQ(fundo(g, r, c), esperado[i].cor) << r << "," << c;
        g.DefinirRow(r);
        g.DefinirCol(1);
        EXPECT_EQ(g.CellPicture().cacheKey(), esperado[i].executada ? Figuras().imgExecutado.cacheKey() : QPixmap().cacheKey()) << r;
    }
    EXPECT_EQ(g.TextMatrix(5, 0), base.Valor(QStringLiteral("Select Chave from Tarefas Where Descricao='Janeiro'")));
    const char *cabecalho[] = {"  ", "Início", "Prior", "  Tarefa", "Final"};
    const int larguras[] = {0, 250, 1050, 700, 2541, 1050};
    for (int c = 0; c <= 5; ++c) {
        EXPECT_EQ(g.ColWidth(c), larguras[c]) << c;
        EXPECT_EQ(g.columnWidth(c), tk::Px(larguras[c])) << c;  // narrow ones too, so "Final" is not cut
    }
    for (int c = 1; c <= 5; ++c)
        EXPECT_EQ(g.TextMatrix(0, c).toStdString(), cabecalho[c - 1]);
    g.DefinirRow(0);
    g.DefinirCol(4);
    EXPECT_TRUE(g.CellFontBold());
    EXPECT_TRUE(g.isEnabled());
    EXPECT_FALSE(p.txtTarefasSemCadastro->isVisible());
    EXPECT_TRUE(frmAgenda().imgImpressora->isVisible());
    EXPECT_TRUE(g.selectedItems().isEmpty());  // no row covers its colour with the selection's
    // The same rows for the report, the description as stored.
    ASSERT_EQ(frmAgenda().frmTarefas->TarefasExibidas().size(), 5);
    EXPECT_EQ(frmAgenda().frmTarefas->TarefasExibidas().first(), (LinhaTarefa{g.TextMatrix(1, 0).toLongLong(), QStringLiteral("1"), QDate(2026, 12, 2),
                                                      QDate(2026, 12, 20), QStringLiteral("Alta\r\ncom\r\ntrês linhas"), 0}));
}

TEST_F(Tarefas, DescricaoEstreitaQuandoABarraDeRolagemAparece)
{
    // Line counts of the tasks: eighteen lines fill the grid; one more brings the scroll bar.
    const struct {
        QVector<int> linhas;
        int largura;
    } casos[] = {
        {QVector<int>(18, 1), 2541},
        {QVector<int>(19, 1), 2280},
        {{3, 3, 3, 3, 3, 3}, 2541},
        {{3, 3, 3, 3, 3, 4}, 2280},
        {{40}, 2280},
    };
    PainelTarefas &p = abrir();
    for (const auto &c : casos) {
        base.Executar(QStringLiteral("Delete from Tarefas"));
        for (int n : c.linhas)
            inserir(eu, "2026-12-09", "2026-12-09", QStringList(n, QStringLiteral("x")).join(QStringLiteral("\r\n")).toUtf8().constData(), "0", 1);
        frmAgenda().frmTarefas->CarregarTarefas();
        QApplication::processEvents();
        EXPECT_EQ(p.grdTarefas->ColWidth(4), c.largura) << c.linhas.size();
        EXPECT_EQ(p.grdTarefas->verticalScrollBar()->isVisible(), c.largura == 2280) << c.linhas.size();
        EXPECT_EQ(p.grdTarefas->verticalScrollBar()->value(), 0);  // the list shows from its top
    }
}

TEST_F(Tarefas, NovaComPadroesGravadaComoDigitada)
{
    PainelTarefas &p = abrir();
    EXPECT_TRUE(p.txtTarefasSemCadastro->isVisible());
    EXPECT_FALSE(p.txtTarefasSemCadastro->isEnabled());
    EXPECT_EQ(p.txtTarefasSemCadastro->text(), QStringLiteral("Sem Tarefas Cadastradas"));
    EXPECT_FALSE(p.grdTarefas->isEnabled());

    // Typed (the apostrophe key is dropped, Enter makes a line) or pasted (kept as it is).
    const struct {
        QString digitado, colado, gravado;
    } casos[] = {
        {QStringLiteral("Ligar p'ra Ana\rÀs 9h"), {}, QStringLiteral("Ligar pra Ana<CR><LF>Às 9h")},
        {{}, QStringLiteral("  O'Brien: 100% \"feito\"\r\nação  "), QStringLiteral("O'Brien: 100% \"feito\"<CR><LF>ação")},
    };
    for (const auto &c : casos) {
        p.cmdTarefaNova->click();
        EXPECT_TRUE(p.frmTarefasDados->isVisible());
        EXPECT_FALSE(frmAgenda().imgImpressora->isVisible());
        EXPECT_TRUE(p.optTarefaNormal->isChecked());
        EXPECT_FALSE(p.chkTarefaExecutado->isChecked());
        EXPECT_FALSE(p.chkTarefaExecutado->isEnabled());
        EXPECT_FALSE(p.cmdTarefaExcluir->isVisible());
        EXPECT_EQ(p.txtTarefaDataInicio->text(), QStringLiteral("09/12/2026"));
        EXPECT_EQ(p.txtTarefaDataFim->text(), QStringLiteral("09/12/2026"));
        EXPECT_EQ(p.txtTarefaDescricao->text(), QString());
        EXPECT_EQ(frmAgenda().focusWidget(), p.txtTarefaDescricao);
        Digitar(p.txtTarefaDescricao, c.digitado);
        if (!c.colado.isEmpty())
            p.txtTarefaDescricao->setText(c.colado);
        p.cmdTarefaSalvar->click();
        EXPECT_FALSE(p.frmTarefasDados->isVisible());
        EXPECT_TRUE(frmAgenda().imgImpressora->isVisible());
        EXPECT_EQ(base.Valor(QStringLiteral("Select Descricao from Tarefas Order By Chave Desc")).replace(u'\r', QStringLiteral("<CR>")).replace(u'\n', QStringLiteral("<LF>")),
                  c.gravado);
    }
    EXPECT_EQ(gravadas().count(QStringLiteral("2026-12-09>2026-12-09:")), 2);
    EXPECT_TRUE(gravadas().endsWith(QStringLiteral(":0:1")));
    EXPECT_EQ(p.grdTarefas->Rows(), 3);
    EXPECT_TRUE(p.grdTarefas->isEnabled());
    EXPECT_FALSE(p.txtTarefasSemCadastro->isVisible());
}

TEST_F(Tarefas, LimiteDe255ContaCadaQuebraComoCRLF)
{
    PainelTarefas &p = abrir();
    p.cmdTarefaNova->click();
    p.txtTarefaDescricao->setText(QString(300, u'x'));
    EXPECT_EQ(p.txtTarefaDescricao->text().size(), 255);
    p.txtTarefaDescricao->setText(QString(250, u'x') + QStringLiteral("\r\n\r\nyyy"));
    EXPECT_EQ(p.txtTarefaDescricao->text(), QString(250, u'x') + QStringLiteral("\r\n\r\ny"));
    Digitar(p.txtTarefaDescricao, QStringLiteral("z"));
    Digitar(p.txtTarefaDescricao, QString(QChar(13)));
    EXPECT_EQ(p.txtTarefaDescricao->text().size(), 255);
    p.cmdTarefaSalvar->click();
    EXPECT_EQ(base.Valor(QStringLiteral("Select length(Descricao) from Tarefas")), QStringLiteral("255"));
}

TEST_F(Tarefas, VerificacoesNaOrdemNaoGravamEMantemOFormulario)
{
    PainelTarefas &p = abrir();
    const struct {
        const char *inicio, *fim, *descricao, *mensagem;
        int icone;
        bool focoNaDescricao;
    } casos[] = {
        {"10/12/2026", "09/12/2026", "", "Data Final não pode ser menor que Data Início!", 3, false},
        {"01/01/2027", "31/12/2026", "x", "Data Final não pode ser menor que Data Início!", 3, false},
        {"09/12/2026", "09/12/2026", "", "Informe a Descrição da Tarefa!", 2, true},
        {"09/12/2026", "10/12/2026", "   ", "Informe a Descrição da Tarefa!", 2, true},
        {"09/12/2026", "10/12/2026", " \n\n ", "Informe a Descrição da Tarefa!", 2, true},
    };
    for (const auto &c : casos) {
        p.cmdTarefaNova->click();
        p.txtTarefaDataInicio->setText(QString::fromLatin1(c.inicio));
        p.txtTarefaDataFim->setText(QString::fromLatin1(c.fim));
        p.txtTarefaDescricao->setText(QString::fromLatin1(c.descricao));
        auto vista = ResponderMensagem();
        p.cmdTarefaSalvar->click();
        EXPECT_EQ(vista->texto.toStdString(), c.mensagem) << c.inicio << c.descricao;
        EXPECT_EQ(vista->icone, c.icone) << c.mensagem;
        EXPECT_EQ(vista->botoes, 1);
        EXPECT_EQ(frmAgenda().focusWidget() == p.txtTarefaDescricao, c.focoNaDescricao) << c.mensagem;
        EXPECT_TRUE(p.frmTarefasDados->isVisible());
        EXPECT_EQ(p.txtTarefaDescricao->toPlainText(), QString::fromLatin1(c.descricao));
        EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Tarefas")), QStringLiteral("0"));
    }
}

TEST_F(Tarefas, CalendarioDoInicioLevaOFim)
{
    PainelTarefas &p = abrir();
    p.cmdTarefaNova->click();
    const auto escolher = [&](tk::BotaoFigura *botao, const QDate &dia, int left) {
        botao->click();
        EXPECT_TRUE(p.calTarefas->isVisible());
        EXPECT_EQ(tk::Left(*p.calTarefas), left);
        p.calTarefas->DefinirValue(dia);
        p.calTarefas->DateClick();
        EXPECT_FALSE(p.calTarefas->isVisible());
    };
    escolher(p.cmdCalTarefaFim, QDate(2026, 12, 31), 3015);
    EXPECT_EQ(p.txtTarefaDataInicio->text(), QStringLiteral("09/12/2026"));
    EXPECT_EQ(p.txtTarefaDataFim->text(), QStringLiteral("31/12/2026"));
    p.cmdCalTarefaInicio->click();
    EXPECT_EQ(p.calTarefas->Value(), hoje);  // opens on the date it edits
    escolher(p.cmdCalTarefaInicio, QDate(2026, 12, 15), 135);
    EXPECT_EQ(p.txtTarefaDataInicio->text(), QStringLiteral("15/12/2026"));
    EXPECT_EQ(p.txtTarefaDataFim->text(), QStringLiteral("15/12/2026"));  // the later end moved back
    p.txtTarefaDescricao->setText(QStringLiteral("No mesmo dia"));
    p.cmdTarefaSalvar->click();
    EXPECT_EQ(gravadas(), QStringLiteral("2026-12-15>2026-12-15:No mesmo dia:0:1"));
}

TEST_F(Tarefas, AbrirMarcarExecutadaEExcluir)
{
    // Keys past 2^32 still reach the right row.
    base.Executar(QStringLiteral("Insert into sqlite_sequence(name, seq) values ('Tarefas', 4294967296)"));
    inserir(eu, "2026-12-01", "2026-12-10", "Primeira\r\nlinha dois", "0", 2);
    inserir(eu, "2026-12-01", "2026-12-11", "Segunda", "0", 0);
    inserir(outro, "2026-12-01", "2026-12-10", "Do outro", "0", 2);
    PainelTarefas &p = abrir();
    p.AbrirLinha(1);
    EXPECT_GT(Sessao.ChaveTarefa, 4294967296LL);
    EXPECT_TRUE(p.frmTarefasDados->isVisible());
    EXPECT_TRUE(p.cmdTarefaExcluir->isVisible());
    EXPECT_TRUE(p.chkTarefaExecutado->isEnabled());
    EXPECT_FALSE(p.chkTarefaExecutado->isChecked());
    EXPECT_TRUE(p.optTarefaBaixa->isChecked());
    EXPECT_EQ(p.txtTarefaDescricao->text(), QStringLiteral("Primeira\r\nlinha dois"));
    EXPECT_EQ(p.txtTarefaDataInicio->text(), QStringLiteral("01/12/2026"));
    EXPECT_EQ(p.txtTarefaDataFim->text(), QStringLiteral("10/12/2026"));
    p.chkTarefaExecutado->setChecked(true);
    p.optTarefaAlta->setChecked(true);
    p.cmdTarefaSalvar->click();
    EXPECT_EQ(gravadas(), QStringLiteral("2026-12-01>2026-12-10:Primeira<CR><LF>linha dois:1:0 | 2026-12-01>2026-12-11:Segunda:0:0"));
    EXPECT_EQ(gravadas(outro), QStringLiteral("2026-12-01>2026-12-10:Do outro:0:2"));
    p.AbrirLinha(1);
    EXPECT_TRUE(p.chkTarefaExecutado->isChecked());
    EXPECT_TRUE(p.optTarefaAlta->isChecked());
    p.cmdTarefaVoltar->click();
    EXPECT_FALSE(p.frmTarefasDados->isVisible());
    EXPECT_TRUE(frmAgenda().imgImpressora->isVisible());

    for (const bool confirmar : {false, true}) {
        p.AbrirLinha(2);
        auto vista = ResponderMensagem(confirmar);
        p.cmdTarefaExcluir->click();
        EXPECT_EQ(vista->texto, QStringLiteral("Você Confirma Exclusão da Tarefa?"));
        EXPECT_EQ(vista->icone, 1);
        EXPECT_EQ(vista->botoes, 0);
        EXPECT_EQ(p.frmTarefasDados->isVisible(), !confirmar);
    }
    EXPECT_EQ(gravadas(), QStringLiteral("2026-12-01>2026-12-10:Primeira<CR><LF>linha dois:1:0"));
    p.AbrirLinha(1);
    ResponderMensagem(true);
    p.cmdTarefaExcluir->click();
    EXPECT_EQ(gravadas(), QString());
    EXPECT_EQ(gravadas(outro), QStringLiteral("2026-12-01>2026-12-10:Do outro:0:2"));
    EXPECT_TRUE(p.txtTarefasSemCadastro->isVisible());
    EXPECT_FALSE(p.grdTarefas->isEnabled());
}

TEST_F(Tarefas, ErroDoBancoMantemOFormularioComOQueFoiDigitado)
{
    QStringList erros;
    tk::DefinirTratadorErro([&](const QString &e) { erros << e; });
    inserir(eu, "2026-12-01", "2026-12-10", "Antiga", "0", 1);
    PainelTarefas &p = abrir();
    base.Executar(QStringLiteral("Create Trigger falha Before Insert On Tarefas Begin Select raise(ABORT, 'disco cheio'); End"));
    p.cmdTarefaNova->click();
    p.txtTarefaDescricao->setText(QStringLiteral("Não se perde"));
    p.optTarefaAlta->setChecked(true);
    p.cmdTarefaSalvar->click();
    EXPECT_EQ(erros.size(), 1);
    EXPECT_TRUE(p.frmTarefasDados->isVisible());
    EXPECT_FALSE(frmAgenda().imgImpressora->isVisible());
    EXPECT_EQ(p.txtTarefaDescricao->text(), QStringLiteral("Não se perde"));
    EXPECT_TRUE(p.optTarefaAlta->isChecked());
    EXPECT_EQ(p.grdTarefas->TextMatrix(1, 4), QStringLiteral("Antiga"));
    EXPECT_EQ(gravadas(), QStringLiteral("2026-12-01>2026-12-10:Antiga:0:1"));
}

TEST_F(Tarefas, SaidaEsqueceAsTarefasDoUsuario)
{
    inserir(eu, "2026-12-01", "2026-12-10", "Segredo", "0", 0);
    PainelTarefas &p = abrir();
    p.AbrirLinha(1);
    frmAgenda().frmAgenda_cmdLogout_Click();
    EXPECT_EQ(Sessao.ChaveTarefa, 0);
    EXPECT_EQ(p.grdTarefas->Rows(), 1);
    EXPECT_TRUE(frmAgenda().frmTarefas->TarefasExibidas().isEmpty());
    EXPECT_FALSE(p.frmTarefasDados->isVisible());
    EXPECT_EQ(p.txtTarefaDescricao->text(), QString());

    abrir(QStringLiteral("OUTRO"));
    EXPECT_EQ(p.grdTarefas->Rows(), 1);
    EXPECT_TRUE(p.txtTarefasSemCadastro->isVisible());
}
