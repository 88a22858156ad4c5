// velora-criar-base ARQUIVO|postgresql://… [--se-ausente]
// Makes an empty planner database. With --se-ausente an existing one is left as it is.
#include "esquema.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QStringList arquivos = args.filter(QRegularExpression(QStringLiteral("^[^-]")));
    if (arquivos.size() != 1) {
        std::fprintf(stderr, "uso: velora-criar-base ARQUIVO|postgresql://… [--se-ausente]\n");
        return 2;
    }
    if (args.contains(QStringLiteral("--se-ausente")) && BaseExiste(arquivos.first()))
        return 0;
    const QString erro = CriarBaseVazia(arquivos.first());
    if (!erro.isEmpty()) {
        std::fprintf(stderr, "velora-criar-base: %s\n", qPrintable(erro));
        return 1;
    }
    return 0;
}
