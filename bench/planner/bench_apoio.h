#pragma once

// What the planner's database benchmarks share: Qt's offscreen platform and a database file
// made once and kept between runs.

#include "core/modDb.h"
#include "esquema.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>

// Runs the benchmarks on dadosu.lst in the folder VELORA_BENCH_BASE names, else in pasta under
// the temporary folder. A file not there yet is made empty and filled with the statements
// conteudo gives (what it holds is named in the log as oQue).
inline int RodarBenchmarks(int argc, char **argv, const char *pasta, const char *oQue, QString (*conteudo)())
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString base = qEnvironmentVariableIsSet("VELORA_BENCH_BASE") ? qEnvironmentVariable("VELORA_BENCH_BASE")
                                                                        : QDir::temp().filePath(QString::fromLatin1(pasta));
    QDir().mkpath(base);
    const QString arquivo = QDir(base).filePath(QStringLiteral("dadosu.lst"));
    if (!QFile::exists(arquivo)) {
        std::fprintf(stderr, "criando %s com %s...\n", qPrintable(arquivo), oQue);
        const QString erro = CriarBaseVazia(arquivo);
        if (!erro.isEmpty())
            qFatal("%s", qPrintable(erro));
        sqlite3 *db = nullptr;
        sqlite3_open(arquivo.toUtf8().constData(), &db);
        char *msg = nullptr;
        if (sqlite3_exec(db, conteudo().toUtf8().constData(), nullptr, nullptr, &msg) != SQLITE_OK)
            qFatal("%s", msg);
        sqlite3_close(db);
    }
    modDb::DefinirPastaDados(base);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
