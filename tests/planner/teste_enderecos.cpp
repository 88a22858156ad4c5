// The address book: the contact list with its tabs and search, the contact panel, and the
// birthday rows the contacts keep in the appointments.

#include "apoio.h"
#include "appointments/modCompromissos.h"
#include "appointments/painel_compromissos.h"
#include "contacts/modEndereco.h"
#include "contacts/painel_enderecos.h"
#include "core/frmAgenda.h"
#include "core/modDb.h"
#include "core/sessao.h"
#include "platform/bandeja.h"
#include "platform/documentos.h"
#include "platform/modal.h"
#include "platform/relogio.h"

#include <gtest/gtest.h>

namespace {

const QDate hoje(2026, 3, 10);

struct Enderecos : ::testing::Test {
    BaseDeTeste base;
    qint64 eu = 0, joana = 0;
    QList<QUrl> abertos;
    bool abreEmail = true;
    QStringList erros;
    void SetUp() override
    {
        bandeja::DefinirDisponivel(true);
        relogio::DefinirAgora(QDateTime(hoje, QTime(8, 0)));
        documentos::DefinirAbridor([this](const QUrl &u) {
            abertos << u;
            return abreEmail;
        });
        eu = base.InserirUsuario(QStringLiteral("EU"), std::nullopt);
        joana = base.InserirUsuario(QStringLiteral("JOANA"), std::nullopt);
        Sessao.Codigo = eu;
        Sessao.VisualizarCompartilhamento = true;
    }
    void TearDown() override { EXPECT_EQ(modal::RoteirosPendentes(), 0); }

    PainelEnderecos &abrir(const QString &login = QStringLiteral("EU"))
    {
        Entrar(login);
        frmAgenda().frmAgenda_imgEnderecos_Click();
        return *frmAgenda().frmEndereco;
    }
    void inserir(qint64 dono, const QString &nome, const QString &outros = QStringLiteral("NULL,NULL,NULL,NULL,'N'"))
    {
        base.Executar(QStringLiteral("Insert into Enderecos(Usuario,Nome,Empresa,FoneRes,FoneCom,FoneCel,Compartilhado) values (%1,'%2',%3)")
                          .arg(dono).arg(SqlTexto(nome), outros));
    }
    static QStringList nomes(const QVector<LinhaContato> &linhas)
    {
        QStringList n;
        for (const LinhaContato &l : linhas)
            n << l.NomeExibido();
        return n;
    }
    // The birthday rows of the file as "data:titulo:compartilhado".
    QString aniversarios()
    {
        return base.Valor(QStringLiteral("Select group_concat(Data||':'||Compromisso||':'||Compartilhado, ' | ') from (Select * from Compromissos "
                                         "Where Status = '2' and Hora is Null and HoraFim is Null and ChavePai = 0 Order By Chave)"));
    }
    QString chaveGuardada(const QString &nome)
    {
        return base.Valor(QStringLiteral("Select ChaveAniversario from Enderecos Where Nome = '%1'").arg(nome));
    }
};

// The colour the tab is painted with, read from its picture.
QColor corDaAba(tk::Botao *aba)
{
    return aba->grab().toImage().pixelColor(3, aba->height() / 2);
}

} // namespace

