// Printed reports: the padding and cutting rules, the page frame, the report of the day and the
// printer layer, on a recording printer and on a real PDF read back with pdftotext.

#include "apoio.h"
#include "appointments/modCompromissos.h"
#include "appointments/painel_compromissos.h"
#include "contacts/painel_enderecos.h"
#include "core/frmAgenda.h"
#include "core/sessao.h"
#include "contacts/modEndereco.h"
#include "finances/modFinancas.h"
#include "platform/bandeja.h"
#include "platform/impressora.h"
#include "platform/localidade.h"
#include "platform/modal.h"
#include "platform/relogio.h"
#include "reports/modRelatorios.h"
#include "tasks/modTarefas.h"

#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// What a recording printer kept: every line of text and every rule with its place and page.
struct Gravado {
    struct Texto {
        int pagina, x, y;
        bool negrito;
        QString texto;
    };
    QVector<Texto> textos;
    QVector<QLine> regras;
    int pagina = 1;
    bool terminado = false;
    QStringList linhasDaPagina(int p) const
    {
        QStringList l;
        for (const Texto &t : textos)
            if (t.pagina == p)
                l << t.texto;
        return l;
    }
};

struct Gravadora : impressora::Impressora {
    std::shared_ptr<Gravado> g = std::make_shared<Gravado>();
    bool falhar = false;
    bool EndDoc(QString *erro) override
    {
        g->terminado = true;
        if (falhar && erro)
            *erro = QStringLiteral("papel preso");
        return !falhar;
    }

protected:
    void imprimirLinha(const QString &linha) override { g->textos.push_back({g->pagina, CurrentX, CurrentY, FontBold, linha}); }
    int alturaDaLinha() override { return 210; }
    void tracar(int x1, int y1, int x2, int y2) override { g->regras.push_back(QLine(x1, y1, x2, y2)); }
    void novaPagina() override { ++g->pagina; }
};

const QDateTime agora(QDate(2026, 12, 9), QTime(14, 5));

} // namespace

TEST(Relatorio, PreencherECortar)
{
    EXPECT_EQ(Preencher(QStringLiteral("ab"), 5), QStringLiteral("ab   "));
    EXPECT_EQ(Preencher(QStringLiteral("ab"), 5, true), QStringLiteral("   ab"));
    EXPECT_EQ(Preencher(QString(), 3), QStringLiteral("   "));
    EXPECT_EQ(Preencher(QStringLiteral("abcdef"), 3, true), QStringLiteral("abcdef"));

    // Piece lengths by description length, around every boundary, for the three widths.
    const struct {
        int largura, n;
        bool ateQuatro;
        QVector<int> pedacos;
    } casos[] = {
        {88, 88, false, {88}},        {88, 89, false, {88, 1, 0}},   {88, 90, false, {88, 2}},
        {88, 176, false, {88, 88}},   {88, 177, false, {88, 88, 1}}, {88, 300, false, {88, 88, 124}},
        {63, 63, true, {63}},         {63, 64, true, {63, 1, 0, 0}}, {63, 126, true, {63, 63}},
        {63, 127, true, {63, 63, 1, 0}}, {63, 128, true, {63, 63, 2}}, {63, 189, true, {63, 63, 63}},
        {63, 190, true, {63, 63, 63, 1}}, {68, 69, true, {68, 1, 0, 0}}, {68, 137, true, {68, 68, 1, 0}},
        {68, 138, true, {68, 68, 2}}, {68, 205, true, {68, 68, 68, 1}},
    };
    for (const auto &c : casos) {
        QVector<int> pedacos;
        for (const QString &p : CortarDescricao(QString(c.n, u'x'), c.largura, c.ateQuatro))
            pedacos << int(p.size());
        EXPECT_EQ(pedacos, c.pedacos) << c.largura << "/" << c.n;
    }
    // Every line break is one blank, whichever form an older row stored it in.
    for (const char *quebra : {"\r\n", "\n", "\r"})
        EXPECT_EQ(CortarDescricao(QStringLiteral("  a") + QLatin1String(quebra) + QStringLiteral("b  "), 10, false),
                  QStringList{QStringLiteral("a b")})
            << quebra;
}

