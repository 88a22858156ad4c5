#include "platform/pastas.h"

#include "esquema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// The install folders, as configured: VELORA_PASTA_BIN and VELORA_PASTA_COMPARTILHADA come
// from the build.

namespace pastas {

namespace {

const QString nomeArquivo = QStringLiteral("dadosu.lst");

QString erroDoSistema(int erro)
{
    return QString::fromLocal8Bit(std::strerror(erro));
}

// Makes the folder and its missing parents, each 0700; 0 or the errno of the failure.
int criarPasta(const QString &pasta)
{
    const QString limpa = QDir::cleanPath(pasta);
    for (qsizetype fim = limpa.indexOf(u'/', 1); ; fim = limpa.indexOf(u'/', fim + 1)) {
        const QByteArray parte = QFile::encodeName(fim < 0 ? limpa : limpa.left(fim));
        if (::mkdir(parte.constData(), 0700) != 0) {
            const int erro = errno;
            struct stat st;
            if (erro != EEXIST || ::stat(parte.constData(), &st) != 0)
                return erro;
            if (!S_ISDIR(st.st_mode))
                return ENOTDIR;
        }
        if (fim < 0)
            return 0;
    }
}

// The folder takes a new file, as SQLite's journal: "" or the reason it does not.
QString aceitaArquivos(const QString &pasta)
{
    QTemporaryFile teste(QDir(pasta).filePath(QStringLiteral(".velora-XXXXXX")));
    return teste.open() ? QString() : teste.errorString();
}

QString canonica(const QString &pasta)
{
    const QString c = QFileInfo(pasta).canonicalFilePath();
    return c.isEmpty() ? QDir::cleanPath(pasta) : c;
}

} // namespace

Ambiente AmbienteAtual()
{
    return {qEnvironmentVariable("VELORA_DADOS"), QCoreApplication::applicationDirPath(),
            QStringLiteral(VELORA_PASTA_BIN), qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath()};
}

bool ProgramaInstalado(const Ambiente &a)
{
    return !a.pastaInstalada.isEmpty() && canonica(a.pastaPrograma) == canonica(a.pastaInstalada);
}

PastaDados EscolherPastaDados(const Ambiente &a)
{
    if (!a.variavel.isEmpty())
        return {a.variavel, OrigemDados::Variavel};
    if (QFileInfo::exists(QDir(a.pastaPrograma).filePath(nomeArquivo)) || !ProgramaInstalado(a))
        return {a.pastaPrograma, OrigemDados::Programa};
    // A relative XDG_DATA_HOME is invalid and ignored, as the XDG base directory rules say.
    const QString base = QDir::isAbsolutePath(a.xdgDataHome) ? a.xdgDataHome : QDir(a.home).filePath(QStringLiteral(".local/share"));
    return {QDir(base).filePath(QStringLiteral("velora")), OrigemDados::Usuario};
}

QString PrepararPastaDados(const PastaDados &p)
{
    const QString arquivo = QDir(p.pasta).filePath(nomeArquivo);
    const bool existe = QFileInfo::exists(arquivo);
    if (!existe && p.origem != OrigemDados::Usuario)
        return {};
    if (!existe) {
        if (const int erro = criarPasta(p.pasta))
            return QStringLiteral("Não foi possível criar a pasta de dados %1: %2.").arg(p.pasta, erroDoSistema(erro));
    }
    if (const QString erro = aceitaArquivos(p.pasta); !erro.isEmpty())
        return QStringLiteral("Não é possível gravar na pasta de dados %1: %2.").arg(p.pasta, erro);
    if (!existe) {
        if (const QString erro = CriarBaseVazia(arquivo); !erro.isEmpty())
            return QStringLiteral("Não foi possível criar a base de dados na pasta %1: %2.").arg(p.pasta, erro);
        return {};
    }
    // SQLite would open a read-only file without a word and fail at the first write.
    const int fd = ::open(QFile::encodeName(arquivo).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return QStringLiteral("Não é possível gravar no arquivo de dados %1: %2.").arg(arquivo, erroDoSistema(errno));
    ::close(fd);
    return {};
}

QString PastaDocumentos()
{
    const Ambiente a = AmbienteAtual();
    return ProgramaInstalado(a) ? QStringLiteral(VELORA_PASTA_COMPARTILHADA) : a.pastaPrograma;
}

} // namespace pastas
