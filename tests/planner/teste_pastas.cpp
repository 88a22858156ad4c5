// Where the data file lives and how its folder is readied at start; what --help and --version
// print. Real folders in temporary places.

#include "apoio.h"
#include "core/frmLogon.h"
#include "core/modDb.h"
#include "core/programa.h"
#include "esquema.h"
#include "platform/bandeja.h"
#include "platform/documentos.h"
#include "platform/modal.h"
#include "platform/pastas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

#include <gtest/gtest.h>
#include <sys/stat.h>

using pastas::OrigemDados;

namespace {

const char *nomeOrigem(OrigemDados o)
{
    return o == OrigemDados::Variavel ? "Variavel" : o == OrigemDados::Programa ? "Programa" : "Usuario";
}

// Every file and folder below the folder, to see that nothing else was made.
QStringList conteudo(const QString &pasta)
{
    QStringList tudo;
    for (const QFileInfo &i : QDir(pasta).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        tudo << i.fileName();
        if (i.isDir() && !i.isSymLink())
            for (const QString &dentro : conteudo(i.filePath()))
                tudo << i.fileName() + u'/' + dentro;
    }
    return tudo;
}

mode_t modo(const QString &caminho)
{
    struct stat st {};
    return ::stat(QFile::encodeName(caminho).constData(), &st) == 0 ? st.st_mode & 07777 : mode_t(-1);
}

} // namespace

TEST(PastaDeDados, EscolhaPelaVariavelPeloProgramaOuPeloUsuario)
{
    // A program folder with dadosu.lst, one without, and a link to the second (the installed
    // folder reached through another name is still the installed folder).
    QTemporaryDir raiz;
    const QString comArquivo = raiz.filePath(QStringLiteral("com")), semArquivo = raiz.filePath(QStringLiteral("sem"));
    QDir(raiz.path()).mkpath(QStringLiteral("com"));
    QDir(raiz.path()).mkpath(QStringLiteral("sem"));
    ASSERT_TRUE(CriarBaseVazia(comArquivo + QStringLiteral("/dadosu.lst")).isEmpty());
    const QString atalho = raiz.filePath(QStringLiteral("atalho"));
    ASSERT_TRUE(QFile::link(semArquivo, atalho));

    const struct {
        const char *caso;
        pastas::Ambiente ambiente;
        QString pasta;
        OrigemDados origem;
    } casos[] = {
        {"variável vale sempre", {QStringLiteral("/srv/agenda"), comArquivo, comArquivo, {}, QStringLiteral("/home/ana")},
         QStringLiteral("/srv/agenda"), OrigemDados::Variavel},
        {"arquivo ao lado do programa instalado", {{}, comArquivo, comArquivo, {}, QStringLiteral("/home/ana")},
         comArquivo, OrigemDados::Programa},
        {"arquivo ao lado de uma cópia", {{}, comArquivo, semArquivo, {}, QStringLiteral("/home/ana")},
         comArquivo, OrigemDados::Programa},
        {"cópia sem arquivo fica para a sonda", {{}, semArquivo, comArquivo, {}, QStringLiteral("/home/ana")},
         semArquivo, OrigemDados::Programa},
        {"sem pasta instalada configurada", {{}, semArquivo, {}, {}, QStringLiteral("/home/ana")},
         semArquivo, OrigemDados::Programa},
        {"instalado, XDG_DATA_HOME", {{}, semArquivo, semArquivo, QStringLiteral("/dados/ana"), QStringLiteral("/home/ana")},
         QStringLiteral("/dados/ana/velora"), OrigemDados::Usuario},
        {"instalado, sem XDG_DATA_HOME", {{}, semArquivo, semArquivo, {}, QStringLiteral("/home/ana")},
         QStringLiteral("/home/ana/.local/share/velora"), OrigemDados::Usuario},
        {"instalado, XDG_DATA_HOME relativo é ignorado", {{}, semArquivo, semArquivo, QStringLiteral("dados"), QStringLiteral("/home/ana")},
         QStringLiteral("/home/ana/.local/share/velora"), OrigemDados::Usuario},
        {"instalado, chamado por outro nome da pasta", {{}, semArquivo, atalho, {}, QStringLiteral("/home/ana")},
         QStringLiteral("/home/ana/.local/share/velora"), OrigemDados::Usuario},
    };
    for (const auto &c : casos) {
        const pastas::PastaDados p = pastas::EscolherPastaDados(c.ambiente);
        EXPECT_EQ(p.pasta, c.pasta) << c.caso;
        EXPECT_EQ(nomeOrigem(p.origem), nomeOrigem(c.origem)) << c.caso;
    }
}

