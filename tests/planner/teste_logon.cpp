// Start-up, sign-on and new accounts through the logon form, on real database files.

#include "apoio.h"
#include "core/frmAgenda.h"
#include "core/frmAguarde.h"
#include "core/frmLogon.h"
#include "core/frmMenu.h"
#include "core/modDb.h"
#include "core/modSenha.h"
#include "core/programa.h"
#include "core/sessao.h"
#include "esquema.h"
#include "platform/bandeja.h"
#include "platform/documentos.h"
#include "platform/instancia_unica.h"
#include "platform/modal.h"

#include <QClipboard>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <sqlite3.h>

namespace {

struct Logon : ::testing::Test {
    BaseDeTeste base;
    QList<QUrl> abertos;
    void SetUp() override
    {
        bandeja::DefinirDisponivel(true);
        documentos::DefinirAbridor([this](const QUrl &u) {
            abertos << u;
            return true;
        });
    }
    void TearDown() override { EXPECT_EQ(modal::RoteirosPendentes(), 0); }

    FrmLogon &carregar()
    {
        FrmLogon &f = frmLogon();
        EXPECT_TRUE(f.frmLogon_Form_Load());
        if (!f.EntrouAutomaticamente())
            f.show();
        return f;
    }
    void digitar(FrmLogon &f, const QString &login, const QString &senha)
    {
        f.txtLogin->setText(login);
        f.txtPass->setText(senha);
    }
    // Signs ANA on with the password; a refusal's message is answered and returned.
    std::shared_ptr<MensagemVista> entrarComoAna(FrmLogon &f, const char *senha, bool entra)
    {
        digitar(f, QStringLiteral("ANA"), QString::fromUtf8(senha));
        std::shared_ptr<MensagemVista> recusa;
        if (!entra)
            recusa = ResponderMensagem();
        f.frmLogon_cmdLogar_Click();
        return recusa;
    }
};

} // namespace

TEST_F(Logon, UnicoUsuarioSemSenhaEntraSemMostrarOLogon)
{
    const int codigo = base.InserirUsuario(QStringLiteral("ANA"), std::nullopt, QStringLiteral("Ana Souza"));
    FrmLogon &f = carregar();
    EXPECT_TRUE(f.EntrouAutomaticamente());
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(frmAgenda().isVisible());
    EXPECT_EQ(Sessao.Codigo, codigo);
    EXPECT_EQ(Sessao.Login, QStringLiteral("ANA"));
    EXPECT_EQ(Sessao.Nome, QStringLiteral("Ana Souza"));
    EXPECT_EQ(Sessao.Senha, QString());
    EXPECT_EQ(Sessao.Aniversario, QDate(1900, 1, 1));
    EXPECT_FALSE(frmMenu().LogOut->isVisible());
    EXPECT_EQ(frmAguarde::Carregado(), nullptr);
    EXPECT_TRUE(f.iconeBandeja.Incluido());
    EXPECT_EQ(f.iconeBandeja.Dica(), QStringLiteral("Velora"));
}

TEST_F(Logon, DoisUsuariosOuUmComSenhaPedemLogin)
{
    for (int caso = 0; caso < 2; ++caso) {
        BaseDeTeste outra;
        outra.InserirUsuario(QStringLiteral("ANA"), caso == 0 ? std::nullopt : std::optional(CodificarSenha(QStringLiteral("x"))));
        if (caso == 0)
            outra.InserirUsuario(QStringLiteral("BIA"), std::nullopt);
        FrmLogon &f = carregar();
        EXPECT_FALSE(f.EntrouAutomaticamente()) << caso;
        EXPECT_TRUE(f.isVisible()) << caso;
        EXPECT_EQ(Sessao.Codigo, 0) << caso;
        EXPECT_TRUE(f.cmdLogar->isEnabled()) << caso;
    }
}

