#pragma once

// What the planner's database benchmarks share: an offscreen application and a database file
// filled once, kept in the temporary folder between runs (VELORA_BENCH_BASE names another place).

#include "core/modDb.h"
#include "esquema.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <functional>

// Runs the registered benchmarks on the file in pasta, made first by the statements preencher
// gives when the file does not exist yet.
inline int ExecutarBenchmarks(int argc, char **argv, const char *pasta, const std::function<QString()> &preencher)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString dir = qEnvironmentVariableIsSet("VELORA_BENCH_BASE") ? qEnvironmentVariable("VELORA_BENCH_BASE")
                                                                       : QDir::temp().filePath(QString::fromUtf8(pasta));
    QDir().mkpath(dir);
    const QString arquivo = QDir(dir).filePath(QStringLiteral("dadosu.lst"));
    if (!QFile::exists(arquivo)) {
        std::fprintf(stderr, "criando %s...\n", qPrintable(arquivo));
        const QString erro = CriarBaseVazia(arquivo);
        if (!erro.isEmpty())
            qFatal("%s", qPrintable(erro));
        sqlite3 *db = nullptr;
        sqlite3_open(arquivo.toUtf8().constData(), &db);
        char *msg = nullptr;
        if (sqlite3_exec(db, (QStringLiteral("BEGIN;") + preencher() + QStringLiteral("COMMIT;ANALYZE;")).toUtf8().constData(),
                         nullptr, nullptr, &msg) != SQLITE_OK)
            qFatal("%s", msg);
        sqlite3_close(db);
    }
    modDb::DefinirPastaDados(dir);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
