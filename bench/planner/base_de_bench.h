#pragma once

// What the planner's database benchmarks share: the offscreen platform, their database file made
// once in the temporary folder (VELORA_BENCH_BASE names another place), and the run. With
// VELORA_BENCH_POSTGRES naming a PostgreSQL database (made by the schema tool when empty), the
// same benchmarks run a second time in the same run on PostgreSQL, after the file's data is
// restored into it, so the two engines are measured side by side on the same data.

#include "backup/modBackup.h"
#include "core/modDb.h"
#include "esquema.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>

// Runs the benchmarks given to benchmark::Initialize on the planner's database file arquivo, and
// then, with VELORA_BENCH_POSTGRES set, once more on PostgreSQL holding the same data. The
// program's CPU time does not count the server's: on PostgreSQL, compare wall times.
inline void RodarNosDoisMotores(const QString &arquivo)
{
    modDb::DefinirBanco(QString());
    // A reporter of each run's own: the library's default one does not outlive its first run.
    const auto rodar = [] {
        benchmark::ConsoleReporter relator(benchmark::ConsoleReporter::OO_Tabular);
        benchmark::RunSpecifiedBenchmarks(&relator);
    };
    std::fprintf(stderr, "== SQLite: %s\n", qPrintable(arquivo));
    rodar();
    const QString postgres = qEnvironmentVariable("VELORA_BENCH_POSTGRES");
    if (postgres.isEmpty())
        return;
    if (!BaseExiste(postgres))
        if (const QString erro = CriarBaseVazia(postgres); !erro.isEmpty())
            qFatal("%s", qPrintable(erro));
    modDb::DefinirBanco(postgres);
    if (const int rc = modDb::SubstituirBase(arquivo, TabelasDoPlanejador))
        qFatal("cópia para o PostgreSQL falhou (%d)", rc);
    Executar(QStringLiteral("ANALYZE"));
    std::fprintf(stderr, "== PostgreSQL: the same data\n");
    rodar();
    modDb::DefinirBanco(QString());
}

// Runs the benchmarks on the file in pastaTemporaria, made empty and filled by the statements of
// carga when it is missing.
inline int RodarBenchmarks(int argc, char **argv, const char *pastaTemporaria, const QString &carga)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString pasta = qEnvironmentVariableIsSet("VELORA_BENCH_BASE") ? qEnvironmentVariable("VELORA_BENCH_BASE")
                                                                         : QDir::temp().filePath(QString::fromLatin1(pastaTemporaria));
    QDir().mkpath(pasta);
    const QString arquivo = QDir(pasta).filePath(QStringLiteral("dadosu.lst"));
    if (!QFile::exists(arquivo)) {
        std::fprintf(stderr, "criando %s...\n", qPrintable(arquivo));
        const QString erro = CriarBaseVazia(arquivo);
        if (!erro.isEmpty())
            qFatal("%s", qPrintable(erro));
        sqlite3 *db = nullptr;
        sqlite3_open(arquivo.toUtf8().constData(), &db);
        char *msg = nullptr;
        if (sqlite3_exec(db, carga.toUtf8().constData(), nullptr, nullptr, &msg) != SQLITE_OK)
            qFatal("%s", msg);
        sqlite3_close(db);
    }
    modDb::DefinirPastaDados(pasta);
    benchmark::Initialize(&argc, argv);
    RodarNosDoisMotores(arquivo);
    return 0;
}
