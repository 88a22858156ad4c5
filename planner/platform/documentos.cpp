#include "platform/documentos.h"

#include <QDesktopServices>

namespace documentos {

namespace {
std::function<bool(const QUrl &)> abridorDeTeste;
}

bool Abrir(const QUrl &endereco)
{
    return abridorDeTeste ? abridorDeTeste(endereco) : QDesktopServices::openUrl(endereco);
}

void DefinirAbridor(std::function<bool(const QUrl &)> abridor)
{
    abridorDeTeste = std::move(abridor);
}

} // namespace documentos
