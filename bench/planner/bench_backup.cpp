// Backup and restore of planner databases of 100 MB and 1 GB, beside gzip on the same files in
// the same run:
//   - the codec alone: the file compressed at level 9 and decompressed again, against
//     "gzip -9" and "gzip -d" (throughput in MB of database per second);
//   - the whole operations: the backup with its snapshot, the restore with its checks and its
//     write into the live database;
//   - the peak memory (maximum resident set) of each, measured in a child process of its own.
// Run by hand:  build/bin/bench_velora_backup [100] [1000]   (sizes in MB; both by default)
// The databases are made once in the temporary folder (VELORA_BENCH_BASE names another place).

#include "backup/modBackup.h"
#include "core/modDb.h"
#include "esquema.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

extern char **environ;

namespace {

// Appointments of 100 users with ordinary texts, added in batches until the file reaches the size.
void criarBase(const QString &arquivo, qint64 bytes)
{
    if (QFileInfo(arquivo).size() >= bytes)
        return;
    QFile::remove(arquivo);
    std::fprintf(stderr, "criando %s de %lld MB...\n", qPrintable(arquivo), bytes >> 20);
    if (const QString erro = CriarBaseVazia(arquivo); !erro.isEmpty())
        qFatal("%s", qPrintable(erro));
    sqlite3 *db = nullptr;
    sqlite3_open(arquivo.toUtf8().constData(), &db);
    const char *lote =
        "BEGIN;"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i < 200000) "
        "INSERT INTO Compromissos(Usuario,Data,Hora,HoraFim,Compromisso,ChavePai,Status,Compartilhado) "
        "SELECT 1 + i % 100, date('2025-01-01', '+' || (i * 7919 % 1100) || ' days'), "
        "printf('%02d:%02d:00', 7 + i % 13, (i % 4) * 15), NULL, "
        "'Reunião ' || (i % 37) || ' com o cliente ' || (i * 31 % 997) || ' sobre o contrato ' || hex(randomblob(2)), "
        "0, CASE WHEN i % 10 = 0 THEN '1' ELSE '0' END, CASE WHEN i % 5 = 0 THEN 'S' ELSE 'N' END FROM n;"
        "COMMIT;";
    while (QFileInfo(arquivo).size() < bytes) {
        char *msg = nullptr;
        if (sqlite3_exec(db, lote, nullptr, nullptr, &msg) != SQLITE_OK)
            qFatal("%s", msg);
    }
    sqlite3_exec(db, "INSERT INTO Usuarios(Login,Nome,Email,FoneRes,FoneCel,Aniversario,Pastinha) "
                     "VALUES ('ANA','Ana','ana@exemplo.com.br',' ',' ','1900-01-01','Inicial')",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// What a child process used: wall and CPU seconds (user + system), peak resident memory in MB
// (for the planner's own operations only).
struct Uso {
    double parede = 0, cpu = 0, picoMb = 0;
};

// Runs a program with its output into a file and waits for it.
Uso executar(const std::vector<std::string> &argumentos, const QString &saida = QString())
{
    QElapsedTimer relogio;
    relogio.start();
    posix_spawn_file_actions_t acoes;
    posix_spawn_file_actions_init(&acoes);
    if (!saida.isEmpty())
        posix_spawn_file_actions_addopen(&acoes, 1, QFile::encodeName(saida).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char *> argv;
    for (const std::string &a : argumentos)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], &acoes, nullptr, argv.data(), environ) != 0)
        qFatal("não foi possível executar %s", argv[0]);
    posix_spawn_file_actions_destroy(&acoes);
    int estado = 0;
    rusage uso{};
    wait4(pid, &estado, 0, &uso);
    if (!WIFEXITED(estado) || WEXITSTATUS(estado) != 0)
        qFatal("%s terminou com falha", argv[0]);
    const auto s = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return {double(relogio.nsecsElapsed()) / 1e9, s(uso.ru_utime) + s(uso.ru_stime), 0};
}

