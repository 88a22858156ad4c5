#include "backup/modBackup.h"

#include "core/modDb.h"
#include "esquema.h"
#include "platform/motor_sql.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <zlib.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

const QStringList TabelasDoPlanejador = {
    QStringLiteral("Usuarios"), QStringLiteral("Configuracao"), QStringLiteral("Compromissos"),
    QStringLiteral("Enderecos"), QStringLiteral("Financas"),    QStringLiteral("Saldos"),
    QStringLiteral("Tarefas"),  QStringLiteral("Notas"),
};

namespace {

constexpr qint64 Bloco = 256 * 1024;
constexpr int TamanhoTrailer = 17;
constexpr qint32 TrailerInvalido = -1;
constexpr qint32 ArquivoNaoEncontrado = 53;
// Deflate spends at least two bits on a match of at most 258 bytes: no stream yields more than
// 1032 bytes for each of its own.
constexpr qint64 ExpansaoMaxima = 1032;

// Input of the codecs: up to n bytes into b, 0 at the end, -1 when reading failed (erro set).
using Ler = std::function<qint64(char *b, qint64 n)>;
// Output of the codecs: false when writing failed (erro set).
using Escrever = std::function<bool(const char *b, qint64 n)>;

Ler lerBytes(const QByteArray &dados, qint64 n)
{
    return [p = dados.constData(), n, lidos = qint64(0)](char *b, qint64 maximo) mutable {
        const qint64 k = qMin(maximo, n - lidos);
        std::memcpy(b, p + lidos, size_t(k));
        lidos += k;
        return k;
    };
}

Escrever escreverBytes(QByteArray &saida)
{
    return [&saida](const char *b, qint64 n) {
        saida.append(b, n);
        return true;
    };
}

// read and write that resume after a signal and keep errno in erro.
Ler lerArquivo(int fd, qint32 &erro)
{
    return [fd, &erro](char *b, qint64 n) -> qint64 {
        ssize_t r;
        do
            r = ::read(fd, b, size_t(n));
        while (r < 0 && errno == EINTR);
        if (r < 0)
            erro = errno;
        return r;
    };
}

Escrever escreverArquivo(int fd, qint32 &erro)
{
    return [fd, &erro](const char *b, qint64 n) {
        while (n > 0) {
            const ssize_t w = ::write(fd, b, size_t(n));
            if (w < 0 && errno == EINTR)
                continue;
            if (w < 0) {
                erro = errno;
                return false;
            }
            b += w;
            n -= w;
        }
        return true;
    };
}

// One zlib stream of everything ler gives, the format compress2 makes; no input writes nothing.
// total counts the bytes read.
bool deflacionar(const Ler &ler, const Escrever &escrever, int nivel, qint64 &total, qint32 &erro)
{
    const auto entrada = std::make_unique_for_overwrite<char[]>(Bloco);
    const auto saida = std::make_unique_for_overwrite<char[]>(Bloco);
    total = 0;
    qint64 n = ler(entrada.get(), Bloco);
    if (n <= 0)
        return n == 0;
    z_stream z{};
    if (const int rc = deflateInit(&z, nivel); rc != Z_OK) {
        erro = rc;
        return false;
    }
    const auto fim = qScopeGuard([&] { deflateEnd(&z); });
    for (;;) {
        total += n;
        const int modo = n == 0 ? Z_FINISH : Z_NO_FLUSH;
        z.next_in = reinterpret_cast<Bytef *>(entrada.get());
        z.avail_in = uInt(n);
        do {
            z.next_out = reinterpret_cast<Bytef *>(saida.get());
            z.avail_out = uInt(Bloco);
            deflate(&z, modo);
            if (!escrever(saida.get(), Bloco - z.avail_out))
                return false;
        } while (z.avail_out == 0);
        if (modo == Z_FINISH)
            return true;
        if ((n = ler(entrada.get(), Bloco)) < 0)
            return false;
    }
}

// Inflates the comprimento bytes ler gives as one zlib stream that must end exactly there and
// yield exactly tamanho bytes; it stops as soon as it would yield more.
bool inflar(const Ler &ler, qint64 comprimento, const Escrever &escrever, qint64 tamanho, qint32 &erro)
{
    z_stream z{};
    if (const int rc = inflateInit(&z); rc != Z_OK) {
        erro = rc;
        return false;
    }
    const auto fim = qScopeGuard([&] { inflateEnd(&z); });
    const auto entrada = std::make_unique_for_overwrite<char[]>(Bloco);
    const auto saida = std::make_unique_for_overwrite<char[]>(Bloco);
    qint64 restante = comprimento, produzidos = 0;
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        if (z.avail_in == 0) {
            const qint64 n = restante == 0 ? 0 : ler(entrada.get(), qMin(Bloco, restante));
            if (n < 0)
                return false;
            if (n == 0) {  // the stream goes on where the trailer begins (or the file shrank)
                erro = Z_DATA_ERROR;
                return false;
            }
            restante -= n;
            z.next_in = reinterpret_cast<Bytef *>(entrada.get());
            z.avail_in = uInt(n);
        }
        z.next_out = reinterpret_cast<Bytef *>(saida.get());
        z.avail_out = uInt(Bloco);
        rc = inflate(&z, Z_NO_FLUSH);
        if (rc == Z_NEED_DICT)
            rc = Z_DATA_ERROR;
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
            erro = rc;
            return false;
        }
        const qint64 n = Bloco - z.avail_out;
        if (n > tamanho - produzidos) {
            erro = Z_BUF_ERROR;
            return false;
        }
        if (!escrever(saida.get(), n))
            return false;
        produzidos += n;
    }
    if (z.avail_in != 0 || restante != 0 || produzidos != tamanho) {
        erro = Z_DATA_ERROR;
        return false;
    }
    return true;
}

