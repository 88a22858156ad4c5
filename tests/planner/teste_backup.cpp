// Backup and restore: the file format against zlib's own one-shot calls, damaged and hostile
// backups, restores killed half-way, the medium standing for drive A:, and the buttons of the
// main window and the reserved login of the logon window.

#include "apoio.h"
#include "backup/modBackup.h"
#include "core/frmAgenda.h"
#include "core/frmLogon.h"
#include "core/frmMenu.h"
#include "core/modDb.h"
#include "core/modSenha.h"
#include "core/sessao.h"
#include "platform/bandeja.h"
#include "platform/modal.h"
#include "platform/unidade_a.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <zlib.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <future>

namespace {

QByteArray ler(const QString &arquivo)
{
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Overwritten without first emptying it: ext4 flushes a file emptied and written again when it
// is closed, which would make the thousands of damaged backups slow.
void gravar(const QString &arquivo, const QByteArray &dados)
{
    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite)) << arquivo.toStdString();
    f.write(dados);
    f.resize(dados.size());
}

QByteArray trailer(qint64 tamanho)
{
    QByteArray t(17, '\0');
    t.replace(5, QByteArray::number(tamanho).size(), QByteArray::number(tamanho));
    t[16] = t[15];
    return t;
}

// The format made the one-shot way: compress2 of the whole array, then the trailer; and read
// back with uncompress into a buffer of the recorded size.
QByteArray comCompress2(const QByteArray &dados)
{
    uLongf n = compressBound(uLong(dados.size()));
    QByteArray fluxo(qsizetype(n), '\0');
    EXPECT_EQ(compress2(reinterpret_cast<Bytef *>(fluxo.data()), &n, reinterpret_cast<const Bytef *>(dados.constData()),
                        uLong(dados.size()), 9), Z_OK);
    fluxo.resize(qsizetype(n));
    return fluxo + trailer(dados.size());
}

QByteArray comUncompress(const QByteArray &backup)
{
    uLongf n = uLongf(backup.right(12).left(11).toLongLong());
    QByteArray dados(qsizetype(n), '\0');
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef *>(dados.data()), &n, reinterpret_cast<const Bytef *>(backup.constData()),
                         uLong(backup.size() - 17)), Z_OK);
    return dados;
}

// The folder's files, hidden ones included, by name.
QStringList arquivos(const QString &pasta)
{
    return QDir(pasta).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

qint64 picoDeMemoriaKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    f.open(QIODevice::ReadOnly);
    for (const QByteArray &linha : f.readAll().split('\n'))
        if (linha.startsWith("VmHWM:"))
            return linha.mid(6).trimmed().split(' ').first().toLongLong();
    return -1;
}

// f in a child process whose files may not grow past limite bytes, as on a medium that fills up:
// its result, or 1000 + the signal that ended it.
int comLimiteDeArquivo(rlim_t limite, const std::function<int()> &f)
{
    const pid_t filho = fork();
    if (filho == 0) {
        alarm(60);  // a child that hangs is ended, and the wait below with it
        const rlimit r{limite, limite};
        setrlimit(RLIMIT_FSIZE, &r);
        int rc = 255;  // also what an exception gives, rather than running the parent's tests
        try {
            rc = f() & 0xff;
        } catch (...) {
        }
        _exit(rc);
    }
    int estado = 0;
    waitpid(filho, &estado, 0);
    return WIFEXITED(estado) ? WEXITSTATUS(estado) : 1000 + WTERMSIG(estado);
}

struct Backup : ::testing::Test {
    BaseDeTeste base;
    QTemporaryDir midia;
    void SetUp() override
    {
        qputenv("VELORA_DRIVE_A", midia.path().toUtf8());
        bandeja::DefinirDisponivel(true);
    }
    void TearDown() override
    {
        qunsetenv("VELORA_DRIVE_A");
        EXPECT_EQ(modal::RoteirosPendentes(), 0);
    }
    QString naMidia(const QString &nome = ArquivoBackup) const { return midia.filePath(nome); }
    QByteArray hashDaBase() const { return QCryptographicHash::hash(ler(base.arquivo), QCryptographicHash::Sha1); }
    QString logins() { return base.Valor(QStringLiteral("Select group_concat(Login) from (Select Login from Usuarios Order By Login)")); }
};

} // namespace

