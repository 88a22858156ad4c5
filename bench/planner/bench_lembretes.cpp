// Costs of the reminder scan, on a copy of the file of 1,000,000 appointments that
// bench_velora_banco makes (run it first):
//   1. each scan statement as the program runs it (Consultar: connection, statement, rows read)
//      and on a connection held open (the statement alone), at 10:00 of the busy day: user U001, who has acted on every earlier reminder, has 10
//      appointments and 2 birthdays due; user U002, who never acted on one, has about 4,800
//      appointments due (a backlog, shown for scale);
//   2. the month calendar's marking statement, for scale;
//   (1 and 2 once more on PostgreSQL with the same data when VELORA_BENCH_POSTGRES names a database)
//   3. the CPU of the real program signed on and idle (user U011, nothing due) on Xvfb: over
//      SEGUNDOS seconds (default 60) with the scan every second and with no scan at all; the
//      difference gives the cost of one scan, and ten idle minutes with the scan every minute are
//      ten times the idle minute plus ten scans.
//   build/bin/bench_velora_lembretes [SEGUNDOS] [--benchmark_repetitions=5]

#include "XTestServer.h"
#include "appointments/modCalendario.h"
#include "appointments/modLembretes.h"
#include "base_de_bench.h"
#include "core/modDb.h"
#include "medidas.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <optional>

using namespace std::chrono_literals;

namespace {

const QDateTime agora(QDate(2026, 6, 15), QTime(10, 0));

QString executar(const QString &arquivo, const QString &sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open(arquivo.toUtf8().constData(), &db);
    char *msg = nullptr;
    QString erro;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &msg) != SQLITE_OK)
        erro = QString::fromUtf8(msg);
    sqlite3_free(msg);
    sqlite3_close(db);
    return erro;
}

// U001's contacts: 60 birthday rows every six days from 9 June, two of them due on the busy day.
void prepararCopia(const QString &arquivo)
{
    const QString erro = executar(arquivo, QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i+1 FROM n WHERE i < 59) "
        "INSERT INTO Compromissos(Usuario,Data,Hora,HoraFim,Compromisso,ChavePai,Status,Compartilhado) "
        "SELECT 1, date('2026-06-09', '+' || (i * 6) || ' days'), NULL, NULL, 'Aniversário ' || i, 0, '2', 'N' FROM n;"));
    if (!erro.isEmpty())
        qFatal("%s", qPrintable(erro));
}

// With aberta, every statement runs on one connection held open (the statement alone);
// otherwise each opens its own, as the program's Consultar does.
void BM_AniversariosDevidos(benchmark::State &state)
{
    std::optional<Transacao> conexao;
    if (state.range(0))
        conexao.emplace(Transacao::Leitura);
    int linhas = 0;
    for (auto _ : state)
        linhas = int(LerLembretes(SqlAniversariosDevidos(1, agora.date())).size());
    state.counters["linhas"] = linhas;
}
BENCHMARK(BM_AniversariosDevidos)->Arg(0)->Arg(1)->ArgName("aberta")->Unit(benchmark::kMicrosecond);

void BM_CompromissosDevidos(benchmark::State &state)
{
    std::optional<Transacao> conexao;
    if (state.range(1))
        conexao.emplace(Transacao::Leitura);
    int linhas = 0;
    for (auto _ : state)
        linhas = int(LerLembretes(SqlCompromissosDevidos(state.range(0), agora)).size());
    state.counters["linhas"] = linhas;
}
BENCHMARK(BM_CompromissosDevidos)->ArgsProduct({{1, 2}, {0, 1}})->ArgNames({"usuario", "aberta"})->Unit(benchmark::kMicrosecond);

void BM_DiasComCompromissos(benchmark::State &state)
{
    int dias = 0;
    for (auto _ : state)
        dias = int(DiasComCompromissos(1, 6, 2026, state.range(0) != 0).size());
    state.counters["dias"] = dias;
}
BENCHMARK(BM_DiasComCompromissos)->Arg(0)->Arg(1)->ArgName("compartilhados")->Unit(benchmark::kMillisecond);