// Five NUL bytes, the digits of tamanho, NUL filling to eleven bytes, the last of them again.
bool anexarTrailer(qint64 tamanho, const Escrever &escrever, qint32 &erro)
{
    if (tamanho > TamanhoMaximoBackup) {
        erro = EFBIG;
        return false;
    }
    char t[TamanhoTrailer] = {};
    const QByteArray digitos = QByteArray::number(tamanho);
    std::memcpy(t + 5, digitos.constData(), size_t(digitos.size()));
    t[16] = t[15];
    return escrever(t, TamanhoTrailer);
}

// The size a trailer records, or -1 for anything but the exact layout: five NUL bytes, one to
// eleven digits without a leading zero (so never 0), NUL filling, the copied byte.
qint64 lerTrailer(const char *t)
{
    for (int i = 0; i < 5; ++i)
        if (t[i] != 0)
            return -1;
    int fim = 5;
    while (fim < 16 && t[fim] >= '0' && t[fim] <= '9')
        ++fim;
    if (fim == 5 || t[5] == '0')
        return -1;
    for (int i = fim; i < 16; ++i)
        if (t[i] != 0)
            return -1;
    if (t[16] != t[15])
        return -1;
    return QByteArray(t + 5, fim - 5).toLongLong();
}

// Whether a restore may take tamanho bytes out of a stream of comprimento bytes, asked before
// anything is allocated or written: within the cap, and no more than such a stream can yield.
qint32 conferirTamanho(qint64 tamanho, qint64 comprimento)
{
    if (tamanho > TamanhoMaximoBackup)
        return Z_MEM_ERROR;
    if (tamanho > comprimento * ExpansaoMaxima)
        return Z_DATA_ERROR;
    return 0;
}

struct Descritor {
    int fd;
    ~Descritor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    // Closes now; false (errno set) when the system reports a write that failed late.
    bool Fechar()
    {
        const int rc = ::close(fd);
        fd = -1;
        return rc == 0;
    }
};

// A file with a unique hidden name in a folder, deleted when it goes unless it was renamed.
class Temporario {
public:
    Temporario(const QString &pasta, const QString &nome)
        : caminho(QFile::encodeName(QDir(pasta).filePath(QStringLiteral(".") + nome + QStringLiteral(".XXXXXX")))),
          arquivo{::mkostemp(caminho.data(), O_CLOEXEC)}, erro(arquivo.fd < 0 ? errno : 0)
    {
    }
    ~Temporario()
    {
        if (erro == 0 && !renomeado)
            ::unlink(caminho.constData());
    }
    Temporario(const Temporario &) = delete;
    Temporario &operator=(const Temporario &) = delete;