TEST(RegrasDoContato, NomeAniversarioEProximaData)
{
    const std::pair<const char *, const char *> nomes[] = {
        {"  maria", "Maria"}, {"ángela", "Ángela"}, {"joão da silva ", "João da silva"}, {"ÉLEN", "ÉLEN"}, {"1º de maio", "1º de maio"}};
    for (const auto &[digitado, guardado] : nomes)
        EXPECT_EQ(NomeDoContato(QString::fromUtf8(digitado)).toStdString(), guardado);
    const std::pair<const char *, const char *> aniversarios[] = {
        {"10/03", "10/03"}, {"5/3", "05/03"}, {"28/02", "28/02"}, {"29/02", ""}, {"31/04", ""}, {"00/01", ""},
        {"15/13", ""},      {"15/", ""},      {"15/03/2020", ""}, {"abc", ""},
    };
    for (const auto &[digitado, lido] : aniversarios)
        EXPECT_EQ(LerAniversario(QString::fromLatin1(digitado)).value_or(QString()).toStdString(), lido) << digitado;
    EXPECT_EQ(ProximoAniversario(QStringLiteral("10/03"), QDate(2026, 3, 10)), QDate(2027, 3, 10));  // today goes a year ahead
    EXPECT_EQ(ProximoAniversario(QStringLiteral("10/03"), QDate(2026, 3, 9)), QDate(2026, 3, 10));
    EXPECT_EQ(ProximoAniversario(QStringLiteral("01/01"), QDate(2026, 12, 31)), QDate(2027, 1, 1));
    // A 29 February birthday already in a file (the box refuses it) falls on the 28th in a year
    // without one, and never on no date at all.
    EXPECT_EQ(ProximoAniversario(QStringLiteral("29/02"), QDate(2026, 12, 9)), QDate(2027, 2, 28));
    EXPECT_EQ(ProximoAniversario(QStringLiteral("29/02"), QDate(2027, 3, 1)), QDate(2028, 2, 29));
}

TEST_F(Enderecos, LetrasSeparamOsNomes)
{
    for (const char *nome : {"ana", "Ana", "Ávila", "1º de Maio", "Xavier", "yara", "Zé", "Walter", "Bruno", "élen"})
        inserir(eu, QString::fromUtf8(nome));
    // Tab 0 takes every first character outside A-Z: accented capitals and lower case too.
    const std::tuple<int, const char *, const char *> casos[] = {
        {0, "0-9", "1º de Maio,ana,Ávila,élen,yara"}, {1, "A", "ana,Ana"}, {2, "B", "Bruno"},     {5, "E", ""},
        {23, "W", "Walter"},                           {24, "X/Y", "Xavier,yara"}, {25, "Z", "Zé"},
    };
    for (const auto &[letra, legenda, esperado] : casos) {
        EXPECT_EQ(DaLetra(letra).legenda.toStdString(), legenda);
        EXPECT_EQ(nomes(LinhasContatos(DaLetra(letra).condicao)).join(u',').toStdString(), esperado) << letra;
    }
}

TEST_F(Enderecos, PesquisaCasaCadaCaixaEEscapaOsCaracteres)
{
    inserir(eu, QStringLiteral("Ângela"), QStringLiteral("'Padaria 100%',NULL,'3333-5555',NULL,'N'"));
    inserir(eu, QStringLiteral("Bruno"), QStringLiteral("'Padaria 1000',NULL,NULL,'5555-0000','N'"));
    inserir(eu, QStringLiteral("D'Ávila"), QStringLiteral("'Oficina_X',NULL,NULL,NULL,'N'"));
    inserir(eu, QStringLiteral("Carla"), QStringLiteral("'OficinaYX','5555',NULL,NULL,'N'"));
    inserir(joana, QStringLiteral("Zeca"), QStringLiteral("'Padaria',NULL,NULL,NULL,'S'"));
    base.Executar(QStringLiteral("Update Enderecos set Email = lower(Nome)||'@exemplo.com.br'"));
    const struct {
        const char *nome, *empresa, *telefone, *email, *esperado;
    } casos[] = {
        {"ângela", "", "", "", "Ângela"},
        {"  ", "padaria", "", "", "Ângela,Bruno,Zeca [JOANA]"},
        {"", "", "5555", "", "Ângela,Bruno,Carla"},
        {"", "100%", "", "", "Ângela"},
        {"", "a_x", "", "", "D'Ávila"},
        {"d'á", "", "", "", "D'Ávila"},
        {"", "padaria", "", "bruno@", "Bruno"},
        {"a", "padaria", "5555", "", "Ângela"},
        {"", "", "", "", "Ângela,Bruno,Carla,D'Ávila,Zeca [JOANA]"},
        {"%", "", "", "", ""},
    };
    for (const auto &c : casos) {
        const QString filtro = CondicaoDaPesquisa(QString::fromUtf8(c.nome), QString::fromUtf8(c.empresa),
                                                  QString::fromUtf8(c.telefone), QString::fromUtf8(c.email));
        EXPECT_EQ(nomes(LinhasContatos(filtro)).join(u',').toStdString(), c.esperado) << filtro.toStdString();
    }
}

