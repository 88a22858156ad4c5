#include "platform/documentos.h"

#include <QDesktopServices>
#include <QProcess>

namespace documentos {

namespace {
std::function<bool(const QUrl &)> abridorDeTeste;
}

bool Abrir(const QUrl &endereco)
{
    if (abridorDeTeste)
        return abridorDeTeste(endereco);
    // Qt's own opener falls back on a web browser for mail links where it finds no xdg-open;
    // the mail program is the desktop's handler of the mailto scheme.
    if (endereco.scheme() == QLatin1String("mailto"))
        return QProcess::startDetached(QStringLiteral("xdg-open"), {endereco.toString(QUrl::FullyEncoded)});
    return QDesktopServices::openUrl(endereco);
}

void DefinirAbridor(std::function<bool(const QUrl &)> abridor)
{
    abridorDeTeste = std::move(abridor);
}

} // namespace documentos
