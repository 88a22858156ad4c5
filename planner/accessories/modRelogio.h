#pragma once

#include <QDateTime>
#include <QPointF>
#include <QTime>

// The analog clock's arithmetic, without widgets: the face's geometry and where each hand's
// tail and tip fall at a time of day. Lengths and points are in the face's scale, single
// precision as the clock has always computed them.
namespace modRelogio {

inline constexpr float Pi = 3.141592f;

// A hand from its tail end (X1, Y1) to its tip (X2, Y2).
struct Ponteiro {
    QPointF cauda, ponta;
};

// The clock's state: the face's centre, the hands' length and tails, the time last read and
// the angle each hand was last drawn at (degrees, 0 at 12 o'clock, clockwise).
struct Relogio {
    float cx = 0, cy = 0;
    float R = 0;      // hand length
    qint16 T = 0;     // tail of the hour and minute hands
    qint16 T2 = 0;    // tail of the second hand
    qint16 segundo = 0, minuto = 0;
    quint8 hora = 0;  // 0 to 12
    float anguloSegundo = 0, anguloMinuto = 0, anguloHora = 0;
    bool preparado = false;

    // The geometry of a face of this scale; false (nothing else set) when it has no height.
    bool Preparar(float larguraEscala, float alturaEscala);
    // Reads the second, minute and hour of one moment.
    void Ler(const QTime &agora);
    // Each hand at the time last read; the hour hand follows the minute read with it.
    Ponteiro Segundos();
    Ponteiro Minutos();
    Ponteiro Horas();
};

// A hand at a clock angle in degrees, of length L with a tail t, about (cx, cy).
Ponteiro Tracar(float anguloGraus, float L, float t, float cx, float cy);

// Milliseconds from this moment to the start of the next minute (1 to 60000), so the clock's
// ticks fall as the minute turns.
int MsAteOProximoMinuto(const QDateTime &agora);

} // namespace modRelogio
