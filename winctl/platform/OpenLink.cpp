#include "platform/OpenLink.h"

#include "platform/ModalDialogs.h"
#include "resources/Resources.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

enum StartError {
    OutOfResources = 0,
    FileNotFound = 2,
    AccessDenied = 5,
    NoAssociation = 31,
};

// The Exec line of the desktop entry that handles HTML pages, empty when none is known.
QString registeredHtmlCommand()
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                            QStringLiteral("text/html")});
    if (!query.waitForFinished(5000))
        return {};
    const QString entry = QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
    if (entry.isEmpty())
        return {};
    const QString path =
        QStandardPaths::locate(QStandardPaths::ApplicationsLocation, entry, QStandardPaths::LocateFile);
    if (path.isEmpty())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1String("Exec=")))
            return line.mid(5);
    }
    return {};
}

// 32 or less as the failure code, above it success.
int startCommand(const QString &command)
{
    QStringList arguments = QProcess::splitCommand(command);
    if (arguments.isEmpty())
        return NoAssociation;
    const QString program = arguments.takeFirst();
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty())
        return QFileInfo::exists(program) ? AccessDenied : FileNotFound;
    return QProcess::startDetached(found, arguments) ? 33 : OutOfResources;
}

} // namespace

QString commandWithLink(const QString &registeredCommand, const QString &link)
{
    QString command = registeredCommand;
    const QStringList placeholders = {QStringLiteral("%u"), QStringLiteral("%U"), QStringLiteral("%f"),
                                      QStringLiteral("%F"), QStringLiteral("%1")};
    int cut = -1;
    for (const QString &p : placeholders) {
        if (const int at = command.indexOf(QLatin1Char('"') + p + QLatin1Char('"')); at >= 0 && (cut < 0 || at < cut))
            cut = at;
    }
    if (cut < 0) {
        for (const QString &p : placeholders) {
            if (const int at = command.indexOf(p); at >= 0 && (cut < 0 || at < cut))
                cut = at;
        }
    }
    if (cut >= 0)
        command.truncate(cut);
    return command.trimmed() + QLatin1Char(' ') + link;
}

QString linkErrorReason(int code)
{
    switch (code) {
    case 0: return QStringLiteral("The operating system is out\nof memory or resources.");
    case 2: return QStringLiteral("The specified file was not found.");
    case 3: return QStringLiteral("The specified path was not found.");
    case 5: return QStringLiteral("The operating system denied\naccess to the specified file.");
    case 8: return QStringLiteral("There was not enough memory to complete the operation.");
    case 11: return QStringLiteral("The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).");
    case 26: return QStringLiteral("A sharing violation occurred. ");
    case 27: return QStringLiteral("The filename association is\nincomplete or invalid.");
    case 28: return QStringLiteral("The DDE transaction could not\nbe completed because the request timed out.");
    case 29: return QStringLiteral("The DDE transaction failed.");
    case 30:
        return QStringLiteral("The DDE transaction could not\nbe completed because other DDE transactions\n"
                              "were being processed.");
    case 31: return QStringLiteral("There is no application associated\nwith the given filename extension.");
    case 32: return QStringLiteral("The specified dynamic-link library was not found.");
    }
    return resources::text(resources::UnknownError).arg(code);
}

void openLink(QWidget *parent, const QString &link)
{
    if (QDesktopServices::openUrl(QUrl(link)))
        return;
    const QString registered = registeredHtmlCommand();
    const int result = registered.isEmpty() ? int(NoAssociation) : startCommand(commandWithLink(registered, link));
    if (result > 32)
        return;
    modal::message(parent, QStringLiteral("Unable to open hyperlink:\n\n") + linkErrorReason(result),
                   QLatin1String(resources::programName), modal::Icon::Exclamation);
}