TEST(Relatorio, DoDiaPulaVaziosEContinuacoes)
{
    QVector<LinhaGrade> linhas(5);
    linhas[0] = {7, QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("N"), 1, {}, {}, QStringLiteral("Aniversário de Ana")};
    linhas[1] = {0, QStringLiteral("0"), {}, {}, 0, QStringLiteral("08:00"), {}, {}};
    linhas[2] = {9, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("N"), 1, QStringLiteral("09:00"), QStringLiteral("10:00"), QString(100, u'a')};
    linhas[3] = {10, QStringLiteral("9"), QStringLiteral("0"), QStringLiteral("N"), 1, QStringLiteral("09:30"), {}, QString(100, u'a')};
    linhas[4] = {11, QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("S"), 2, QStringLiteral("11:00"), {}, QStringLiteral("Reunião [BIA]")};
    const Relatorio r = RelatorioDoDia(QStringLiteral("quarta-feira, 9 de dezembro de 2026"), QString(40, u'N'), linhas);
    EXPECT_EQ(r.cabecalho, QStringLiteral(" Compromissos do Dia : quarta-feira, 9 de dezembro de 2026 da Agenda do ") + QString(30, u'N'));
    ASSERT_EQ(r.registros.size(), 3);
    EXPECT_EQ(r.registros[0][0].texto, QStringLiteral("  ") + QString(13, u' ') + QStringLiteral(" | Aniversário de Ana"));
    EXPECT_EQ(r.registros[1][0].texto, QStringLiteral("  09:00 - 10:00 | ") + QString(88, u'a') + QStringLiteral("\r\n") +
                                           QString(16, u' ') + QStringLiteral("| ") + QString(12, u'a'));
    EXPECT_EQ(r.registros[2][0].texto, QStringLiteral("  11:00         | Reunião [BIA]"));
    EXPECT_EQ(r.registros[2][1].texto, QStringLiteral(" "));
}

TEST(Relatorio, DoMesComSaldosEValoresNaColunaCerta)
{
    const QVector<LinhaLancamento> linhas = {
        {1, QDate(2026, 12, 1), QStringLiteral("Aluguel"), 0, 150000, true},
        {2, QDate(2026, 12, 5), QString(64, u'd'), 250050, 0, false},
    };
    const Relatorio r = RelatorioDoMes(QStringLiteral("  Dezembro "), QStringLiteral("2026"), QStringLiteral("Ana"), linhas, u',',
                                       QStringLiteral("100,00"), QStringLiteral("-1400,00"));
    EXPECT_EQ(r.cabecalho, QStringLiteral(" Financas do Mês de Dezembro/2026 da Agenda do Ana"));
    EXPECT_EQ(r.abertura, QStringList{QString(75, u' ') + QStringLiteral("Saldo Inicial : ") + QString(9, u' ') + QStringLiteral("100,00")});
    ASSERT_EQ(r.registros.size(), 2);
    // A payment after 11 and 2 blanks with "-"; a receipt right after the closing " | " with "+".
    EXPECT_EQ(r.registros[0][0].texto, QStringLiteral("  01/12/2026X| ") + Preencher(QStringLiteral("Aluguel"), 63) + QStringLiteral(" | ") +
                                           QString(13, u' ') + QStringLiteral("    1500,00-"));
    const QString continuacao = QStringLiteral(" | \r\n") + QString(13, u' ') + QStringLiteral("| ");
    EXPECT_EQ(r.registros[1][0].texto, QStringLiteral("  05/12/2026 | ") + QString(63, u'd') + continuacao + QStringLiteral("d") + continuacao +
                                           continuacao + QString(63, u' ') +
                                           QStringLiteral(" | ") + QStringLiteral("    2500,50+"));
    EXPECT_EQ(r.fechamento, QStringList{QString(75, u' ') + QStringLiteral("  Saldo Atual : ") + QString(7, u' ') + QStringLiteral("-1400,00")});
}

