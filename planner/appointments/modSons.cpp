#include "appointments/modSons.h"

#include "platform/audio.h"
#include "platform/toolkit.h"
#include "resources/recursos.h"

namespace {
// The sound being played; it stays valid after TocarSom returns, while playback goes on.
QByteArray somAtual;
} // namespace

void TocarSom(const QString &nome, const QString &tipo)
{
    tk::ProcessarEventos();
    if (!audio::HaSaida() || tipo != QLatin1String("SOM"))
        return;
    somAtual = recursos::Som(nome);
    audio::Tocar(somAtual);
    tk::ProcessarEventos();
}

void PararSom()
{
    audio::Parar();
}