TEST_F(Enderecos, CompartilhadosSoComAPreferenciaEEmOrdemAlfabetica)
{
    for (const char *nome : {"Zé", "bruno", "Álvaro", "Beto", "Angela"})
        inserir(eu, QString::fromUtf8(nome));
    inserir(eu, QStringLiteral("Ângela"), QStringLiteral("'B',NULL,NULL,NULL,'N'"));
    inserir(eu, QStringLiteral("Ângela"), QStringLiteral("'A',NULL,NULL,NULL,'N'"));
    inserir(joana, QStringLiteral("Maria"), QStringLiteral("NULL,NULL,NULL,NULL,'S'"));
    inserir(joana, QStringLiteral("Secreta"));
    const QVector<LinhaContato> todas = LinhasContatos(QString());
    EXPECT_EQ(nomes(todas).join(u',').toStdString(), "Álvaro,Angela,Ângela,Ângela,Beto,bruno,Maria [JOANA],Zé");
    EXPECT_EQ(todas.at(2).contato.empresa, QStringLiteral("A"));
    EXPECT_TRUE(todas.at(6).DeOutroUsuario());
    EXPECT_FALSE(todas.at(5).DeOutroUsuario());
    Sessao.VisualizarCompartilhamento = false;
    EXPECT_EQ(nomes(LinhasContatos(QString())).size(), 7);
    EXPECT_EQ(nomes(LinhasContatos(DaLetra(13).condicao)), QStringList());
}

TEST_F(Enderecos, AniversarioCriadoMovidoApagadoERecriado)
{
    Contato c;
    c.nome = QStringLiteral("Maria");
    c.aniversario = QStringLiteral("10/03");  // today: next year
    c = GravarContato(c);
    EXPECT_EQ(aniversarios(), QStringLiteral("2027-03-10:Aniversário Maria:N"));
    EXPECT_EQ(chaveGuardada(QStringLiteral("Maria")), QString::number(c.chaveAniversario));
    const qint64 primeira = c.chaveAniversario;

    c.nome = QStringLiteral("Maria José");
    c.aniversario = QStringLiteral("11/03");
    c.compartilhado = QStringLiteral("S");
    c = GravarContato(c);
    EXPECT_EQ(c.chaveAniversario, primeira);
    EXPECT_EQ(aniversarios(), QStringLiteral("2026-03-11:Aniversário Maria José:S"));

    c.aniversario.clear();
    c = GravarContato(c);
    EXPECT_EQ(aniversarios(), QString());
    EXPECT_EQ(chaveGuardada(QStringLiteral("Maria José")), QStringLiteral("0"));

    c.aniversario = QStringLiteral("01/01");
    c = GravarContato(c);
    EXPECT_EQ(aniversarios(), QStringLiteral("2027-01-01:Aniversário Maria José:S"));
    EXPECT_GT(c.chaveAniversario, primeira);

    ExcluirContato(c.chave, c.chaveAniversario);
    EXPECT_EQ(aniversarios(), QString());
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Enderecos")), QStringLiteral("0"));
}

TEST_F(Enderecos, ChaveVelhaNuncaTocaOutroCompromisso)
{
    // Rows a stale birthday key may name: an ordinary appointment of the user, another user's
    // birthday row, and (after the reminder window deleted it) none.
    base.Executar(QStringLiteral("Insert into Compromissos(Usuario,Data,Hora,Compromisso,ChavePai,Status,Compartilhado) values "
                                 "(%1,'2026-03-20','09:00:00','Dentista',0,'0','N'), (%2,'2026-05-01',NULL,'Aniversário Zeca',0,'2','N')")
                      .arg(eu).arg(joana));
    const QString antes = base.Valor(QStringLiteral("Select group_concat(Chave||Data||Compromisso) from Compromissos"));
    for (const qint64 velha : {qint64(1), qint64(2), qint64(99)}) {
        Contato c;
        c.nome = QStringLiteral("Ana");
        c.aniversario = QStringLiteral("20/03");
        c.chaveAniversario = velha;
        c = GravarContato(c);
        EXPECT_GT(c.chaveAniversario, 2) << velha;
        c.chaveAniversario = velha;
        c.aniversario.clear();
        GravarContato(c);
        ExcluirContato(c.chave, velha);
        EXPECT_EQ(base.Valor(QStringLiteral("Select group_concat(Chave||Data||Compromisso) from Compromissos Where Chave <= 2")), antes) << velha;
    }
}