TEST(Relatorio, EnderecosETarefasColunaAColuna)
{
    // A contact's record: the name line in bold, the note in one, two or three lines by length.
    for (const auto &[nota, linhasDaNota] : std::vector<std::pair<int, int>>{{100, 1}, {101, 2}, {200, 2}, {201, 3}}) {
        LinhaContato l;
        l.contato.nome = QStringLiteral("Ângela");
        l.contato.aniversario = QStringLiteral("05/03");
        l.contato.cidade = QStringLiteral("Recife");
        l.contato.estado = QStringLiteral("PE");
        l.contato.foneCel = QStringLiteral("(81)99999");
        l.contato.observacao = QString(nota, u'o');
        const Relatorio r = RelatorioDeEnderecos(QStringLiteral("Ana"), {l, l});
        EXPECT_EQ(r.cabecalho, QStringLiteral(" Endereços da Agenda do Ana"));
        EXPECT_FALSE(r.quebraAposUltimo);
        ASSERT_EQ(r.registros.size(), 2);
        const RegistroRelatorio &c = r.registros.first();
        ASSERT_EQ(c.size(), 6 + linhasDaNota) << nota;
        EXPECT_EQ(c[0], (LinhaRelatorio{QStringLiteral("    ") + Preencher(QStringLiteral("Ângela"), 75) + QStringLiteral(" - 05/03"), true}));
        EXPECT_EQ(c[2].texto.toStdString(), (QStringLiteral("    Recife") + QString(24, u' ') + QStringLiteral(" - PE - ") + QString(8, u' ') + QStringLiteral(" - ") +
                                  QString(15, u' ') + QStringLiteral(" - (81)99999       - ") + QString(15, u' ')).toStdString());
        QString notaLida;
        for (int i = 5; i < 5 + linhasDaNota; ++i) {
            EXPECT_TRUE(c[i].texto.startsWith(QStringLiteral("    o")));
            notaLida += c[i].texto.mid(4);
        }
        EXPECT_EQ(notaLida.trimmed().size(), nota);
        EXPECT_EQ(c.last().texto, QString(5, u' '));
    }
    // A note's line breaks print as blanks, like a description's, so none splits its record.
    LinhaContato comQuebras;
    comQuebras.contato.observacao = QStringLiteral("linha um\r\nlinha dois\nfim");
    EXPECT_EQ(RelatorioDeEnderecos(QStringLiteral("Ana"), {comQuebras}).registros.first()[5].texto,
              QStringLiteral("    ") + Preencher(QStringLiteral("linha um linha dois fim"), 100));

    // Tasks: the seven-character priority, a description of 69 cut in four, the end date, "X".
    const QVector<LinhaTarefa> tarefas = {
        {1, QStringLiteral("0"), QDate(2026, 12, 1), QDate(2026, 12, 9), QStringLiteral("Ligar"), 0},
        {2, QStringLiteral("1"), QDate(2026, 12, 2), QDate(2026, 12, 10), QStringLiteral("Pagar\r\nconta"), 1},
        {3, QStringLiteral("0"), QDate(2026, 12, 3), QDate(2026, 12, 11), QString(69, u't'), 2},
    };
    const Relatorio r = RelatorioDeTarefas(QStringLiteral("Ana"), tarefas);
    EXPECT_EQ(r.cabecalho, QStringLiteral(" Tarefas da Agenda do Ana"));
    ASSERT_EQ(r.registros.size(), 3);
    EXPECT_EQ(r.registros[0][0].texto, QStringLiteral("  01/12/2026  Alta  | ") + Preencher(QStringLiteral("Ligar"), 68) + QStringLiteral(" |  09/12/2026"));
    EXPECT_EQ(r.registros[1][0].texto, QStringLiteral("  02/12/2026 Normal | ") + Preencher(QStringLiteral("Pagar conta"), 68) +
                                           QStringLiteral(" |  10/12/2026 X"));
    const QString continuacao = QStringLiteral(" | \r\n") + QString(20, u' ') + QStringLiteral("| ");
    EXPECT_EQ(r.registros[2][0].texto, QStringLiteral("  03/12/2026  Baixa | ") + QString(68, u't') + continuacao + QStringLiteral("t") +
                                           continuacao + continuacao + QString(68, u' ') + QStringLiteral(" |  11/12/2026"));
}

