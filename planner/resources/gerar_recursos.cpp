// Draws the planner's pictures and synthesises its sounds, and writes them, with the Qt resource
// list that embeds them, into the folder given on the command line; with --icones, the program's
// icon at the sides given, for the desktop's icon theme.
//
// Every face's top-left pixel holds the transparent colour, so the window outline is cut from
// the picture; silhouettes are drawn without antialiasing so no half-transparent fringe remains.

#include "desenho.h"
#include "sons.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

namespace {

// The program's icon at each side asked, as PASTA/hicolor/NxN/apps/velora.png.
int gravarIcones(const QDir &pasta, const QStringList &lados)
{
    for (const QString &texto : lados) {
        const int lado = texto.toInt();
        const QString arquivo = QStringLiteral("hicolor/%1x%1/apps/velora.png").arg(lado);
        pasta.mkpath(QFileInfo(pasta.filePath(arquivo)).path());
        if (lado <= 0 || !desenho::IconeDoPrograma(lado).save(pasta.filePath(arquivo))) {
            std::fprintf(stderr, "não foi possível gravar %s\n", qPrintable(arquivo));
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() >= 2 && args.first() == u"--icones")
        return gravarIcones(QDir(args.at(1)), args.mid(2));
    if (args.size() != 1) {
        std::fprintf(stderr, "uso: velora-gerar-recursos PASTA | --icones PASTA LADO...\n");
        return 2;
    }
    QDir pasta(args.first());
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