TEST_F(Enderecos, TextosComoDigitadosEFalhasDesfazemTudo)
{
    Contato c;
    c.nome = QStringLiteral("Ana\tSilva");
    c.empresa = QStringLiteral("  ");
    c.cep = QStringLiteral("01310100");
    c.observacao = QStringLiteral("linha 1\nlinha 2\t'fim'");
    c.aniversario = QStringLiteral("20/03");
    c = GravarContato(c);
    EXPECT_EQ(base.Valor(QStringLiteral("Select typeof(Cep)||Cep||'|'||quote(Empresa)||'|'||quote(Endereco) from Enderecos")),
              QStringLiteral("text01310100|'  '|NULL"));
    const QVector<LinhaContato> linhas = LinhasContatos(QString());
    ASSERT_EQ(linhas.size(), 1);
    EXPECT_EQ(linhas[0].contato.nome, c.nome);
    EXPECT_EQ(linhas[0].contato.observacao, c.observacao);
    EXPECT_EQ(linhas[0].contato.aniversario, QStringLiteral("20/03"));

    const auto arquivo = [this] {
        return base.Valor(QStringLiteral("Select group_concat(x) from (Select quote(Nome)||quote(ChaveAniversario) x from Enderecos "
                                         "Union All Select quote(Data)||quote(Compromisso) from Compromissos)"));
    };
    const QString antes = arquivo();
    Contato novo;
    novo.nome = QStringLiteral("Bia");
    novo.aniversario = QStringLiteral("01/04");
    Contato alterado = c;
    alterado.nome = QStringLiteral("Outra");
    alterado.aniversario = QStringLiteral("02/04");
    Contato sumido = novo;  // deleted meanwhile by another copy of the planner
    sumido.chave = 999;
    const struct {
        const char *gatilho;
        std::function<void()> operacao;
    } casos[] = {
        {"Before Insert On Enderecos", [&] { GravarContato(novo); }},
        {"Before Update On Enderecos", [&] { GravarContato(alterado); }},
        {"Before Delete On Compromissos", [&] { ExcluirContato(c.chave, c.chaveAniversario); }},
        {"", [&] { GravarContato(sumido); }},
    };
    for (const auto &caso : casos) {
        const QString gatilho = QString::fromLatin1(caso.gatilho);
        if (!gatilho.isEmpty())
            base.Executar(QStringLiteral("Create Trigger falha %1 Begin Select raise(ABORT, 'sem espaço'); End").arg(gatilho));
        EXPECT_THROW(caso.operacao(), ErroBanco) << caso.gatilho;
        if (!gatilho.isEmpty())
            base.Executar(QStringLiteral("Drop Trigger falha"));
        EXPECT_EQ(arquivo(), antes) << caso.gatilho;
    }
}

