#pragma once

#include <QByteArray>
#include <QList>

// Plays RIFF WAVE images from memory on the default audio output, asynchronously.
namespace audio {

// Whether there is an output device at all.
bool HaSaida();
// Starts playing the WAVE image and returns at once; a sound already playing is replaced.
// Data that is not PCM WAVE plays nothing (no default sound instead).
void Tocar(const QByteArray &wave);
void Parar();
bool Tocando();

// Tests: stands in for the device and records what was asked of it.
struct Falso {
    bool comSaida = true;
    QList<QByteArray> tocados;
    int paradas = 0;
};
void UsarFalso(Falso *falso);  // nullptr: back to the real device

} // namespace audio