TEST_F(Logon, BaseVaziaPedePrimeiroUsuario)
{
    auto aviso = ResponderMensagem();
    FrmLogon &f = carregar();
    EXPECT_EQ(aviso->texto, QStringLiteral("Primera execução da Velora. É necessário criar um novo usuário. Informe o usuário e clique em 'Novo Usuário' !"));
    EXPECT_EQ(aviso->icone, 2);
    EXPECT_FALSE(f.cmdLogar->isEnabled());
    EXPECT_TRUE(f.cmdNovoUsuario->isEnabled());
    EXPECT_TRUE(f.isVisible());
}

TEST_F(Logon, EntradaRecusada)
{
    base.InserirUsuario(QStringLiteral("ANA"), CodificarSenha(QStringLiteral("abc")));
    base.InserirUsuario(QStringLiteral("BIA"), std::nullopt);
    FrmLogon &f = carregar();
    const struct {
        const char *login, *senha, *mensagem;
    } casos[] = {
        {"NINGUEM", "", "Usuário não cadastrado !"},
        {"ANA", "abd", "Senha não confere !"},
        {"ANA", "ABC", "Senha não confere !"},
        {"ANA", "", "Senha não confere !"},
        {"BIA", "x", "Senha não confere !"},
        {"D'ÁVILA\"%;", "", "Usuário não cadastrado !"},
    };
    for (const auto &c : casos) {
        digitar(f, QString::fromUtf8(c.login), QString::fromUtf8(c.senha));
        auto vista = ResponderMensagem();
        f.frmLogon_cmdLogar_Click();
        EXPECT_EQ(vista->texto.toStdString(), c.mensagem) << c.login << "/" << c.senha;
        EXPECT_EQ(vista->icone, 2);
        EXPECT_EQ(Sessao.Codigo, 0);
        EXPECT_TRUE(f.isVisible());
        EXPECT_FALSE(frmAgenda().isVisible());
    }
}

TEST_F(Logon, EntradaAceitaPreencheASessao)
{
    base.InserirUsuario(QStringLiteral("ANA"), CodificarSenha(QStringLiteral("é'Sen")), QStringLiteral("Ana"));
    const int bia = base.InserirUsuario(QStringLiteral("BIA"), std::nullopt, QStringLiteral("Beatriz"));
    base.Executar(QStringLiteral("Update Usuarios set Aniversario = '1980-05-17', Cidade = 'Recife' Where Codigo = %1").arg(bia));
    FrmLogon &f = carregar();
    digitar(f, QStringLiteral("BIA"), QString());
    f.frmLogon_cmdLogar_Click();
    EXPECT_EQ(Sessao.Codigo, bia);
    EXPECT_EQ(Sessao.Nome, QStringLiteral("Beatriz"));
    EXPECT_EQ(Sessao.Cidade, QStringLiteral("Recife"));
    EXPECT_EQ(Sessao.Aniversario, QDate(1980, 5, 17));
    EXPECT_FALSE(Sessao.NovoUsuario);
    EXPECT_TRUE(frmAgenda().isVisible());
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(frmMenu().LogOut->isVisible());
    EXPECT_EQ(frmAguarde::Carregado(), nullptr);
    EXPECT_TRUE(f.picLogon->isEnabled());
}

TEST_F(Logon, SenhaComAcentoEApostrofoConfere)
{
    const int ana = base.InserirUsuario(QStringLiteral("ANA"), CodificarSenha(QStringLiteral("é'Sen")));
    base.InserirUsuario(QStringLiteral("BIA"), std::nullopt);
    FrmLogon &f = carregar();
    digitar(f, QStringLiteral("ANA"), QStringLiteral("é'Sen"));  // pasted: the apostrophe cannot be typed
    f.frmLogon_cmdLogar_Click();
    EXPECT_EQ(Sessao.Codigo, ana);
    EXPECT_EQ(Sessao.Senha, QString());
    EXPECT_TRUE(HashDaSenha(Sessao.SenhaGuardada, QStringLiteral("é'Sen")));
}