TEST(Relatorio, PaginasComCabecalhoRegraERodape)
{
    Relatorio r;
    r.cabecalho = QStringLiteral(" Teste");
    r.abertura = {QStringLiteral("abertura")};
    for (int i = 0; i < 40; ++i)
        r.registros.push_back({{QStringLiteral("registro %1").arg(i), i == 0}, {QStringLiteral(" ")}});
    r.fechamento = {QStringLiteral("fechamento")};
    Gravadora impressora;
    const Gravado &g = *impressora.g;
    QString erro;
    ASSERT_TRUE(ImprimirRelatorio(impressora, r, agora, &erro));
    EXPECT_TRUE(g.terminado);
    ASSERT_EQ(g.pagina, 2);
    for (int p = 1; p <= 2; ++p) {
        const QStringList l = g.linhasDaPagina(p);
        EXPECT_EQ(l.first(), QStringLiteral(" Teste")) << p;
        EXPECT_EQ(l.last(), QStringLiteral(" 09/12/2026 14:05") + QString(50, u' ') + QStringLiteral("Página : 0%1").arg(p));
    }
    EXPECT_EQ(g.textos.first().x, 100);
    EXPECT_EQ(g.textos.first().y, 100);
    EXPECT_EQ(g.textos[1].texto, QStringLiteral("abertura"));
    EXPECT_EQ(g.textos[1].y, 500);
    EXPECT_EQ(g.textos[2].y, 500 + 210 + 100);
    EXPECT_TRUE(g.textos[2].negrito);
    EXPECT_FALSE(g.textos[3].negrito);
    EXPECT_EQ(g.regras.first(), QLine(100, 400, 11200, 400));
    // Records are never split: the first page ends with a whole record past y 14000.
    const QStringList primeira = g.linhasDaPagina(1);
    EXPECT_EQ(primeira.at(primeira.size() - 2), QStringLiteral(" "));
    EXPECT_EQ(g.linhasDaPagina(2).at(1), QStringLiteral("registro %1").arg((primeira.size() - 3) / 2));
    EXPECT_EQ(g.linhasDaPagina(2).at(g.linhasDaPagina(2).size() - 2), QStringLiteral("fechamento"));

    impressora.falhar = true;
    EXPECT_FALSE(ImprimirRelatorio(impressora, r, agora, &erro));
    EXPECT_EQ(erro, QStringLiteral("papel preso"));
}

TEST(Relatorio, PdfLidoDeVoltaComPdftotext)
{
    QTemporaryDir pasta;
    const QString pdf = pasta.filePath(QStringLiteral("dia.pdf"));
    qputenv("VELORA_PDF", pdf.toUtf8());
    Relatorio r;
    r.cabecalho = QStringLiteral(" Compromissos do Dia : quarta-feira da Agenda do Ana");
    for (int i = 0; i < 60; ++i)
        r.registros.push_back({{QStringLiteral("  09:00 - 10:00 | Reunião %1 ").arg(i) + QString(80, u'x')}, {QStringLiteral(" ")}});
    QString erro;
    std::unique_ptr<impressora::Impressora> p = impressora::Abrir(&erro);
    ASSERT_TRUE(p) << erro.toStdString();
    ASSERT_TRUE(ImprimirRelatorio(*p, r, agora, &erro)) << erro.toStdString();
    qunsetenv("VELORA_PDF");

    QProcess texto;
    texto.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(texto.waitForFinished(30000));
    ASSERT_EQ(texto.exitCode(), 0) << texto.readAllStandardError().toStdString();
    const QString lido = QString::fromUtf8(texto.readAllStandardOutput());
    EXPECT_EQ(lido.count(QStringLiteral("Compromissos do Dia : quarta-feira da Agenda do Ana")), lido.count(u'\f'));
    EXPECT_GE(lido.count(u'\f'), 2);
    EXPECT_TRUE(lido.contains(QStringLiteral("Página : 02")));
    // The widest line is not cut at the page's edge.
    EXPECT_TRUE(lido.contains(QStringLiteral("Reunião 59 ") + QString(80, u'x')));
}