TEST_F(Enderecos, GradeAbasEPesquisaNoPainel)
{
    inserir(eu, QStringLiteral("Ana"), QStringLiteral("'ACME',NULL,'3333',NULL,'N'"));
    inserir(eu, QStringLiteral("Alberto"), QStringLiteral("NULL,'1111','2222',NULL,'N'"));
    inserir(joana, QStringLiteral("Amélia"), QStringLiteral("NULL,NULL,NULL,'9999','S'"));
    base.Executar(QStringLiteral("Update Enderecos set Aniversario = '05/06' Where Nome = 'Ana'"));
    PainelEnderecos &p = abrir();
    tk::Grade &g = *p.grdEndereco;
    EXPECT_EQ(g.Rows(), 1);
    const std::tuple<const char *, int> cabecalho[] = {{"", 0}, {"  Nome", 4000}, {"Telefone", 1300}, {"  Empresa", 5000}, {"Aniv", 600}};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(g.TextMatrix(0, c).toStdString(), std::get<0>(cabecalho[c]));
        EXPECT_EQ(g.ColWidth(c), std::get<1>(cabecalho[c]));
    }
    for (tk::Botao *aba : p.cmdLetra)
        EXPECT_EQ(corDaAba(aba), QColor(192, 192, 192)) << aba->text().toStdString();

    p.cmdLetra[1]->click();
    const QStringList esperadas[] = {{"    Alberto", "1111", "  ", ""}, {"    Amélia [JOANA]", "9999", "  ", ""}, {"    Ana", "3333", "  ACME", "05/06"}};
    ASSERT_EQ(g.Rows(), 4);
    for (int r = 1; r < 4; ++r) {
        EXPECT_EQ((QStringList{g.TextMatrix(r, 1), g.TextMatrix(r, 2), g.TextMatrix(r, 3), g.TextMatrix(r, 4)}), esperadas[r - 1]);
        g.DefinirRow(r);
        g.DefinirCol(1);
        EXPECT_EQ(g.CellPicture().cacheKey() == Figuras().imgCompartilhado.cacheKey(), r == 2) << r;
    }
    EXPECT_EQ(corDaAba(p.cmdLetra[1]), QColor(255, 255, 128));
    EXPECT_EQ(corDaAba(p.cmdLetra[0]), QColor(255, 192, 255));  // the tab chosen before (none yet: 0)

    p.cmdLetra[2]->click();
    EXPECT_EQ(corDaAba(p.cmdLetra[1]), QColor(255, 192, 255));
    EXPECT_EQ(g.Rows(), 1);
    EXPECT_TRUE(p.txtEnderecoSemRegistro->isVisible());
    EXPECT_FALSE(p.txtEnderecoSemRegistro->isEnabled());
    EXPECT_FALSE(g.isEnabled());

    p.txtPesquisaNome->setText(QStringLiteral("ana"));
    p.txtPesquisaTelefone->setText(QStringLiteral("333"));
    p.cmdEnderecoPesquisar->click();
    EXPECT_EQ(corDaAba(p.cmdLetra[2]), QColor(255, 192, 255));
    EXPECT_EQ(Sessao.LetraAtual, 2);
    EXPECT_EQ(nomes(p.Linhas()), QStringList{QStringLiteral("Ana")});
    EXPECT_FALSE(p.txtEnderecoSemRegistro->isVisible());
    EXPECT_TRUE(g.isEnabled());
    p.cmdEnderecoLimpar->click();
    EXPECT_EQ(p.txtPesquisaNome->text() + p.txtPesquisaTelefone->text(), QString());
    EXPECT_EQ(g.Rows(), 2);

    frmAgenda().frmAgenda_cmdLogout_Click();
    EXPECT_EQ(g.Rows(), 1);
    EXPECT_EQ(Sessao.FiltroContatos, QString());
    EXPECT_EQ(Sessao.LetraAtual, 0);
    for (tk::Botao *aba : p.cmdLetra)
        EXPECT_EQ(corDaAba(aba), QColor(192, 192, 192)) << aba->text().toStdString();
}