TEST_F(Logon, TeclasDoLoginEDaSenha)
{
    base.InserirUsuario(QStringLiteral("ANA"), CodificarSenha(QStringLiteral("abc")));
    base.InserirUsuario(QStringLiteral("BIA"), std::nullopt);
    FrmLogon &f = carregar();
    Digitar(f.txtLogin, QStringLiteral("an'a é"));
    EXPECT_EQ(f.txtLogin->text(), QStringLiteral("ANA É"));
    f.txtLogin->clear();
    Digitar(f.txtLogin, QStringLiteral("darado vezudi xyz"));
    EXPECT_EQ(f.txtLogin->text(), QStringLiteral("DARADO VEZUDI X"));  // 15 characters at most
    f.txtLogin->setText(QStringLiteral("ana"));
    Digitar(f.txtPass, QStringLiteral("a'bc12345678"));
    EXPECT_EQ(f.txtPass->text(), QStringLiteral("abc1234567"));  // 10 at most, no apostrophe
    EXPECT_EQ(f.txtLogin->text(), QStringLiteral("ANA"));  // set text is upper-cased too
    f.txtPass->setText(QStringLiteral("abc"));
    QTest::keyClick(f.txtPass, Qt::Key_Return);
    EXPECT_NE(Sessao.Codigo, 0);
    EXPECT_EQ(f.txtPass->text(), QStringLiteral("abc"));  // Enter itself is dropped
}

TEST_F(Logon, LoginColadoComApostrofo)
{
    base.InserirUsuario(QStringLiteral("D'ÁVILA"), std::nullopt);
    base.InserirUsuario(QStringLiteral("BIA"), std::nullopt);
    FrmLogon &f = carregar();
    QGuiApplication::clipboard()->setText(QStringLiteral("d'ávila"));
    f.txtLogin->setFocus();
    QTest::keyClick(f.txtLogin, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f.txtLogin->text(), QStringLiteral("D'ÁVILA"));
    f.frmLogon_cmdLogar_Click();
    EXPECT_EQ(Sessao.Login, QStringLiteral("D'ÁVILA"));
}

TEST_F(Logon, NovoUsuario)
{
    base.InserirUsuario(QStringLiteral("ANA"), std::nullopt);
    base.InserirUsuario(QStringLiteral("BIA"), std::nullopt);
    FrmLogon &f = carregar();

    digitar(f, QStringLiteral("   "), QString());
    auto vazio = ResponderMensagem();
    f.frmLogon_cmdNovoUsuario_Click();
    EXPECT_EQ(vazio->texto, QStringLiteral("Informe o Login !"));
    EXPECT_EQ(vazio->icone, 2);
    EXPECT_EQ(f.focusWidget(), f.txtLogin);

    digitar(f, QStringLiteral("ANA"), QString());
    auto existe = ResponderMensagem();
    f.frmLogon_cmdNovoUsuario_Click();
    EXPECT_EQ(existe->texto, QStringLiteral("Usuário já cadastrado, escolha outro Login!"));
    EXPECT_EQ(existe->icone, 3);
    EXPECT_FALSE(Sessao.NovoUsuario);

    digitar(f, QStringLiteral(" CAIO "), QStringLiteral(" s3 "));
    f.frmLogon_cmdNovoUsuario_Click();
    EXPECT_TRUE(Sessao.NovoUsuario);
    EXPECT_EQ(Sessao.Codigo, 0);
    EXPECT_EQ(Sessao.Login, QStringLiteral("CAIO"));
    EXPECT_EQ(Sessao.Senha, QStringLiteral("s3"));
    EXPECT_TRUE(frmAgenda().isVisible());
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Usuarios")), QStringLiteral("2"));  // nothing written yet
}

TEST_F(Logon, ComArgumentoComecaNaBandeja)
{
    base.InserirUsuario(QStringLiteral("ANA"), std::nullopt);
    programa::DefinirArgumentos({QStringLiteral("/bandeja")});
    carregar();
    EXPECT_NE(Sessao.Codigo, 0);
    EXPECT_FALSE(frmAgenda().isVisible());
    EXPECT_FALSE(frmLogon().isVisible());
}