namespace {

struct Impressao : ::testing::Test {
    BaseDeTeste base;
    std::shared_ptr<Gravado> gravadora;
    bool semImpressora = false;
    void SetUp() override
    {
        bandeja::DefinirDisponivel(true);
        relogio::DefinirAgora(agora);
        localidade::Definir(QLocale(QLocale::Portuguese, QLocale::Brazil));
        impressora::DefinirFabrica([this](QString *erro) -> std::unique_ptr<impressora::Impressora> {
            if (semImpressora) {
                *erro = QStringLiteral("nenhuma impressora instalada");
                return nullptr;
            }
            auto g = std::make_unique<Gravadora>();
            gravadora = g->g;
            return g;
        });
        base.InserirUsuario(QStringLiteral("ANA"), std::nullopt, QStringLiteral("Ana Souza"));
        base.InserirUsuario(QStringLiteral("BIA"), std::nullopt);
    }
    void TearDown() override
    {
        impressora::DefinirFabrica({});
        EXPECT_EQ(modal::RoteirosPendentes(), 0);
    }
};

} // namespace

TEST_F(Impressao, FiguraDaImpressoraImprimeOPainelEAvisa)
{
    base.Executar(QStringLiteral("Insert into Compromissos(Usuario,Data,Hora,HoraFim,Compromisso,ChavePai,Status,Compartilhado) "
                                 "values (1,'2026-12-09','09:00:00','10:00:00','Aula',0,'0','N')"));
    Entrar(QStringLiteral("ANA"));
    FrmAgenda &f = frmAgenda();
    f.frmAgenda_imgNotas_Click();
    f.frmAgenda_imgImpressora_Click();  // nothing to print on the note
    EXPECT_EQ(gravadora, nullptr);

    f.frmAgenda_imgCompromissos_Click();
    auto ok = ResponderMensagem();
    f.frmAgenda_imgImpressora_Click();
    EXPECT_EQ(ok->texto, QStringLiteral("Documento Impresso com Sucesso"));
    EXPECT_EQ(ok->icone, 0);
    ASSERT_NE(gravadora, nullptr);
    EXPECT_TRUE(gravadora->linhasDaPagina(1).contains(QStringLiteral("  09:00 - 10:00 | Aula")));

    const struct {
        bool semImpressora, falhar, vazio;
        const char *mensagem;
        int icone;
    } falhas[] = {
        {true, false, false, "Não Foi Possível Imprimir: nenhuma impressora instalada!", 3},
        {false, false, true, "Não Há Nada para Imprimir!", 2},
    };
    for (const auto &c : falhas) {
        semImpressora = c.semImpressora;
        gravadora = nullptr;
        if (c.vazio)
            base.Executar(QStringLiteral("Delete from Compromissos"));
        frmAgenda().frmCompromissos->MontarGrade(Sessao.DiaExibido);
        auto aviso = ResponderMensagem();
        f.frmAgenda_imgImpressora_Click();
        EXPECT_EQ(aviso->texto.toStdString(), c.mensagem);
        EXPECT_EQ(aviso->icone, c.icone);
        EXPECT_EQ(gravadora, nullptr) << c.mensagem;
    }
}

