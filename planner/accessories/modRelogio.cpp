#include "accessories/modRelogio.h"

#include <cmath>

namespace modRelogio {

namespace {

// Rounds as the clock's 16-bit integers always were: to the nearest, halves to even.
qint16 inteiro(float v)
{
    return qint16(std::nearbyint(v));
}

} // namespace

bool Relogio::Preparar(float larguraEscala, float alturaEscala)
{
    cx = larguraEscala / 2;
    cy = alturaEscala / 2;
    preparado = cy != 0;
    if (!preparado)
        return false;
    float s;
    if (larguraEscala >= alturaEscala) {
        s = 0.1f;
        R = 181.25f;
    } else {
        s = larguraEscala / (2 * alturaEscala);
    }
    if (s > 0.5f)
        s = 0.4f;
    if (s < 0.2f)
        s = 0.23f;
    if (larguraEscala < alturaEscala)
        R = larguraEscala / 2.4f - s * 300;
    T2 = inteiro(s * 200);
    T = inteiro(s * 200);
    return true;
}

void Relogio::Ler(const QTime &agora)
{
    segundo = qint16(agora.second());
    minuto = qint16(agora.minute());
    hora = quint8(agora.hour() > 12 ? agora.hour() - 12 : agora.hour());
}

Ponteiro Relogio::Segundos()
{
    anguloSegundo = segundo * 6.0f;
    return Tracar(anguloSegundo, R, T2, cx, cy);
}

Ponteiro Relogio::Minutos()
{
    anguloMinuto = minuto * 6.0f + segundo * 6.0f / 60;
    return Tracar(anguloMinuto, R, T, cx, cy);
}

Ponteiro Relogio::Horas()
{
    anguloHora = hora * 30.0f + minuto * 30.0f / 60;
    return Tracar(anguloHora, inteiro(0.75f * R), T, cx, cy);
}

Ponteiro Tracar(float anguloGraus, float L, float t, float cx, float cy)
{
    const float a = Pi - anguloGraus * (Pi / 180);
    const float seno = std::sin(a), cosseno = std::cos(a);
    return {QPointF(-t * seno + cx, -t * cosseno + cy), QPointF(L * seno + cx, L * cosseno + cy)};
}

int MsAteOProximoMinuto(const QDateTime &agora)
{
    const QTime t = agora.time();
    return 60000 - (t.second() * 1000 + t.msec());
}

} // namespace modRelogio