TEST_F(Logon, SemBandejaAJanelaFicaAVista)
{
    bandeja::DefinirDisponivel(false);
    base.InserirUsuario(QStringLiteral("ANA"), std::nullopt);
    programa::DefinirArgumentos({QStringLiteral("qualquer")});
    carregar();
    EXPECT_TRUE(frmAgenda().isVisible());
    base.InserirUsuario(QStringLiteral("BIA"), std::nullopt);
    frmLogon().show();
    frmLogon().frmLogon_imgFechar_Click();
    EXPECT_TRUE(frmLogon().isVisible());
}

namespace {

QByteArray impressao(const QString &arquivo)
{
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
}

} // namespace

TEST_F(Logon, BaseInacessivelEncerraSemTocarNoArquivo)
{
    enum Caso { Ausente, NaoEBase, SemTabelas };
    for (Caso caso : {Ausente, NaoEBase, SemTabelas}) {
        QTemporaryDir pasta;
        const QString arquivo = pasta.filePath(QStringLiteral("dadosu.lst"));
        if (caso == NaoEBase) {
            QFile f(arquivo);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QByteArray("isto não é uma base de dados, apenas texto.\n").repeated(100));
        } else if (caso == SemTabelas) {
            sqlite3 *db = nullptr;
            sqlite3_open(arquivo.toUtf8().constData(), &db);
            sqlite3_exec(db, "CREATE TABLE Outra (x); INSERT INTO Outra VALUES (1);", nullptr, nullptr, nullptr);
            sqlite3_close(db);
        }
        const QByteArray antes = impressao(arquivo);
        modDb::DefinirPastaDados(pasta.path());
        abertos.clear();

        auto primeira = ResponderMensagemDoSistema();
        auto segunda = ResponderMensagemDoSistema();
        auto terceira = ResponderMensagemDoSistema();
        EXPECT_FALSE(frmLogon().frmLogon_Form_Load()) << caso;
        EXPECT_EQ(primeira->texto, QStringLiteral("Sem ADODB Instalado ou Arquivo de Dados Inválido !!!"));
        EXPECT_EQ(primeira->icone, int(QMessageBox::Critical));
        EXPECT_EQ(segunda->texto, QStringLiteral("Execute o Download desse Programa a partir do site da Microsoft que abrirá logo após esse mensagem !!!\n"
                                                 "Depois Execute a Instalação do ADODB e reinicie o Computador para Correto Funcionamento da Velora !!!"));
        EXPECT_EQ(segunda->icone, int(QMessageBox::Information));
        EXPECT_EQ(terceira->texto, QStringLiteral("Caso o problema persiste, re-instale a Velora !!!"));
        ASSERT_EQ(abertos.size(), 1) << caso;
        EXPECT_TRUE(abertos.first().toString().contains(QStringLiteral("README.md#"))) << caso;
        EXPECT_EQ(QFile::exists(arquivo), caso != Ausente) << caso;
        EXPECT_EQ(impressao(arquivo), antes) << caso;
    }
}