    QString Caminho() const { return QFile::decodeName(caminho); }
    bool Renomear(const QString &destino)
    {
        renomeado = ::rename(caminho.constData(), QFile::encodeName(destino).constData()) == 0;
        return renomeado;
    }

    QByteArray caminho;
    Descritor arquivo;
    const qint32 erro;  // errno of the creation, 0 when made

private:
    bool renomeado = false;
};

// Past a file-size limit the system ends the process with SIGXFSZ; while a backup or a restore
// writes, the signal is ignored, so the write fails with EFBIG and is reported like a full disk.
class LimiteDeTamanhoComoErro {
public:
    LimiteDeTamanhoComoErro()
    {
        struct sigaction ignorar {};
        ignorar.sa_handler = SIG_IGN;
        ::sigaction(SIGXFSZ, &ignorar, &anterior);
    }
    ~LimiteDeTamanhoComoErro() { ::sigaction(SIGXFSZ, &anterior, nullptr); }
    LimiteDeTamanhoComoErro(const LimiteDeTamanhoComoErro &) = delete;
    LimiteDeTamanhoComoErro &operator=(const LimiteDeTamanhoComoErro &) = delete;

private:
    struct sigaction anterior {};
};

// Only an ordinary file is read, never through a link (ELOOP): a FIFO would keep the read
// waiting for a writer, a device or a folder holds no backup (EINVAL, EISDIR).
Descritor abrirOrigem(const QString &origem, qint32 &erro)
{
    Descritor de{::open(QFile::encodeName(origem).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK)};
    if (de.fd < 0) {
        erro = errno == ENOENT ? ArquivoNaoEncontrado : errno;
        return de;
    }
    struct stat estado {};
    if (::fstat(de.fd, &estado) != 0)
        erro = errno;
    else if (S_ISDIR(estado.st_mode))
        erro = EISDIR;
    else if (!S_ISREG(estado.st_mode))
        erro = EINVAL;
    if (erro != 0)
        de.Fechar();
    return de;
}