TEST_F(Enderecos, NovoContatoSalvoAbertoEExcluido)
{
    PainelEnderecos &p = abrir();
    p.cmdLetra[1]->click();
    p.cmdEnderecoNovo->click();
    EXPECT_TRUE(p.frmDadosEndereco->isVisible());
    EXPECT_FALSE(p.cmdEnderecoExcluir->isVisible());
    EXPECT_FALSE(frmAgenda().imgImpressora->isVisible());
    Digitar(p.txtDadosEndNome, QStringLiteral("  ana d'ávila"));
    Digitar(p.txtDadosEndAniversario, QStringLiteral("1x003"));
    Digitar(p.txtDadosEndCep, QStringLiteral("0131a0100"));
    Digitar(p.txtDadosEndFoneCom, QStringLiteral("(11) 5555-1234"));
    p.txtDadosEndEmpresa->setText(QStringLiteral(" Padaria "));
    EXPECT_EQ(p.txtDadosEndAniversario->text(), QStringLiteral("10/03"));
    p.cmdEnderecoSalvar->click();
    EXPECT_FALSE(p.frmDadosEndereco->isVisible());
    EXPECT_TRUE(frmAgenda().imgImpressora->isVisible());
    EXPECT_EQ(base.Valor(QStringLiteral("Select Nome||'|'||Empresa||'|'||Cep||'|'||FoneCom||'|'||Aniversario||'|'||quote(FoneRes) from Enderecos")),
              QStringLiteral("Ana dávila| Padaria |01310100|(11)5555-1234|10/03|NULL"));
    EXPECT_EQ(aniversarios(), QStringLiteral("2027-03-10:Aniversário Ana dávila:N"));
    ASSERT_EQ(nomes(p.Linhas()), QStringList{QStringLiteral("Ana dávila")});  // reloaded under tab A

    p.AbrirLinha(1);
    EXPECT_EQ(p.txtDadosEndEmpresa->text(), QStringLiteral("Padaria"));  // opened trimmed
    EXPECT_TRUE(p.cmdEnderecoExcluir->isVisible());
    EXPECT_EQ(Sessao.ChaveAniversarioContato, chaveGuardada(QStringLiteral("Ana dávila")).toLongLong());
    p.txtDadosEndAniversario->setText(QStringLiteral("/"));  // what the mask leaves of an erased birthday
    p.cmdEnderecoSalvar->click();
    EXPECT_EQ(base.Valor(QStringLiteral("Select Empresa||quote(Aniversario)||ChaveAniversario from Enderecos")), QStringLiteral("PadariaNULL0"));
    EXPECT_EQ(aniversarios(), QString());

    p.AbrirLinha(1);
    auto nao = ResponderMensagem(false);
    p.cmdEnderecoExcluir->click();
    EXPECT_EQ(nao->texto, QStringLiteral("Você Confirma Exclusão desse Contato?"));
    EXPECT_EQ(nao->icone, 1);
    EXPECT_TRUE(p.frmDadosEndereco->isVisible());
    ResponderMensagem(true);
    p.cmdEnderecoExcluir->click();
    EXPECT_FALSE(p.frmDadosEndereco->isVisible());
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Enderecos")), QStringLiteral("0"));
    EXPECT_TRUE(p.txtEnderecoSemRegistro->isVisible());
}

TEST_F(Enderecos, RecusasEFalhasMantemODigitado)
{
    tk::DefinirTratadorErro([this](const QString &e) { erros << e; });
    PainelEnderecos &p = abrir();
    const struct {
        const char *nome, *aniversario, *mensagem;
        int icone;
        QWidget *foco;
    } casos[] = {
        {"   ", "10/03", "Informe o Nome do Contato!", 3, p.txtDadosEndNome},
        {"Ana", "29/02", "Informe o Aniversário em DD/MM!", 2, p.txtDadosEndAniversario},
        {"Ana", "31/4", "Informe o Aniversário em DD/MM!", 2, p.txtDadosEndAniversario},
    };
    for (const auto &c : casos) {
        p.cmdEnderecoNovo->click();
        p.txtDadosEndNome->setText(QString::fromLatin1(c.nome));
        p.txtDadosEndAniversario->setText(QString::fromLatin1(c.aniversario));
        auto vista = ResponderMensagem();
        p.cmdEnderecoSalvar->click();
        EXPECT_EQ(vista->texto.toStdString(), c.mensagem);
        EXPECT_EQ(vista->icone, c.icone);
        EXPECT_EQ(frmAgenda().focusWidget(), c.foco) << c.mensagem;
        EXPECT_TRUE(p.frmDadosEndereco->isVisible());
    }
    base.Executar(QStringLiteral("Create Trigger falha Before Insert On Enderecos Begin Select raise(ABORT, 'sem espaço'); End"));
    p.txtDadosEndAniversario->setText(QStringLiteral("10/03"));
    p.cmdEnderecoSalvar->click();
    EXPECT_EQ(erros.size(), 1);
    EXPECT_TRUE(p.frmDadosEndereco->isVisible());
    EXPECT_EQ(p.txtDadosEndNome->text() + p.txtDadosEndAniversario->text(), QStringLiteral("Ana10/03"));
    EXPECT_EQ(base.Valor(QStringLiteral("Select (Select count(*) from Enderecos) + (Select count(*) from Compromissos)")), QStringLiteral("0"));

    // A list that cannot be read leaves a grid that still paints.
    base.Executar(QStringLiteral("Alter Table Enderecos Rename To Outra"));
    p.cmdLetra[1]->click();
    EXPECT_EQ(erros.size(), 2);
    EXPECT_TRUE(p.grdEndereco->updatesEnabled());
}