TEST(FormatoDoBackup, IgualAoDeCompress2EmQualquerSentido)
{
    QByteArray texto;
    for (int i = 0; texto.size() < 1000000; ++i)
        texto += "Compromisso " + QByteArray::number(i * 7919 % 1000) + "; ";
    QByteArray aleatorio(3 * 256 * 1024 + 5, '\0');
    QRandomGenerator(16).fillRange(reinterpret_cast<quint32 *>(aleatorio.data()), aleatorio.size() / 4);
    const QByteArray casos[] = {QByteArray("x"), texto.left(1000000), QByteArray(256 * 1024 + 1, '\0'), aleatorio};
    QTemporaryDir pasta;
    for (const QByteArray &dados : casos) {
        QByteArray backup, volta;
        qint32 erro = 99;
        ASSERT_TRUE(CompactarBytes(dados, backup, 9, erro, true));
        EXPECT_EQ(erro, 0);
        EXPECT_EQ(backup, comCompress2(dados)) << dados.size();
        EXPECT_EQ(comUncompress(backup), dados);
        EXPECT_TRUE(DescompactarBytes(comCompress2(dados), volta, erro, -1));
        EXPECT_EQ(volta, dados);

        gravar(pasta.filePath("origem"), dados);
        EXPECT_TRUE(CompactarArquivo(pasta.filePath("origem"), pasta.filePath("Velora.Bck"), 9, erro, false));
        EXPECT_EQ(ler(pasta.filePath("Velora.Bck")), backup);
        EXPECT_TRUE(DescompactarArquivo(pasta.filePath("Velora.Bck"), pasta.filePath("volta"), erro, false));
        EXPECT_EQ(ler(pasta.filePath("volta")), dados);
        for (const char *nome : {"origem", "Velora.Bck", "volta"})
            QFile::remove(pasta.filePath(nome));
    }
    QByteArray backup;
    qint32 erro;
    CompactarBytes(texto.left(1000000), backup, 9, erro, true);
    EXPECT_EQ(backup.right(17).toHex(' '), QByteArray("00 00 00 00 00 31 30 30 30 30 30 30 00 00 00 00 00"));
    CompactarBytes(texto.left(1000000), backup, 9, erro, false);
    EXPECT_EQ(backup, comCompress2(texto.left(1000000)).chopped(17));
    EXPECT_EQ(arquivos(pasta.path()), QStringList());  // no temporary files
}

TEST(FormatoDoBackup, VazioArquivosAusentesEFalhasDeGravacao)
{
    QByteArray saida("antes");
    qint32 erro = 99;
    EXPECT_TRUE(CompactarBytes({}, saida, 9, erro, true));  // nothing to write: no stream, no trailer
    EXPECT_EQ(saida, QByteArray("antes"));
    EXPECT_FALSE(DescompactarBytes({}, saida, erro, -1));
    EXPECT_EQ(erro, -1);

    QTemporaryDir pasta;
    const QString antigo = pasta.filePath("Velora.Bck");
    gravar(antigo, "backup antigo");
    gravar(pasta.filePath("dados"), "dados novos");
    // Each one fails and leaves the old backup as it was.
    const struct {
        QString origem, destino;
        bool sobrescrever;
        qint32 erro;
    } casos[] = {
        {pasta.filePath("nada"), antigo, true, 53},
        {pasta.filePath("dados"), antigo, false, 0},
        {pasta.path(), antigo, true, EISDIR},  // reading fails half-way
        {pasta.filePath("dados"), pasta.filePath("sem/pasta"), true, ENOENT},
        {QString(), antigo, true, 0},
    };
    for (const auto &c : casos) {
        EXPECT_FALSE(CompactarArquivo(c.origem, c.destino, 9, erro, c.sobrescrever)) << c.origem.toStdString();
        EXPECT_EQ(erro, c.erro) << c.origem.toStdString();
        EXPECT_EQ(ler(antigo), QByteArray("backup antigo"));
    }
    EXPECT_EQ(arquivos(pasta.path()), QStringList({"Velora.Bck", "dados"}));
}

