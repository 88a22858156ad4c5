// Draws the program icon at each size given, as FOLDER/hicolor/NxN/apps/panekeeper.png, for
// the desktop's icon theme.
// Usage: panekeeper-draw-icons FOLDER SIZE...

#include "resources/Resources.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: panekeeper-draw-icons FOLDER SIZE...\n");
        return 2;
    }
    const QDir folder(args.first());
    for (const QString &text : args.mid(1)) {
        const int side = text.toInt();
        const QString file = QStringLiteral("hicolor/%1x%1/apps/panekeeper.png").arg(side);
        folder.mkpath(QFileInfo(folder.filePath(file)).path());
        if (side <= 0 || !resources::programIcon().pixmap(side, side).save(folder.filePath(file))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