TEST_F(Logon, BaseEmUsoPorOutroProgramaPedeNovaTentativa)
{
    sqlite3 *trava = nullptr;
    sqlite3_open(base.arquivo.toUtf8().constData(), &trava);
    ASSERT_EQ(sqlite3_exec(trava, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    const QByteArray antes = impressao(base.arquivo);
    auto aviso = ResponderMensagemDoSistema();
    EXPECT_FALSE(frmLogon().frmLogon_Form_Load());
    EXPECT_EQ(aviso->texto, QStringLiteral("O Arquivo de Dados está em Uso por Outro Programa! Aguarde e Tente Novamente."));
    EXPECT_EQ(aviso->icone, int(QMessageBox::Warning));
    EXPECT_TRUE(abertos.isEmpty());
    sqlite3_exec(trava, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(trava);
    EXPECT_EQ(impressao(base.arquivo), antes);

    // Past the start, a handler that meets the lock says the same and writes nothing.
    base.InserirUsuario(QStringLiteral("ANA"), std::nullopt);
    sqlite3_open(base.arquivo.toUtf8().constData(), &trava);
    ASSERT_EQ(sqlite3_exec(trava, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_THROW(Executar(QStringLiteral("Update Usuarios set Nome = 'x'")), motor_sql::BancoOcupado);
    sqlite3_exec(trava, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(trava);
    EXPECT_EQ(base.Valor(QStringLiteral("Select Nome from Usuarios")), QStringLiteral("Fulano de Tal"));
}

TEST_F(Logon, SegundaCopiaTerminaDeImediato)
{
    ASSERT_TRUE(instancia_unica::Obter());
    base.InserirUsuario(QStringLiteral("ANA"), std::nullopt);
    QProcess segunda;
    auto ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    ambiente.insert(QStringLiteral("VELORA_DADOS"), base.pasta.path());
    segunda.setProcessEnvironment(ambiente);
    segunda.start(QStringLiteral(VELORA_BINARIO), {});
    ASSERT_TRUE(segunda.waitForFinished(20000)) << "a segunda cópia não terminou";
    EXPECT_EQ(segunda.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(segunda.exitCode(), 0);
}

TEST_F(Logon, SenhasVoltamIntactasDoArquivo)
{
    // Stored through the real file (UTF-8), read back and typed at sign-on, spaces around
    // them ignored as the profile ignores them when it saves.
    const struct {
        const char *guardada, *digitada;
        bool entra;
    } casos[] = {
        {"a😀", "a😀", true},   {"a😀", "a??", false}, {"𠀀中x", "𠀀中x", true}, {"é€😀é", "é€😀é", true},
        {"abc", "abc ", true},  {"abc", " abc", true}, {"abc", "ab c", false},
    };
    for (const auto &c : casos) {
        BaseDeTeste outra;
        outra.InserirUsuario(QStringLiteral("ANA"), CodificarSenha(QString::fromUtf8(c.guardada)));
        outra.InserirUsuario(QStringLiteral("BIA"), std::nullopt);
        FrmLogon &f = carregar();
        const auto recusa = entrarComoAna(f, c.digitada, c.entra);
        EXPECT_EQ(Sessao.Codigo != 0, c.entra) << c.guardada << " / " << c.digitada;
        if (c.entra) {
            EXPECT_TRUE(HashDaSenha(Sessao.SenhaGuardada, QString::fromUtf8(c.guardada))) << c.guardada;
            frmAgenda().frmAgenda_cmdLogout_Click();
        } else {
            EXPECT_EQ(recusa->texto, QStringLiteral("Senha não confere !"));
        }
    }
}

TEST_F(Logon, LoginComEspacoNaoCadastraDuasVezes)
{
    base.InserirUsuario(QStringLiteral("ANA"), std::nullopt);
    base.InserirUsuario(QStringLiteral("BIA"), std::nullopt);
    FrmLogon &f = carregar();
    for (const char *login : {"ANA ", " ANA", "ana"}) {
        digitar(f, QString::fromLatin1(login), QString());
        auto existe = ResponderMensagem();
        f.frmLogon_cmdNovoUsuario_Click();
        EXPECT_EQ(existe->texto, QStringLiteral("Usuário já cadastrado, escolha outro Login!")) << login;
        EXPECT_FALSE(Sessao.NovoUsuario) << login;
    }
    digitar(f, QStringLiteral("ANA "), QString());
    f.frmLogon_cmdLogar_Click();
    EXPECT_EQ(Sessao.Login, QStringLiteral("ANA"));

    const qint64 ana = Sessao.Codigo;
    frmAgenda().frmAgenda_cmdLogout_Click();

    // The file itself refuses a second row of a login; an older file that already holds one
    // still signs on, to the first account.
    EXPECT_THROW(Executar(QStringLiteral("Insert into Usuarios (Login) values ('ANA')")), ErroBanco);
    base.Executar(QStringLiteral("Drop Index UsuariosLogin"));
    base.InserirUsuario(QStringLiteral("ANA"), CodificarSenha(QStringLiteral("outra")));
    digitar(f, QStringLiteral("ANA"), QString());
    f.frmLogon_cmdLogar_Click();
    EXPECT_EQ(Sessao.Codigo, ana);
}

TEST_F(Logon, ErroNaEntradaDevolveOLogonPronto)
{
    const qint64 ana = base.InserirUsuario(QStringLiteral("ANA"), CodificarSenha(QStringLiteral("x")));
    const QString preferencias = base.Valor(QStringLiteral("Select Chave from Configuracao Where Usuario = %1").arg(ana));
    FrmLogon &f = carregar();
    sqlite3 *trava = nullptr;
    const auto travar = [&] {
        sqlite3_open(base.arquivo.toUtf8().constData(), &trava);
        ASSERT_EQ(sqlite3_exec(trava, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    };
    const auto destravar = [&] {
        sqlite3_exec(trava, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(trava);
    };
    // A user without preferences, and a file another program keeps locked for writing past the
    // wait (the sign-on reads, then fails writing the user's last panel).
    const struct {
        const char *causa;
        std::function<void()> quebrar, consertar;
    } casos[] = {
        // First, while the password is still in the old encoding: its rewrite as a hash fails.
        {"arquivo travado ao guardar o hash", travar,
         [&] {
             destravar();
             base.Executar(QStringLiteral("Update Configuracao set Intervalos = 15"));
         }},
        {"sem preferências", [&] { base.Executar(QStringLiteral("Update Configuracao set Usuario = 0")); },
         [&] { base.Executar(QStringLiteral("Update Configuracao set Usuario = %1, Intervalos = 15").arg(ana)); }},
        {"arquivo travado", travar, destravar},
    };
    QStringList erros;
    tk::DefinirTratadorErro([&](const QString &e) { erros << e; });
    for (const auto &c : casos) {
        c.quebrar();
        erros.clear();
        digitar(f, QStringLiteral("ANA"), QStringLiteral("x"));
        tk::Disparar([&] { f.frmLogon_cmdLogar_Click(); });
        EXPECT_EQ(erros.size(), 1) << c.causa;
        EXPECT_TRUE(f.isVisible()) << c.causa;
        EXPECT_TRUE(f.picLogon->isEnabled()) << c.causa;
        EXPECT_EQ(frmAguarde::Carregado(), nullptr) << c.causa;
        EXPECT_FALSE(tk::Tela::AmpulhetaLigada()) << c.causa;
        EXPECT_NE(f.cursor().shape(), Qt::WaitCursor) << c.causa;
        EXPECT_FALSE(frmAgenda().isVisible()) << c.causa;
        EXPECT_FALSE(frmAgenda().tmrChecagem->Ativo()) << c.causa;
        EXPECT_EQ(Sessao.Codigo, 0) << c.causa;
        EXPECT_FALSE(frmMenu().LogOut->isVisible()) << c.causa;

        // Once the cause is gone, the next sign-on loads the main window in full.
        c.consertar();
        f.frmLogon_cmdLogar_Click();
        EXPECT_TRUE(frmAgenda().isVisible()) << c.causa;
        EXPECT_TRUE(frmAgenda().tmrChecagem->Ativo()) << c.causa;
        EXPECT_EQ(Sessao.Intervalos, 15) << c.causa;
        EXPECT_EQ(QString::number(Sessao.ChaveConfiguracao), preferencias) << c.causa;
        frmAgenda().frmAgenda_cmdLogout_Click();
    }
}

TEST_F(Logon, EntradaAutomaticaComErroNaoEncerraOPrograma)
{
    const qint64 ana = base.InserirUsuario(QStringLiteral("ANA"), std::nullopt);
    base.Executar(QStringLiteral("Delete from Configuracao Where Usuario = %1").arg(ana));
    QStringList erros;
    tk::DefinirTratadorErro([&](const QString &e) { erros << e; });
    EXPECT_TRUE(IniciarPrograma());
    EXPECT_EQ(erros.size(), 1);
    EXPECT_TRUE(frmLogon().isVisible());
    EXPECT_TRUE(frmLogon().picLogon->isEnabled());
    EXPECT_EQ(frmAguarde::Carregado(), nullptr);
    EXPECT_FALSE(frmAgenda().isVisible());
    EXPECT_EQ(Sessao.Codigo, 0);
}

TEST(Senha, GuardadaComoHashSalgado)
{
    for (const char *senha : {"abc", "é'Sen", "a😀", "0123456789"}) {
        const QString plana = QString::fromUtf8(senha);
        const QString guardada = GuardarSenha(plana);
        EXPECT_TRUE(HashDaSenha(guardada, plana)) << senha;
        EXPECT_NE(GuardarSenha(plana), guardada) << senha;  // salted: never the same text twice
        EXPECT_FALSE(SenhaConfere(plana + u'x', guardada)) << senha;
        EXPECT_FALSE(SenhaConfere(plana.chopped(1), guardada)) << senha;
        EXPECT_FALSE(SenhaConfere(QString(), guardada)) << senha;
        EXPECT_FALSE(SenhaConfere(CodificarSenha(plana), guardada)) << senha;
    }
    EXPECT_EQ(GuardarSenha(QString()), QString());
    EXPECT_TRUE(SenhaConfere(QString(), QString()));
    EXPECT_FALSE(SenhaConfere(QStringLiteral("x"), QString()));
}

TEST_F(Logon, SenhaAntigaViraHashNaPrimeiraEntrada)
{
    // What is stored before, what is typed, whether the user signs on, and what is stored after:
    // an old encoding that matches becomes a hash; a refusal or a hash already there leaves it.
    const QString hash = GuardarSenha(QStringLiteral("abc"));
    enum Depois { Igual, Hash, Nula };
    const struct {
        const char *caso;
        std::optional<QString> antes;
        const char *digitada;
        bool entra;
        Depois depois;
    } casos[] = {
        {"antiga certa", CodificarSenha(QStringLiteral("abc")), "abc", true, Hash},
        {"antiga com acento", CodificarSenha(QStringLiteral("é'Sen")), "é'Sen", true, Hash},
        {"antiga errada", CodificarSenha(QStringLiteral("abc")), "abd", false, Igual},
        {"antiga digitada codificada", CodificarSenha(QStringLiteral("abc")), "ÂÄÆ", false, Igual},
        {"hash certo", hash, "abc", true, Igual},
        {"hash errado", hash, "ABC", false, Igual},
        {"sem senha", std::nullopt, "", true, Nula},
        {"sem senha, digitada", std::nullopt, "abc", false, Nula},
    };
    for (const auto &c : casos) {
        BaseDeTeste outra;
        const qint64 ana = outra.InserirUsuario(QStringLiteral("ANA"), c.antes);
        outra.InserirUsuario(QStringLiteral("BIA"), std::nullopt);
        const auto guardada = [&] { return outra.Valor(QStringLiteral("Select ifnull(Senha,'NULO') from Usuarios Where Codigo=%1").arg(ana)); };
        const QString antes = guardada();
        FrmLogon &f = carregar();
        const auto recusa = entrarComoAna(f, c.digitada, c.entra);
        EXPECT_EQ(Sessao.Codigo, c.entra ? ana : 0) << c.caso;
        if (!c.entra) {
            EXPECT_EQ(recusa->texto, QStringLiteral("Senha não confere !")) << c.caso;
        }
        const QString depois = guardada();
        switch (c.depois) {
        case Igual: EXPECT_EQ(depois, antes) << c.caso; break;
        case Hash: EXPECT_TRUE(HashDaSenha(depois, QString::fromUtf8(c.digitada))) << c.caso; break;
        case Nula: EXPECT_EQ(depois, QStringLiteral("NULO")) << c.caso; break;
        }
        if (!c.entra)
            continue;
        EXPECT_EQ(Sessao.SenhaGuardada, c.antes ? depois : QString()) << c.caso;
        EXPECT_EQ(Sessao.Senha, QString()) << c.caso;
        // The next sign-on checks the hash, and the password still works.
        frmAgenda().frmAgenda_cmdLogout_Click();
        entrarComoAna(f, c.digitada, true);
        EXPECT_EQ(Sessao.Codigo, ana) << c.caso;
        EXPECT_EQ(guardada(), depois) << c.caso;
        frmAgenda().frmAgenda_cmdLogout_Click();
    }
}