TEST_F(Backup, DanificadosOuHostisSaoRecusadosSemTocarNaBase)
{
    base.InserirUsuario(QStringLiteral("ANA"), std::nullopt);
    ASSERT_EQ(FazerBackup(naMidia()), 0);
    const QByteArray bom = ler(naMidia()), fluxo = bom.chopped(17);
    const qint64 s = bom.right(12).left(11).toLongLong();
    ASSERT_EQ(s, QFileInfo(base.arquivo).size());

    // A bomb: 64 MB of zeros in a stream of some 64 KB.
    const QString zeros = midia.filePath("zeros");
    QFile(zeros).open(QIODevice::WriteOnly);
    QFile(zeros).resize(qint64(64) << 20);
    qint32 erro;
    ASSERT_TRUE(CompactarArquivo(zeros, naMidia("bomba"), 9, erro, true));
    const QByteArray bomba = ler(naMidia("bomba")).chopped(17);
    QFile::remove(zeros);

    struct Caso {
        QByteArray arquivo;
        qint32 erro;  // 0: any refusal
        QString nome;
    };
    std::vector<Caso> casos = {
        {QByteArray(), -1, "vazio"},
        {fluxo + trailer(0).replace(5, 1, "0"), -1, "tamanho 0"},
        {fluxo + trailer(s - 1), Z_BUF_ERROR, "S-1"},
        {fluxo + trailer(s + 1), Z_DATA_ERROR, "S+1"},
        {fluxo + trailer(10000000000), Z_MEM_ERROR, "10 GB"},
        {fluxo.left(30) + trailer(s * 1000), Z_DATA_ERROR, "mais do que o fluxo pode dar"},
        {fluxo + "x" + trailer(s), Z_DATA_ERROR, "sobra entre o fluxo e o trailer"},
        {fluxo.chopped(9) + trailer(s), Z_DATA_ERROR, "fluxo cortado, trailer inteiro"},
        {fluxo + trailer(s).replace(2, 1, "\1"), -1, "marca"},
        {fluxo + trailer(s).replace(5, 1, "0"), -1, "zero à esquerda"},
        {fluxo + trailer(s).replace(6, 1, "a"), -1, "letra"},
        {fluxo + trailer(s).replace(15, 1, "7"), -1, "dígito depois do NUL"},
        {fluxo + trailer(s).replace(16, 1, "\1"), -1, "cópia do último byte"},
        {bomba + trailer(1000000), Z_BUF_ERROR, "bomba com tamanho pequeno"},
        {bomba + trailer(10000000000), Z_MEM_ERROR, "bomba de 10 GB"},
    };
    QByteArray aleatorio(4096, '\0');
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(aleatorio.data()), 1024);
    casos.push_back({aleatorio, -1, "bytes aleatórios"});
    casos.push_back({aleatorio + trailer(1000000), 0, "bytes aleatórios com trailer"});
    for (int n = 1; n < bom.size(); ++n)
        if (n < 200 || n > bom.size() - 200)
            casos.push_back({bom.left(n), 0, QStringLiteral("cortado em %1").arg(n)});
    for (int i = 0; i < bom.size(); i += (i < 64 || i >= bom.size() - 64) ? 1 : 7)
        for (int bit = 0; bit < 8; ++bit) {
            QByteArray b = bom;
            b[i] = char(b[i] ^ (1 << bit));
            casos.push_back({b, 0, QStringLiteral("bit %1 do byte %2").arg(bit).arg(i)});
        }
    ASSERT_GT(casos.size(), 2000u);

    QByteArray original, saida;
    ASSERT_TRUE(DescompactarBytes(bom, original, erro, -1));
    const QByteArray antes = hashDaBase();
    [[maybe_unused]] const qint64 pico = picoDeMemoriaKb();
    int mesmosDados = 0;
    for (const Caso &c : casos) {
        // A flip in the extra bits of a match inside a run of zeros can give another encoding
        // of the very same bytes: no damage, so no case.
        const bool decodificado = DescompactarBytes(c.arquivo, saida, erro, -1);
        if (decodificado && saida == original) {
            ++mesmosDados;
            continue;
        }
        gravar(naMidia(), c.arquivo);
        const qint32 e = RestaurarBackup(naMidia());
        if (c.erro != 0)
            EXPECT_EQ(e, c.erro) << c.nome.toStdString();
        else
            EXPECT_NE(e, 0) << c.nome.toStdString();
        EXPECT_EQ(erro, e) << c.nome.toStdString();
        ASSERT_EQ(hashDaBase(), antes) << c.nome.toStdString();
    }
#ifndef __SANITIZE_ADDRESS__
    // (AddressSanitizer keeps freed blocks in quarantine, so there the peak tells nothing.)
    EXPECT_LT(picoDeMemoriaKb() - pico, 32 * 1024) << "KB a mais no pico de memória";
#endif
    EXPECT_LT(mesmosDados, 50);
    EXPECT_EQ(arquivos(base.pasta.path()), QStringList({"dadosu.lst"}));

    // A sound backup of something else: not a database, a database without the planner's
    // tables, a planner database with a damaged page.
    QByteArray paginaDanificada = ler(base.arquivo);
    paginaDanificada[4096] = char(0x7f);  // no b-tree page type
    sqlite3 *db = nullptr;
    sqlite3_open(midia.filePath("outra.db").toUtf8().constData(), &db);
    sqlite3_exec(db, "Create Table Usuarios (Codigo)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    for (const auto &[conteudo, esperado] : {std::pair{QByteArray(8192, 'x'), SQLITE_NOTADB},
                                             std::pair{ler(midia.filePath("outra.db")), SQLITE_NOTADB},
                                             std::pair{paginaDanificada, SQLITE_CORRUPT}}) {
        QByteArray backup;
        CompactarBytes(conteudo, backup, 9, erro, true);
        gravar(naMidia(), backup);
        EXPECT_EQ(RestaurarBackup(naMidia()), esperado);
        EXPECT_EQ(hashDaBase(), antes);
    }
}