// One operation, run in a child process (the benchmark itself with "--caso"); it prints its
// own peak resident memory (VmHWM, KB). The rusage of a child would also count the parent's
// memory it started as a copy of.
int caso(const QString &nome, const QString &pasta)
{
    modDb::DefinirPastaDados(pasta);
    const QString banco = modDb::ArquivoDados(), backup = QDir(pasta).filePath(QStringLiteral("midia/Velora.Bck"));
    qint32 erro = 0;
    if (nome == QLatin1String("compactar"))
        CompactarArquivo(banco, QDir(pasta).filePath(QStringLiteral("codec.bck")), NivelBackup, erro, true);
    else if (nome == QLatin1String("descompactar"))
        DescompactarArquivo(QDir(pasta).filePath(QStringLiteral("codec.bck")), QDir(pasta).filePath(QStringLiteral("codec.lst")), erro, true);
    else if (nome == QLatin1String("backup"))
        erro = FazerBackup(backup);
    else if (nome == QLatin1String("restauracao"))
        erro = RestaurarBackup(backup);
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &linha : status.readAll().split('\n'))
        if (linha.startsWith("VmHWM:"))
            std::printf("%s\n", linha.mid(6).trimmed().split(' ').first().constData());
    return erro == 0 ? 0 : 1;
}

void medir(const char *programa, qint64 megas)
{
    const QString raiz = qEnvironmentVariableIsSet("VELORA_BENCH_BASE") ? qEnvironmentVariable("VELORA_BENCH_BASE")
                                                                        : QDir::temp().filePath(QStringLiteral("velora-bench"));
    const QString pasta = QDir(raiz).filePath(QStringLiteral("backup-%1mb").arg(megas));
    QDir().mkpath(QDir(pasta).filePath(QStringLiteral("midia")));
    const QString banco = QDir(pasta).filePath(QStringLiteral("dadosu.lst"));
    criarBase(banco, megas << 20);
    const double mb = double(QFileInfo(banco).size()) / (1 << 20);
    const auto arquivo = [&](const char *nome) { return QDir(pasta).filePath(QLatin1String(nome)); };
    const auto caso = [&](const char *operacao) {
        Uso u = executar({programa, "--caso", operacao, pasta.toStdString()}, arquivo("pico.txt"));
        QFile pico(arquivo("pico.txt"));
        pico.open(QIODevice::ReadOnly);
        u.picoMb = pico.readAll().trimmed().toDouble() / 1024;
        return u;
    };

    // Warm the page cache, so every contender reads the file from memory.
    executar({"cat", banco.toStdString()}, QStringLiteral("/dev/null"));
    const Uso compactar = caso("compactar");
    const Uso gzip = executar({"gzip", "-9", "-c", banco.toStdString()}, arquivo("codec.gz"));
    const Uso descompactar = caso("descompactar");
    const Uso gunzip = executar({"gzip", "-d", "-c", arquivo("codec.gz").toStdString()}, arquivo("codec.gunzip"));
    const Uso backup = caso("backup");
    const Uso restauracao = caso("restauracao");
    const Uso nada = caso("nada");

    std::printf("\nBase de %.0f MB (%s); backup de %.1f MB, gzip -9 de %.1f MB\n", mb, qPrintable(banco),
                double(QFileInfo(arquivo("codec.bck")).size()) / (1 << 20), double(QFileInfo(arquivo("codec.gz")).size()) / (1 << 20));
    std::printf("  %-44s %9s %9s %12s %10s\n", "", "parede s", "CPU s", "MB/s de CPU", "pico MB");
    const auto linha = [&](const char *o, const Uso &u) {
        std::printf("  %-44s %9.2f %9.2f %12.1f %10s\n", o, u.parede, u.cpu, mb / u.cpu,
                    u.picoMb > 0 ? qPrintable(QString::number(u.picoMb, 'f', 1)) : "-");
    };
    linha("CompactarArquivo, nível 9", compactar);
    linha("gzip -9", gzip);
    linha("DescompactarArquivo", descompactar);
    linha("gzip -d", gunzip);
    linha("backup inteiro (cópia + compressão)", backup);
    linha("restauração inteira (verificação + escrita)", restauracao);
    linha("processo sem operação (base de memória)", nada);
    // Other programs share the machine: CPU time measures the codecs, wall time what a user waits.
    std::printf("  vazão relativa a gzip, em CPU: compressão %.2fx, descompressão %.2fx\n", gzip.cpu / compactar.cpu,
                gunzip.cpu / descompactar.cpu);
    for (const char *nome : {"codec.bck", "codec.lst", "codec.gz", "codec.gunzip", "pico.txt"})
        QFile::remove(arquivo(nome));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--caso")
        return caso(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    QList<qint64> tamanhos;
    for (int i = 1; i < argc; ++i)
        tamanhos << QByteArray(argv[i]).toLongLong();
    if (tamanhos.isEmpty())
        tamanhos = {100, 1000};
    const std::string programa = QCoreApplication::applicationFilePath().toStdString();
    for (qint64 megas : tamanhos)
        medir(programa.c_str(), megas);
    return 0;
}