// Opens origem and writes destino through a temporary file beside it, flushed and renamed over
// destino only once gravar succeeded.
bool gravarPorTemporario(const QString &origem, const QString &destino, bool sobrescrever, qint32 &erro,
                         const std::function<bool(int de, int para)> &gravar)
{
    erro = 0;
    if (origem.isEmpty() || destino.isEmpty())
        return false;
    const LimiteDeTamanhoComoErro limite;
    const Descritor de = abrirOrigem(origem, erro);
    if (de.fd < 0)
        return false;
    const QFileInfo info(destino);
    if (!sobrescrever && info.exists())
        return false;
    Temporario para(info.absolutePath(), info.fileName());
    if ((erro = para.erro) != 0 || !gravar(de.fd, para.arquivo.fd))
        return false;
    if (::fsync(para.arquivo.fd) != 0 || !para.arquivo.Fechar() || !para.Renomear(destino)) {
        erro = errno;
        return false;
    }
    // The new name itself reaches the medium (best effort: some file systems refuse this).
    const Descritor pasta{::open(QFile::encodeName(info.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (pasta.fd >= 0)
        ::fsync(pasta.fd);
    return true;
}

// The backup file in de, its trailer checked first, decompressed into para.
bool descompactar(int de, int para, qint32 &erro)
{
    struct stat estado {};
    if (::fstat(de, &estado) != 0) {
        erro = errno;
        return false;
    }
    const qint64 n = estado.st_size - TamanhoTrailer;
    char t[TamanhoTrailer];
    qint64 tamanho = -1;
    if (n >= 0 && ::pread(de, t, TamanhoTrailer, n) == TamanhoTrailer)
        tamanho = lerTrailer(t);
    if (tamanho < 0) {
        erro = TrailerInvalido;
        return false;
    }
    if ((erro = conferirTamanho(tamanho, n)) != 0)
        return false;
    return inflar(lerArquivo(de, erro), n, escreverArquivo(para, erro), tamanho, erro);
}

} // namespace

bool CompactarBytes(const QByteArray &dados, QByteArray &saida, int nivel, qint32 &erro, bool anexarTamanho)
{
    erro = 0;
    if (dados.isEmpty())
        return true;
    QByteArray resultado;
    qint64 total = 0;
    const Escrever escrever = escreverBytes(resultado);
    if (!deflacionar(lerBytes(dados, dados.size()), escrever, nivel, total, erro))
        return false;
    if (anexarTamanho && !anexarTrailer(total, escrever, erro))
        return false;
    saida = std::move(resultado);
    return true;
}

bool DescompactarBytes(const QByteArray &dados, QByteArray &saida, qint32 &erro, qint64 tamanhoOriginal)
{
    erro = 0;
    qint64 n = dados.size();
    qint64 tamanho = tamanhoOriginal;
    if (tamanhoOriginal < 0) {
        if (n < TamanhoTrailer || (tamanho = lerTrailer(dados.constData() + n - TamanhoTrailer)) < 0) {
            erro = TrailerInvalido;
            return false;
        }
        n -= TamanhoTrailer;
    } else if (n == 0) {
        return true;
    }
    if ((erro = conferirTamanho(tamanho, n)) != 0)
        return false;
    QByteArray resultado;
    resultado.reserve(tamanho);
    if (!inflar(lerBytes(dados, n), n, escreverBytes(resultado), tamanho, erro))
        return false;
    saida = std::move(resultado);
    return true;
}

bool CompactarArquivo(const QString &origem, const QString &destino, int nivel, qint32 &erro, bool sobrescrever)
{
    return gravarPorTemporario(origem, destino, sobrescrever, erro, [&](int de, int para) {
        qint64 total = 0;
        const Escrever escrever = escreverArquivo(para, erro);
        return deflacionar(lerArquivo(de, erro), escrever, nivel, total, erro) &&
               (total == 0 || anexarTrailer(total, escrever, erro));
    });
}

bool DescompactarArquivo(const QString &origem, const QString &destino, qint32 &erro, bool sobrescrever)
{
    return gravarPorTemporario(origem, destino, sobrescrever, erro,
                               [&](int de, int para) { return descompactar(de, para, erro); });
}

qint32 FazerBackup(const QString &destino)
{
    const LimiteDeTamanhoComoErro limite;
    Temporario copia(modDb::PastaTemporaria(), QStringLiteral("dadosu.lst"));
    if (copia.erro != 0)
        return copia.erro;
    // SQLite opens the file by name; no other descriptor of it stays open meanwhile.
    copia.arquivo.Fechar();
    // A PostgreSQL database is copied into the planner's empty schema in the file, which the
    // schema tool makes only where no file is.
    if (modDb::UsaPostgres()) {
        ::unlink(copia.caminho.constData());
        if (const QString erro = CriarBaseVazia(copia.Caminho()); !erro.isEmpty()) {
            qWarning("%s", qPrintable(erro));
            return EIO;
        }
    }
    if (const int rc = modDb::CopiarBase(copia.Caminho(), TabelasDoPlanejador))
        return rc;
    qint32 erro = 0;
    CompactarArquivo(copia.Caminho(), destino, NivelBackup, erro, true);
    return erro;
}

qint32 RestaurarBackup(const QString &arquivo)
{
    const LimiteDeTamanhoComoErro limite;
    qint32 erro = 0;
    const Descritor de = abrirOrigem(arquivo, erro);
    if (de.fd < 0)
        return erro;
    // Decompressed beside the database; it need not outlive a crash, so it is not flushed.
    Temporario restaurado(modDb::PastaTemporaria(), ArquivoBackup);
    if (restaurado.erro != 0)
        return restaurado.erro;
    if (!descompactar(de.fd, restaurado.arquivo.fd, erro))
        return erro;
    if (!restaurado.arquivo.Fechar())
        return errno;
    if (const int rc = motor_sql::VerificarBanco(restaurado.Caminho(), TabelasDoPlanejador))
        return rc;
    return modDb::SubstituirBase(restaurado.Caminho(), TabelasDoPlanejador);
}
