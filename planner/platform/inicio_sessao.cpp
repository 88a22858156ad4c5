#include "platform/inicio_sessao.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace inicio_sessao {

QString Arquivo()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)).filePath(QStringLiteral("autostart/velora.desktop"));
}

bool Ativo()
{
    return QFile::exists(Arquivo());
}

QString ArgumentoExec(const QString &caminho)
{
    static const QString reservados = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString arg = caminho;
    // "%" opens a field code; a literal one is doubled.
    arg.replace(u'%', QStringLiteral("%%"));
    if (std::any_of(arg.begin(), arg.end(), [](QChar c) { return reservados.contains(c); })) {
        QString citado;
        for (const QChar c : std::as_const(arg)) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                citado += u'\\';
            citado += c;
        }
        arg = u'"' + citado + u'"';
    }
    // The value is a string of the entry format, where a backslash is itself escaped.
    arg.replace(u'\\', QStringLiteral("\\\\"));
    return arg;
}

bool Definir(bool ativo, const QString &programa)
{
    const QString arquivo = Arquivo();
    if (!ativo)
        return !QFile::exists(arquivo) || QFile::remove(arquivo);
    if (!QDir().mkpath(QFileInfo(arquivo).path()))
        return false;
    QSaveFile f(arquivo);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=Velora\nComment=Agenda pessoal: lembretes na bandeja\n"
                           "Exec=%1 --bandeja\nIcon=example.velora.Velora\nTerminal=false\nX-GNOME-Autostart-enabled=true\n")
                .arg(ArgumentoExec(programa))
                .toUtf8());
    return f.commit();
}

} // namespace inicio_sessao
