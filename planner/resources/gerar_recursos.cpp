// Draws the planner's pictures and synthesises its sounds, and writes them, with the Qt resource
// list that embeds them, into the folder given on the command line.
//
// Every face's top-left pixel holds the transparent colour, so the window outline is cut from
// the picture; silhouettes are drawn without antialiasing so no half-transparent fringe remains.

#include "desenho.h"
#include "sons.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: velora-gerar-recursos PASTA\n");
        return 2;
    }
    QDir pasta(QString::fromLocal8Bit(argv[1]));
    pasta.mkpath(QStringLiteral("figuras"));
    pasta.mkpath(QStringLiteral("sons"));

    QStringList arquivos;
    for (const auto &[nome, imagem] : desenho::TodasAsFiguras()) {
        const QString arquivo = QStringLiteral("figuras/%1.png").arg(nome);
        if (!imagem.save(pasta.filePath(arquivo))) {
            std::fprintf(stderr, "não foi possível gravar %s\n", qPrintable(arquivo));
            return 1;
        }
        arquivos << arquivo;
    }
    for (const auto &[nome, wave] : sons::TodosOsSons()) {
        const QString arquivo = QStringLiteral("sons/%1.wav").arg(nome);
        QFile som(pasta.filePath(arquivo));
        if (!som.open(QIODevice::WriteOnly | QIODevice::Truncate) || som.write(wave) != wave.size()) {
            std::fprintf(stderr, "não foi possível gravar %s\n", qPrintable(arquivo));
            return 1;
        }
        arquivos << arquivo;
    }

    QFile qrc(pasta.filePath(QStringLiteral("recursos.qrc")));
    if (!qrc.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    QTextStream s(&qrc);
    s << "<RCC>\n  <qresource prefix=\"/\">\n";
    for (const QString &a : arquivos)
        s << "    <file>" << a << "</file>\n";
    s << "  </qresource>\n</RCC>\n";
    return 0;
}
