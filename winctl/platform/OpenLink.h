#pragma once

#include <QString>

class QWidget;

// Opens a web link with the desktop's preferred program. When that fails, the program
// registered for HTML pages is started with the link; when that fails too, the user is
// told why.
void openLink(QWidget *parent, const QString &link);

// The registered command cut where its file or link placeholder begins (a quoted one is
// looked for first), followed by a blank and the link.
QString commandWithLink(const QString &registeredCommand, const QString &link);
// The reason shown for a failed start, by the error code.
QString linkErrorReason(int code);