TEST_F(Enderecos, CompartilhadoSomenteLeituraEEmail)
{
    inserir(joana, QStringLiteral("Maria"), QStringLiteral("NULL,NULL,NULL,NULL,'S'"));
    base.Executar(QStringLiteral("Update Enderecos set Email = ' maria@exemplo.com.br '"));
    PainelEnderecos &p = abrir();
    p.cmdEnderecoPesquisar->click();
    p.AbrirLinha(1);
    EXPECT_EQ(p.txtDadosEndNome->text(), QStringLiteral("Maria [JOANA]"));
    EXPECT_FALSE(p.txtDadosEndNome->isEnabled());
    EXPECT_FALSE(p.txtDadosEndObservacao->isEnabled());
    EXPECT_FALSE(p.chkEndCompartilhar->isEnabled());
    EXPECT_TRUE(p.chkEndCompartilhar->isChecked());
    EXPECT_FALSE(p.cmdEnderecoSalvar->isVisible());
    EXPECT_FALSE(p.cmdEnderecoExcluir->isVisible());
    p.cmdEmailContato->click();
    ASSERT_EQ(abertos.size(), 1);
    EXPECT_EQ(abertos[0].toString(), QStringLiteral("mailto:maria@exemplo.com.br"));
    abreEmail = false;
    auto vista = ResponderMensagem();
    p.cmdEmailContato->click();
    EXPECT_EQ(vista->icone, 3);
    p.cmdEnderecoNovo->click();  // an empty box opens nothing
    p.cmdEmailContato->click();
    EXPECT_EQ(abertos.size(), 2);
    p.cmdEnderecoVoltar->click();

    frmAgenda().frmAgenda_cmdLogout_Click();
    base.Executar(QStringLiteral("Update Configuracao set VisualizarCompartilhamento = 'N'"));
    abrir();
    p.cmdEnderecoPesquisar->click();
    EXPECT_TRUE(p.Linhas().isEmpty());
}

TEST_F(Enderecos, AniversarioNaGradeDoDia)
{
    PainelEnderecos &p = abrir();
    p.cmdEnderecoNovo->click();
    p.txtDadosEndNome->setText(QStringLiteral("Maria"));
    p.txtDadosEndAniversario->setText(QStringLiteral("12/03"));
    p.chkEndCompartilhar->setChecked(true);
    p.cmdEnderecoSalvar->click();
    // The owner's day grid and, shared, the other user's.
    for (const char *login : {"EU", "JOANA"}) {
        if (QLatin1String(login) == QLatin1String("JOANA")) {
            frmAgenda().frmAgenda_cmdLogout_Click();
            Entrar(QString::fromLatin1(login));
        }
        frmAgenda().frmAgenda_imgCompromissos_Click();
        frmAgenda().frmCompromissos->MontarGrade(QDate(2026, 3, 12));
        tk::Grade &g = *frmAgenda().frmCompromissos->grdCompromissos;
        EXPECT_EQ(g.TextMatrix(1, 3), QStringLiteral(" Aniversário Maria")) << login;
        g.DefinirRow(1);
        g.DefinirCol(1);
        EXPECT_EQ(g.CellPicture().cacheKey(), Figuras().imgAniversario.cacheKey()) << login;
    }
}