// The CPU the program signed on as U011 uses over `segundos`, with tmrChecagem ticking every
// intervaloMs; negative when it could not be signed on.
double cpuOcioso(const QString &pasta, int intervaloMs, int segundos)
{
    xtest::XServer servidor;
    xtest::XClient x(servidor.display());
    QTemporaryDir execucao;
    QFile::setPermissions(execucao.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const std::vector<std::string> ambiente{"VELORA_DADOS=" + pasta.toStdString(), "XDG_RUNTIME_DIR=" + execucao.path().toStdString(),
                                            "QT_QPA_PLATFORM=xcb", "DISPLAY=" + servidor.display(),
                                            "VELORA_CHECAGEM_MS=" + std::to_string(intervaloMs)};
    xtest::ChildProcess velora = xtest::spawnProgram({VELORA_BINARIO}, ambiente);
    if (!x.waitUntil([&] { return medidas::Janela(x, "Velora") != XCB_NONE; }, 60s))
        return -1;
    const auto xdotool = [&](std::vector<std::string> a) {
        a.insert(a.begin(), "xdotool");
        xtest::spawnProgram(a, {"DISPLAY=" + servidor.display()}).waitForExit(20s);
    };
    xdotool({"windowactivate", "--sync", std::to_string(medidas::Janela(x, "Velora"))});
    xdotool({"type", "u011"});
    xdotool({"key", "Return"});
    if (!x.waitUntil([&] { return medidas::Janela(x, "Agenda Velora") != XCB_NONE; }, 60s))
        return -1;
    // Past the sign-on's own work and the first scans.
    QThread::sleep(5);
    const long antes = medidas::TempoDeCpu(velora.pid());
    QThread::sleep(segundos);
    const double gasto = (medidas::TempoDeCpu(velora.pid()) - antes) * 1000.0 / sysconf(_SC_CLK_TCK);
    if (medidas::Janela(x, "Lembrete Velora") != XCB_NONE)
        std::fprintf(stderr, "aviso: um lembrete abriu durante a medida\n");
    return gasto;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int segundos = argc > 1 && argv[1][0] != '-' ? std::max(1, std::atoi(argv[1])) : 60;
    const QString grande = qEnvironmentVariableIsSet("VELORA_BENCH_BASE") ? qEnvironmentVariable("VELORA_BENCH_BASE")
                                                                          : QDir::temp().filePath(QStringLiteral("velora-bench"));
    const QString original = QDir(grande).filePath(QStringLiteral("dadosu.lst"));
    if (!QFile::exists(original))
        return std::fprintf(stderr, "rode bench_velora_banco antes: falta %s\n", qPrintable(original)), 1;
    QTemporaryDir copia;
    const QString arquivo = copia.filePath(QStringLiteral("dadosu.lst"));
    QFile::copy(original, arquivo);
    sqlite3 *db = nullptr;
    sqlite3_open(arquivo.toUtf8().constData(), &db);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "Select count(*) from sqlite_master Where name = 'CompromissosLembretes'", -1, &st, nullptr);
    const bool comIndices = sqlite3_step(st) == SQLITE_ROW && sqlite3_column_int(st, 0) == 1;
    sqlite3_finalize(st);
    sqlite3_close(db);
    if (!comIndices)
        return std::fprintf(stderr, "%s vem de um esquema antigo, sem os índices dos lembretes: apague-o e rode bench_velora_banco\n",
                            qPrintable(original)), 1;
    prepararCopia(arquivo);
    modDb::DefinirPastaDados(copia.path());

    benchmark::Initialize(&argc, argv);
    RodarNosDoisMotores(arquivo);

    const double comChecagem = cpuOcioso(copia.path(), 1000, segundos);
    const double semChecagem = cpuOcioso(copia.path(), 24 * 3600 * 1000, segundos);
    if (comChecagem < 0 || semChecagem < 0)
        return std::fprintf(stderr, "a agenda não entrou\n"), 1;
    const double porChecagem = (comChecagem - semChecagem) / segundos;
    const double dezMinutos = semChecagem * 600.0 / segundos + 10 * porChecagem;
    std::printf("CPU da agenda ociosa por %d s: %.0f ms com a checagem a cada segundo, %.0f ms sem checagem\n", segundos,
                comChecagem, semChecagem);
    std::printf("uma checagem sem lembretes: %.2f ms de CPU\n", porChecagem);
    std::printf("dez minutos ociosos com a checagem a cada minuto: %.0f ms de CPU (%.3f %% de um núcleo)\n", dezMinutos,
                dezMinutos / 6000.0);
    return 0;
}