TEST(PastaDeDados, PrepararCriaSoAPastaDoUsuarioENomeiaAQueNaoServe)
{
    enum Espera { Pronta, CriadaVazia, Erro };
    QTemporaryDir raiz;
    const QString arquivoComum = raiz.filePath(QStringLiteral("arquivo-comum"));
    {
        QFile f(arquivoComum);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("não é pasta");
    }
    const QString existente = raiz.filePath(QStringLiteral("existente"));
    QDir(raiz.path()).mkpath(QStringLiteral("existente"));
    ASSERT_TRUE(CriarBaseVazia(existente + QStringLiteral("/dadosu.lst")).isEmpty());
    BaseDeTeste marcada;  // a file whose bytes must stay as they are
    marcada.InserirUsuario(QStringLiteral("ANA"), std::nullopt);

    const struct {
        const char *caso;
        pastas::PastaDados pasta;
        Espera espera;
        const char *mensagem;  // the start of the message, which names the folder
    } casos[] = {
        {"pasta do usuário nova, com as que faltam acima", {raiz.filePath(QStringLiteral("home/.local/share/velora")), OrigemDados::Usuario},
         CriadaVazia, ""},
        {"pasta do usuário com arquivo", {marcada.pasta.path(), OrigemDados::Usuario}, Pronta, ""},
        {"variável com arquivo", {existente, OrigemDados::Variavel}, Pronta, ""},
        {"variável sem arquivo fica para a sonda", {raiz.filePath(QStringLiteral("nada")), OrigemDados::Variavel}, Pronta, ""},
        {"cópia sem arquivo fica para a sonda", {raiz.filePath(QStringLiteral("copia")), OrigemDados::Programa}, Pronta, ""},
        {"pasta do usuário sob um arquivo comum", {arquivoComum + QStringLiteral("/velora"), OrigemDados::Usuario}, Erro,
         "Não foi possível criar a pasta de dados "},
        // /proc takes no new file, whoever runs the test.
        {"pasta do usuário que não aceita arquivos", {QStringLiteral("/proc/self"), OrigemDados::Usuario}, Erro,
         "Não é possível gravar na pasta de dados "},
    };
    for (const auto &c : casos) {
        const QStringList antes = conteudo(raiz.path());
        const QByteArray bytesMarcada = [&] {
            QFile f(marcada.arquivo);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        const QString erro = pastas::PrepararPastaDados(c.pasta);
        const QString arquivo = QDir(c.pasta.pasta).filePath(QStringLiteral("dadosu.lst"));
        if (c.espera == Erro) {
            EXPECT_TRUE(erro.startsWith(QString::fromUtf8(c.mensagem) + c.pasta.pasta + u':')) << c.caso << ": " << erro.toStdString();
            EXPECT_EQ(conteudo(raiz.path()), antes) << c.caso;
        } else {
            EXPECT_EQ(erro, QString()) << c.caso;
        }
        if (c.espera == CriadaVazia) {
            for (const char *feita : {"home", "home/.local", "home/.local/share", "home/.local/share/velora"})
                EXPECT_EQ(modo(raiz.filePath(QString::fromUtf8(feita))), 0700) << c.caso << ": " << feita;
            EXPECT_EQ(modo(arquivo), 0600) << c.caso;  // other users of the machine cannot read it
            modDb::DefinirPastaDados(c.pasta.pasta);
            EXPECT_EQ(Consultar(QStringLiteral("Select * from Usuarios")).RecordCount(), 0) << c.caso;
            // The next start finds it and leaves it alone.
            EXPECT_EQ(pastas::PrepararPastaDados(c.pasta), QString()) << c.caso;
        } else if (c.espera == Pronta) {
            EXPECT_EQ(QFile::exists(arquivo), c.pasta.origem == OrigemDados::Usuario || c.pasta.pasta == existente) << c.caso;
            EXPECT_EQ(conteudo(raiz.path()), antes) << c.caso;
        }
        QFile f(marcada.arquivo);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), bytesMarcada) << c.caso;
    }
}

TEST(PastaDeDados, InicioComPastaQueNaoPodeSerCriadaAvisaESai)
{
    bandeja::DefinirDisponivel(true);
    QList<QUrl> abertos;
    documentos::DefinirAbridor([&](const QUrl &u) {
        abertos << u;
        return true;
    });
    QTemporaryDir raiz;
    const QString arquivoComum = raiz.filePath(QStringLiteral("arquivo-comum"));
    {
        QFile f(arquivoComum);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString pasta = arquivoComum + QStringLiteral("/velora");
    modDb::DefinirPastaDados(pasta, OrigemDados::Usuario);
    auto aviso = ResponderMensagemDoSistema();
    EXPECT_FALSE(frmLogon().frmLogon_Form_Load());
    EXPECT_TRUE(aviso->texto.startsWith(QStringLiteral("Não foi possível criar a pasta de dados ") + pasta + u':')) << aviso->texto.toStdString();
    EXPECT_EQ(aviso->icone, int(QMessageBox::Critical));
    EXPECT_TRUE(abertos.isEmpty());  // the probe's messages and link do not follow
    EXPECT_EQ(conteudo(raiz.path()), QStringList{QStringLiteral("arquivo-comum")});
    EXPECT_EQ(modal::RoteirosPendentes(), 0);
}

TEST(LinhaDeComando, AjudaEVersaoTerminamOutrosArgumentosComecamNaBandeja)
{
    const QRegularExpression versao(QStringLiteral("^velora \\d+\\.\\d+\\.\\d+\n$"));
    const QRegularExpression uso(QStringLiteral("^Uso: velora \\[--help \\| --version \\| ARGUMENTO\\]\n"));
    const QRegularExpression nada(QStringLiteral("^$"));
    const struct {
        QStringList argumentos;
        const QRegularExpression &texto;  // nothing: the program starts
    } casos[] = {
        {{QStringLiteral("--version")}, versao},
        {{QStringLiteral("--help")}, uso},
        {{QStringLiteral("x"), QStringLiteral("--version"), QStringLiteral("--help")}, versao},
        {{QStringLiteral("--help"), QStringLiteral("--version")}, uso},
        {{}, nada},
        {{QStringLiteral("bandeja")}, nada},
        {{QStringLiteral("-h")}, nada},
        {{QStringLiteral("--helpme")}, nada},
        {{QStringLiteral("--VERSION")}, nada},
    };
    for (const auto &c : casos) {
        const QString texto = programa::TextoDaOpcao(c.argumentos);
        EXPECT_TRUE(c.texto.match(texto).hasMatch()) << c.argumentos.join(u' ').toStdString() << ": " << texto.toStdString();
    }
}