TEST_F(Impressao, CadaPainelImprimeOQueMostra)
{
    base.Executar(QStringLiteral("Insert into Enderecos(Usuario,Nome,Compartilhado) values (1,'Zé D''Ávila','N'),(1,'Bruno','N'),"
                                 "(2,'Carla','S')"));
    base.Executar(QStringLiteral("Insert into Tarefas(Usuario,Data,DataFim,Descricao,Status,Prioridade) "
                                 "values (1,'2026-12-01','2026-12-20','Revisar',1,0)"));
    base.Executar(QStringLiteral("Insert into Financas(Usuario,Data,Descricao,Recebido,Pago,Efetuado) values (1,'2026-12-03','Luz',Null,80.5,'S')"));
    Entrar(QStringLiteral("ANA"));
    FrmAgenda &f = frmAgenda();
    PainelEnderecos &e = *f.frmEndereco;
    const auto imprimir = [&](const std::function<void()> &abrir) {
        abrir();
        gravadora = nullptr;
        auto ok = ResponderMensagem();
        f.frmAgenda_imgImpressora_Click();
        EXPECT_EQ(ok->texto, QStringLiteral("Documento Impresso com Sucesso"));
        return gravadora ? gravadora->linhasDaPagina(1) : QStringList();
    };

    // The contacts as the last search found them: an apostrophe is searched as typed.
    QStringList l = imprimir([&] {
        f.frmAgenda_imgEnderecos_Click();
        e.txtPesquisaNome->setText(QStringLiteral("d'á"));
        e.frmAgenda_cmdEnderecoPesquisar_Click();
    });
    ASSERT_EQ(l.size(), 9);
    EXPECT_EQ(l[0], QStringLiteral(" Endereços da Agenda do Ana Souza"));
    EXPECT_TRUE(l[1].startsWith(QStringLiteral("    Zé D'Ávila ")));
    // Another user's shared contact only with the preference on.
    Sessao.VisualizarCompartilhamento = true;
    l = imprimir([&] { e.frmAgenda_cmdEnderecoLimpar_Click(); e.frmAgenda_cmdEnderecoPesquisar_Click(); });
    ASSERT_EQ(l.size(), 1 + 3 * 7 + 1);
    EXPECT_TRUE(l[1].startsWith(QStringLiteral("    Bruno ")) && l[8].startsWith(QStringLiteral("    Carla ")) &&
                l[15].startsWith(QStringLiteral("    Zé D'Ávila ")));

    l = imprimir([&] { f.frmAgenda_imgTarefas_Click(); });
    EXPECT_EQ(l.value(0), QStringLiteral(" Tarefas da Agenda do Ana Souza"));
    EXPECT_EQ(l.value(1), QStringLiteral("  01/12/2026  Alta  | ") + Preencher(QStringLiteral("Revisar"), 68) + QStringLiteral(" |  20/12/2026 X"));

    l = imprimir([&] { f.frmAgenda_imgFinancas_Click(); });
    EXPECT_EQ(l.value(0), QStringLiteral(" Financas do Mês de Dezembro/2026 da Agenda do Ana Souza"));
    EXPECT_TRUE(l.value(2).startsWith(QStringLiteral("  03/12/2026X| Luz ")) && l.value(2).endsWith(QStringLiteral("      80,50-")))
        << l.value(2).toStdString();

    // The system's own printing with no printer installed and no PDF named: the user is told.
    impressora::DefinirFabrica({});
    ASSERT_TRUE(QPrinterInfo::defaultPrinter().isNull()) << "esta máquina tem uma impressora";
    qunsetenv("VELORA_PDF");
    auto aviso = ResponderMensagem();
    f.frmAgenda_imgImpressora_Click();
    EXPECT_EQ(aviso->texto, QStringLiteral("Não Foi Possível Imprimir: nenhuma impressora instalada!"));
}
