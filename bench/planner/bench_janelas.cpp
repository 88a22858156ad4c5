// Times the planner's windows on a desktop of its own (Xvfb + openbox), as a user sees them:
//   1. from starting velora to its logon window being shown (a file of two users);
//   2. from pressing Enter on the logon to the main window shown on the user's last panel
//      (the appointments of a busy day, in the file of 1,000,000 appointments made by
//      bench_velora_banco; the grid is on screen when the window maps);
//   3. the CPU the signed-on program uses over a minute while idle.
// Run by hand after bench_velora_banco has made its file:  build/bin/bench_velora_janelas

#include "XTestServer.h"
#include "esquema.h"
#include "medidas.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

using namespace std::chrono_literals;

namespace {

double mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void executar(const QString &arquivo, const char *sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open(arquivo.toUtf8().constData(), &db);
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    xtest::XServer servidor;
    xtest::XClient x(servidor.display());
    QTemporaryDir execucao;
    QFile::setPermissions(execucao.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const auto iniciar = [&](const QString &pasta, std::vector<std::string> argumentos = {}) {
        argumentos.insert(argumentos.begin(), VELORA_BINARIO);
        return xtest::spawnProgram(argumentos, {"VELORA_DADOS=" + pasta.toStdString(), "XDG_RUNTIME_DIR=" + execucao.path().toStdString(),
                                                "QT_QPA_PLATFORM=xcb", "DISPLAY=" + servidor.display()});
    };

    QTemporaryDir dois;
    CriarBaseVazia(dois.filePath(QStringLiteral("dadosu.lst")));
    executar(dois.filePath(QStringLiteral("dadosu.lst")),
             "Insert into Usuarios(Login,Nome,Email,FoneRes,FoneCel,Aniversario) values ('ANA','Ana','a@b.c',' ',' ','1900-01-01'),"
             "('BIA','Bia','b@b.c',' ',' ','1900-01-01')");
    std::vector<double> inicio;
    for (int i = 0; i < 7; ++i) {
        QElapsedTimer t;
        t.start();
        xtest::ChildProcess velora = iniciar(dois.path());
        if (!x.waitUntil([&] { return medidas::Janela(x, "Velora") != XCB_NONE; }, 30s))
            return std::fprintf(stderr, "a janela de entrada não apareceu\n"), 1;
        inicio.push_back(t.nsecsElapsed() / 1e6);
        velora.stop();
        x.waitUntil([&] { return medidas::Janela(x, "Velora") == XCB_NONE; }, 10s);
    }
    std::printf("início até a janela de entrada: mediana %.1f ms (mín %.1f, máx %.1f, %zu vezes)\n", mediana(inicio),
                *std::min_element(inicio.begin(), inicio.end()), *std::max_element(inicio.begin(), inicio.end()), inicio.size());

    const QString grande = qEnvironmentVariableIsSet("VELORA_BENCH_BASE") ? qEnvironmentVariable("VELORA_BENCH_BASE")
                                                                          : QDir::temp().filePath(QStringLiteral("velora-bench"));
    if (!QFile::exists(QDir(grande).filePath(QStringLiteral("dadosu.lst"))))
        return std::fprintf(stderr, "rode bench_velora_banco antes: falta %s/dadosu.lst\n", qPrintable(grande)), 1;
    // U001 keeps the appointments panel; its busy day is the one the other benchmark fills.
    executar(QDir(grande).filePath(QStringLiteral("dadosu.lst")), "Update Usuarios set Pastinha='Compromissos' Where Login='U001'");
    std::vector<double> entrada;
    pid_t pidOcioso = -1;
    xtest::ChildProcess ultimo;
    for (int i = 0; i < 5; ++i) {
        xtest::ChildProcess velora = iniciar(grande);
        const auto logon = [&] { return medidas::Janela(x, "Velora"); };
        if (!x.waitUntil([&] { return logon() != XCB_NONE; }, 30s))
            return std::fprintf(stderr, "sem janela de entrada\n"), 1;
        xtest::spawnProgram({"xdotool", "windowactivate", "--sync", std::to_string(logon())}, {"DISPLAY=" + servidor.display()}).waitForExit(10s);
        xtest::spawnProgram({"xdotool", "type", "u001"}, {"DISPLAY=" + servidor.display()}).waitForExit(10s);
        QElapsedTimer t;
        t.start();
        xtest::spawnProgram({"xdotool", "key", "Return"}, {"DISPLAY=" + servidor.display()}).waitForExit(10s);
        if (!x.waitUntil([&] { return medidas::Janela(x, "Agenda Velora") != XCB_NONE; }, 30s))
            return std::fprintf(stderr, "a janela principal não apareceu\n"), 1;
        entrada.push_back(t.nsecsElapsed() / 1e6);
        if (i == 4) {
            pidOcioso = velora.pid();
            ultimo = std::move(velora);
        } else {
            velora.stop();
            x.waitUntil([&] { return medidas::Janela(x, "Agenda Velora") == XCB_NONE; }, 10s);
        }
    }
    std::printf("Enter na entrada até a janela principal no painel de compromissos: mediana %.1f ms (%zu vezes)\n",
                mediana(entrada), entrada.size());

    const long antes = medidas::TempoDeCpu(pidOcioso);
    QThread::sleep(60);
    const long depois = medidas::TempoDeCpu(pidOcioso);
    const double ms = (depois - antes) * 1000.0 / sysconf(_SC_CLK_TCK);
    std::printf("CPU da agenda ociosa por 60 s: %.0f ms (%.3f %%)\n", ms, ms / 600.0);
    return 0;
}