TEST_F(Backup, CopiaConsistenteERestauracaoDevolveOsDados)
{
    base.InserirUsuario(QStringLiteral("ANA"), std::nullopt);
    base.InserirUsuario(QStringLiteral("BIA"), std::nullopt);
    ASSERT_EQ(FazerBackup(naMidia()), 0);
    const QByteArray primeiro = ler(naMidia());

    // A writer in another process in the middle of its transaction, its pages already spilled
    // into the file: the snapshot waits for it and gives up, and the old backup stays.
    modDb::DefinirEsperaOcupado(100);
    sqlite3 *escritor = nullptr;
    sqlite3_open(base.arquivo.toUtf8().constData(), &escritor);
    ASSERT_EQ(sqlite3_exec(escritor, "PRAGMA cache_size = 1; BEGIN; Insert into Usuarios (Login) Values ('CAIO');"
                                     "With Recursive n(i) As (Select 1 Union All Select i + 1 From n Where i < 4096) "
                                     "Insert into Compromissos (Usuario, Compromisso) Select 1, hex(randomblob(200)) From n",
                           nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(FazerBackup(naMidia()), SQLITE_BUSY);
    EXPECT_EQ(ler(naMidia()), primeiro);
    // A restore meanwhile waits for it as long, and refuses: nothing of the backup reaches the file.
    EXPECT_EQ(RestaurarBackup(naMidia()), SQLITE_BUSY);
    sqlite3_exec(escritor, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(escritor);
    ASSERT_EQ(FazerBackup(naMidia()), 0);
    EXPECT_EQ(arquivos(base.pasta.path()), QStringList({"dadosu.lst"}));

    base.Executar(QStringLiteral("Delete from Usuarios Where Login <> 'ANA'; Delete from Compromissos"));
    ASSERT_EQ(RestaurarBackup(naMidia()), 0);
    EXPECT_EQ(logins(), QStringLiteral("ANA,BIA,CAIO"));
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Compromissos")), QStringLiteral("4096"));
    EXPECT_EQ(base.Valor(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
    EXPECT_EQ(arquivos(base.pasta.path()), QStringList({"dadosu.lst"}));
}

// A restore killed at random moments, over and over: the file opens sound, with the data of one
// backup or the other, never a mixture. Some kills must land while the live file is being
// written (its journal is then left behind), or the test proves nothing.
TEST_F(Backup, RestauracaoInterrompidaDeixaOAntigoOuONovo)
{
    const auto fazer = [&](const char *login, int linhas) {
        base.Executar(QStringLiteral("Delete from Usuarios; Delete from Compromissos;"
                                     "Insert into Usuarios (Login) Values ('%1');"
                                     "With Recursive n(i) As (Select 1 Union All Select i + 1 From n Where i < %2) "
                                     "Insert into Compromissos (Usuario, Compromisso) Select 1, hex(randomblob(40)) From n")
                          .arg(QLatin1String(login)).arg(linhas));
        EXPECT_EQ(FazerBackup(naMidia(QLatin1String(login))), 0);
        return QStringLiteral("%1/%2").arg(QLatin1String(login)).arg(linhas);
    };
    const QStringList conteudos = {fazer("NOVO", 15000), fazer("ANTIGO", 10000)};
    const auto conteudo = [&] {
        return base.Valor(QStringLiteral("Select Login from Usuarios")) + u'/' +
               base.Valor(QStringLiteral("Select count(*) from Compromissos"));
    };

    // One full round first, to learn how long a restore takes here, apart from the helper's start.
    QProcess auxiliar;
    const QStringList argumentos = {base.pasta.path(), naMidia("NOVO"), naMidia("ANTIGO")};
    QElapsedTimer relogio;
    relogio.start();
    auxiliar.start(QStringLiteral(AUXILIAR_RESTAURACAO), argumentos);
    qint64 primeira = 0;
    for (int lidas = 0; lidas < 4;) {
        if (!auxiliar.canReadLine()) {
            ASSERT_TRUE(auxiliar.waitForReadyRead(20000)) << "o auxiliar não restaurou";
            continue;
        }
        EXPECT_EQ(auxiliar.readLine().trimmed(), QByteArray("0"));
        if (++lidas == 1)
            primeira = relogio.elapsed();
    }
    const int ciclo = int(qMax<qint64>((relogio.elapsed() - primeira) / 3, 1));
    auxiliar.kill();
    auxiliar.waitForFinished(20000);

    QRandomGenerator acaso(16);
    int noMeioDaEscrita = 0;
    QSet<QString> vistos;
    for (int i = 0; i < 25; ++i) {
        auxiliar.start(QStringLiteral(AUXILIAR_RESTAURACAO), argumentos);
        ASSERT_TRUE(auxiliar.waitForStarted(20000));
        // The kill lands at a random moment of the first, second or third restore, counted from
        // the restores the helper reports done, so a slow start does not keep every kill before
        // the first one ends: the new data and the old are both seen.
        for (int feitas = int(acaso.bounded(3)); feitas > 0;) {
            if (auxiliar.canReadLine()) {
                EXPECT_EQ(auxiliar.readLine().trimmed(), QByteArray("0"));
                --feitas;
            } else {
                ASSERT_TRUE(auxiliar.waitForReadyRead(20000)) << "o auxiliar não restaurou";
            }
        }
        // A wait for the helper's end, which never comes.
        EXPECT_FALSE(auxiliar.waitForFinished(acaso.bounded(ciclo)));
        auxiliar.kill();
        ASSERT_TRUE(auxiliar.waitForFinished(20000));
        noMeioDaEscrita += QFileInfo(base.arquivo + QStringLiteral("-journal")).size() > 0;
        EXPECT_EQ(base.Valor(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok")) << i;
        const QString visto = conteudo();
        EXPECT_TRUE(conteudos.contains(visto)) << visto.toStdString();
        vistos << visto;
    }
    EXPECT_GT(noMeioDaEscrita, 0) << "nenhuma interrupção caiu na escrita da base";
    EXPECT_EQ(vistos.size(), 2);
}

// The medium, or the disk of the database's folder, fills up half-way (a file-size limit the
// kernel enforces): the step fails with the system's error, the old backup and the database stay
// as they were, and no temporary file is left behind.
TEST_F(Backup, MidiaOuDiscoCheiosFalhamSemPerderNada)
{
    base.InserirUsuario(QStringLiteral("ANA"), std::nullopt);
    ASSERT_EQ(FazerBackup(naMidia()), 0);
    const QByteArray antigo = ler(naMidia());
    base.Executar(QStringLiteral("With Recursive n(i) As (Select 1 Union All Select i + 1 From n Where i < 6000) "
                                 "Insert into Compromissos (Usuario, Compromisso) Select 1, hex(randomblob(100)) From n"));
    QTemporaryDir fora;
    const QString grande = fora.filePath(ArquivoBackup), aleatorio = fora.filePath(QStringLiteral("aleatorio"));
    ASSERT_EQ(FazerBackup(grande), 0);
    QByteArray bytes(1 << 20, '\0');
    QRandomGenerator(3).fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
    gravar(aleatorio, bytes);
    base.InserirUsuario(QStringLiteral("BIA"), std::nullopt);
    const QByteArray antes = hashDaBase();
    constexpr rlim_t limite = 256 * 1024;
    ASSERT_GT(QFileInfo(base.arquivo).size(), qint64(4 * limite));
    ASSERT_GT(QFileInfo(grande).size(), qint64(2 * limite));
    const struct {
        const char *nome;
        std::function<int()> passo;
    } casos[] = {
        {"a mídia enche durante a escrita", [&] {
             qint32 erro = 0;
             CompactarArquivo(aleatorio, naMidia(), 9, erro, true);
             return int(erro);
         }},
        {"o disco da base enche durante a cópia", [&] { return int(FazerBackup(naMidia())); }},
        {"o disco da base enche durante a restauração", [&] { return int(RestaurarBackup(grande)); }},
    };
    for (const auto &c : casos) {
        EXPECT_EQ(comLimiteDeArquivo(limite, c.passo), EFBIG) << c.nome;
        EXPECT_EQ(ler(naMidia()), antigo) << c.nome;
        EXPECT_EQ(hashDaBase(), antes) << c.nome;
        EXPECT_EQ(arquivos(midia.path()).join(u' '), ArquivoBackup) << c.nome;
        EXPECT_EQ(arquivos(base.pasta.path()).join(u' '), QStringLiteral("dadosu.lst")) << c.nome;
    }
}

// What stands on the medium as Velora.Bck may be no backup file: a link to a file elsewhere, a
// FIFO, a folder. A backup replaces a link or a FIFO and never writes through it; a restore reads
// none of them, nor a device, and says why at once (a FIFO would keep it waiting for a writer).
TEST_F(Backup, VeloraBckQueNaoEArquivoComum)
{
    base.InserirUsuario(QStringLiteral("ANA"), std::nullopt);
    QTemporaryDir fora;
    const QString bom = fora.filePath(ArquivoBackup), carta = fora.filePath(QStringLiteral("carta.txt"));
    ASSERT_EQ(FazerBackup(bom), 0);
    gravar(carta, "carta");
    base.InserirUsuario(QStringLiteral("BIA"), std::nullopt);
    const QByteArray antes = hashDaBase(), backupBom = ler(bom);
    const QByteArray caminho = QFile::encodeName(naMidia());
    const struct {
        const char *nome;
        std::function<bool()> criar;
        QString arquivo;
        qint32 restauracao;
        std::optional<qint32> backup;  // none: no backup onto it
    } casos[] = {
        {"link para um backup", [&] { return QFile::link(bom, naMidia()); }, naMidia(), ELOOP, 0},
        {"link para um arquivo do usuário", [&] { return QFile::link(carta, naMidia()); }, naMidia(), ELOOP, 0},
        {"FIFO", [&] { return ::mkfifo(caminho.constData(), 0600) == 0; }, naMidia(), EINVAL, 0},
        {"pasta", [&] { return QDir(midia.path()).mkdir(ArquivoBackup); }, naMidia(), EISDIR, EISDIR},
        {"dispositivo", [] { return true; }, QStringLiteral("/dev/zero"), EINVAL, std::nullopt},
    };
    for (const auto &c : casos) {
        ASSERT_TRUE(c.criar()) << c.nome;
        auto restauracao = std::async(std::launch::async, [&] { return RestaurarBackup(c.arquivo); });
        if (restauracao.wait_for(std::chrono::seconds(20)) == std::future_status::timeout) {
            // Still waiting for a writer of the FIFO: one comes and goes, and the restore goes on.
            ::close(::open(caminho.constData(), O_WRONLY | O_NONBLOCK));
            ADD_FAILURE() << c.nome << ": a restauração ficou esperando";
        }
        EXPECT_EQ(restauracao.get(), c.restauracao) << c.nome;
        EXPECT_EQ(hashDaBase(), antes) << c.nome;
        if (c.backup) {
            EXPECT_EQ(FazerBackup(naMidia()), *c.backup) << c.nome;
            QByteArray restaurado;
            qint32 erro;
            EXPECT_EQ(*c.backup != 0 || (QFileInfo(naMidia()).isFile() && !QFileInfo(naMidia()).isSymLink() &&
                                          DescompactarBytes(ler(naMidia()), restaurado, erro, -1)), true) << c.nome;
        }
        EXPECT_EQ(ler(carta), QByteArray("carta")) << c.nome;
        EXPECT_EQ(ler(bom), backupBom) << c.nome;
        if (!QFile::remove(naMidia()))
            QDir(midia.path()).rmdir(ArquivoBackup);
    }
}

TEST(UnidadeA, PastaMidiaEListagem)
{
    const QString u = QStringLiteral("ana");
    const struct {
        QStringList montagens;
        std::optional<QString> esperada;
    } casos[] = {
        {{"/", "/home", "/media/bia/PENDRIVE"}, std::nullopt},
        {{"/media/ana", "/media/anabela/X"}, std::nullopt},
        {{"/run/media/ana/ZETA", "/media/ana/BETA", "/media/ana/ALFA"}, QStringLiteral("/media/ana/ALFA")},
        {{"/run/media/ana/DISCO"}, QStringLiteral("/run/media/ana/DISCO")},
    };
    for (const auto &c : casos)
        EXPECT_EQ(unidade_a::PrimeiraMidia(c.montagens, u), c.esperada) << c.montagens.join(' ').toStdString();

    QTemporaryDir midia;
    for (const char *nome : {"b.txt", "Velora.Bck", ".oculto", "A.txt"})
        gravar(midia.filePath(QLatin1String(nome)), "x");
    QDir(midia.path()).mkdir(QStringLiteral("Pasta"));
    QFile::link(midia.filePath("b.txt"), midia.filePath("atalho"));
    qputenv("VELORA_DRIVE_A", midia.path().toUtf8());
    EXPECT_EQ(unidade_a::Pasta(), midia.path());
    EXPECT_EQ(unidade_a::Listar(midia.path()), QStringList({"A.txt", "Velora.Bck", "b.txt"}));
    qputenv("VELORA_DRIVE_A", midia.filePath("ausente").toUtf8());
    EXPECT_EQ(unidade_a::Pasta(), std::nullopt);
    qunsetenv("VELORA_DRIVE_A");
}

TEST_F(Backup, BotaoDeBackupConformeOQueHaNaMidia)
{
    base.InserirUsuario(QStringLiteral("ANA"), std::nullopt);
    Entrar(QStringLiteral("ANA"));
    ASSERT_NE(Sessao.Codigo, 0);
    const struct {
        std::function<void()> preparar;
        const char *mensagem;
        int icone;
        bool operou;  // the file was read: the reminder timer is off until the message is answered
    } casos[] = {
        {[&] { qputenv("VELORA_DRIVE_A", midia.filePath("ausente").toUtf8()); }, "Insira um Disquete em Branco no Drive A:", 3, false},
        {[&] { qputenv("VELORA_DRIVE_A", midia.path().toUtf8()), gravar(naMidia("foto.jpg"), "x"); }, "Limpe o Disquete para efetuar Backup!", 3, false},
        {[&] { QFile::remove(naMidia("foto.jpg")), gravar(naMidia(".oculto"), "x"), QDir(midia.path()).mkdir("fotos"); }, "Backup Realizado com Sucesso!", 0, true},
        {[&] { base.InserirUsuario(QStringLiteral("BIA"), std::nullopt); }, "Backup Realizado com Sucesso!", 0, true},  // replaces the old one
        {[&] { QFile::remove(naMidia()), QDir(midia.path()).mkdir(ArquivoBackup); }, "Impossível Efetuar Backup (21)!", 3, true},
        {[&] { Sessao.NovoUsuario = true; }, "Informe os seus Dados Cadastrais e os da Sua Agenda, depois selecione Gravar para ter acesso as funções!", 2, false},
    };
    for (const auto &c : casos) {
        c.preparar();
        bool checagemNaMensagem = false;
        auto vista = ResponderMensagem(true, [&] { checagemNaMensagem = frmAgenda().tmrChecagem->Ativo(); });
        frmAgenda().cmdBackup->click();
        EXPECT_EQ(vista->texto.toStdString(), c.mensagem);
        EXPECT_EQ(vista->icone, c.icone) << c.mensagem;
        EXPECT_EQ(vista->botoes, 1);
        EXPECT_EQ(checagemNaMensagem, !c.operou) << c.mensagem;
        EXPECT_TRUE(frmAgenda().tmrChecagem->Ativo()) << c.mensagem;
        EXPECT_FALSE(tk::Tela::AmpulhetaLigada());
        if (c.icone == 0) {
            QByteArray restaurado;
            qint32 erro;
            ASSERT_TRUE(DescompactarBytes(ler(naMidia()), restaurado, erro, -1));
            gravar(midia.filePath(".volta"), restaurado);
            EXPECT_EQ(ValorEm(midia.filePath(".volta"), QStringLiteral("Select group_concat(Login) from Usuarios")), logins());
        }
    }
    Sessao.NovoUsuario = false;
}

TEST_F(Backup, RestauracaoPelaAgendaEncerraASessao)
{
    base.InserirUsuario(QStringLiteral("ANA"), std::nullopt);
    base.InserirUsuario(QStringLiteral("BIA"), std::nullopt);
    Entrar(QStringLiteral("ANA"));
    ASSERT_EQ(FazerBackup(naMidia()), 0);
    const QByteArray bom = ler(naMidia());
    QByteArray danificado = bom;
    danificado[danificado.size() - 19] = char(~danificado[danificado.size() - 19]);  // the stream's checksum
    base.Executar(QStringLiteral("Delete from Usuarios Where Login = 'BIA'"));
    base.InserirUsuario(QStringLiteral("CAIO"), std::nullopt);
    const QString pergunta = QStringLiteral("Você Confirma Restaução do Backup?");
    const struct {
        std::function<void()> preparar;
        std::vector<std::pair<QString, int>> mensagens;  // text and icon, in order
        bool confirmar;
    } casos[] = {
        {[&] { qputenv("VELORA_DRIVE_A", midia.filePath("ausente").toUtf8()); }, {{"Insira um Disquete no Drive A:", 3}}, true},
        {[&] { qputenv("VELORA_DRIVE_A", midia.path().toUtf8()), QFile::remove(naMidia()); }, {{"Disquete não contém Backup da Velora!", 3}}, true},
        {[&] { gravar(naMidia(), bom), gravar(naMidia("A.txt"), "x"); }, {{"Disquete não contém Backup da Velora!", 3}}, true},
        {[&] { QFile::remove(naMidia("A.txt")); }, {{pergunta, 1}}, false},
        {[&] { gravar(naMidia(), bom.chopped(17)); }, {{pergunta, 1}, {"Impossível Efetuar Restauração (-1)!", 3}}, true},
        {[&] { gravar(naMidia(), danificado); }, {{pergunta, 1}, {"Impossível Efetuar Restauração (-3)!", 3}}, true},
    };
    const QByteArray antes = hashDaBase();
    for (const auto &c : casos) {
        c.preparar();
        std::vector<std::shared_ptr<MensagemVista>> vistas;
        for (const auto &m : c.mensagens)
            vistas.push_back(ResponderMensagem(m.second != 1 || c.confirmar));
        frmAgenda().cmdRestore->click();
        for (size_t i = 0; i < vistas.size(); ++i) {
            EXPECT_EQ(vistas[i]->texto, c.mensagens[i].first);
            EXPECT_EQ(vistas[i]->icone, c.mensagens[i].second) << c.mensagens[i].first.toStdString();
        }
        EXPECT_EQ(hashDaBase(), antes) << c.mensagens.back().first.toStdString();
        EXPECT_NE(Sessao.Codigo, 0);
        EXPECT_TRUE(frmAgenda().isVisible());
        EXPECT_TRUE(frmAgenda().tmrChecagem->Ativo());
    }

    gravar(naMidia(), bom);
    ResponderMensagem();
    auto sucesso = ResponderMensagem();
    frmAgenda().cmdRestore->click();
    EXPECT_EQ(sucesso->texto, QStringLiteral("  Restauração Realizada com Sucesso!  \r\n    É Necessário Logar Novamente!"));
    EXPECT_EQ(sucesso->icone, 0);
    EXPECT_EQ(logins(), QStringLiteral("ANA,BIA"));
    EXPECT_FALSE(frmAgenda().isVisible());
    EXPECT_EQ(Sessao.Codigo, 0);
    EXPECT_FALSE(frmAgenda().tmrChecagem->Ativo());
    FrmLogon &logon = frmLogon();
    EXPECT_TRUE(logon.isVisible());
    EXPECT_TRUE(logon.txtPass->text().isEmpty());
    EXPECT_FALSE(frmMenu().LogOut->isVisible());
    EXPECT_TRUE(logon.iconeBandeja.Incluido());
    EXPECT_TRUE(Sessao.DadosRestaurados);
    Entrar(QStringLiteral("BIA"));
    EXPECT_TRUE(frmAgenda().isVisible());
    EXPECT_FALSE(Sessao.DadosRestaurados);
}

TEST_F(Backup, LoginReservadoRestauraAntesDeEntrar)
{
    base.InserirUsuario(QStringLiteral("ANA"), std::nullopt);
    base.InserirUsuario(QStringLiteral("BIA"), std::nullopt);
    ASSERT_EQ(FazerBackup(naMidia()), 0);
    const QByteArray bom = ler(naMidia());
    base.Executar(QStringLiteral("Delete from Usuarios"));
    ResponderMensagem();  // a file without users: the first-run message
    FrmLogon &f = frmLogon();
    ASSERT_TRUE(f.frmLogon_Form_Load());
    f.show();
    EXPECT_FALSE(f.cmdLogar->isEnabled());

    // A damaged backup is refused, and said so.
    gravar(naMidia(), bom.left(bom.size() / 2));
    const QByteArray antes = hashDaBase();
    Digitar(f.txtLogin, QStringLiteral("daradovezudi"));
    EXPECT_EQ(f.txtLogin->text(), QStringLiteral("DARADOVEZUDI"));
    ResponderMensagem();
    auto falha = ResponderMensagem();
    QTest::keyClick(f.txtLogin, Qt::Key_Return);
    EXPECT_EQ(falha->texto, QStringLiteral("Impossível Efetuar Restauração (-1)!"));
    EXPECT_EQ(hashDaBase(), antes);

    gravar(naMidia(), bom);
    auto pergunta = ResponderMensagem();
    auto sucesso = ResponderMensagem();
    QTest::keyClick(f.txtLogin, Qt::Key_Return);
    EXPECT_EQ(pergunta->texto, QStringLiteral("Você Confirma Restaução do Backup?"));
    EXPECT_EQ(pergunta->icone, 1);
    EXPECT_EQ(pergunta->botoes, 0);
    EXPECT_EQ(sucesso->texto, QStringLiteral("  Restauração Realizada com Sucesso! "));
    EXPECT_EQ(sucesso->icone, 0);
    EXPECT_EQ(logins(), QStringLiteral("ANA,BIA"));
    EXPECT_TRUE(f.txtLogin->text().isEmpty());
    EXPECT_TRUE(f.txtLogin->isEnabled());
    EXPECT_TRUE(f.cmdLogar->isEnabled());
    EXPECT_TRUE(Sessao.DadosRestaurados);
    EXPECT_EQ(Sessao.Codigo, 0);
    Entrar(QStringLiteral("BIA"));
    EXPECT_TRUE(frmAgenda().isVisible());
    EXPECT_FALSE(Sessao.DadosRestaurados);
}

TEST_F(Backup, SenhasVoltamDoBackupComoEstavam)
{
    // A hash travels unchanged and signs on; an old encoding in an old backup still signs on
    // and becomes a hash at that sign-on.
    const qint64 ana = base.InserirUsuario(QStringLiteral("ANA"), GuardarSenha(QStringLiteral("abc")));
    const qint64 bia = base.InserirUsuario(QStringLiteral("BIA"), CodificarSenha(QStringLiteral("xyz")));
    const auto senha = [&](qint64 codigo) { return base.Valor(QStringLiteral("Select Senha from Usuarios Where Codigo=%1").arg(codigo)); };
    const QString hashDaAna = senha(ana);
    ASSERT_EQ(FazerBackup(naMidia()), 0);
    base.Executar(QStringLiteral("Update Usuarios set Senha = NULL"));
    ASSERT_EQ(RestaurarBackup(naMidia()), 0);
    EXPECT_EQ(senha(ana), hashDaAna);
    EXPECT_EQ(senha(bia), CodificarSenha(QStringLiteral("xyz")));

    Entrar(QStringLiteral("ANA"), QStringLiteral("abc"));
    EXPECT_EQ(Sessao.Codigo, ana);
    frmAgenda().frmAgenda_cmdLogout_Click();
    Entrar(QStringLiteral("BIA"), QStringLiteral("xyz"));
    EXPECT_EQ(Sessao.Codigo, bia);
    EXPECT_TRUE(HashDaSenha(senha(bia), QStringLiteral("xyz")));
}
