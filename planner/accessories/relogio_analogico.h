#pragma once

#include "accessories/modRelogio.h"
#include "platform/graficos.h"
#include "platform/toolkit.h"

// The analog clock of the main window: the face picRelogio, its circle, its centre picture and
// the three hands, in a scale of 550 units across the face.
class RelogioAnalogico : public tk::Figura {
public:
    RelogioAnalogico(QWidget *parent, const QRect &face);

    tk::Forma *Shape2;
    tk::Imagem *imgNice;
    tk::Linha *linHourx, *linMinute, *linSecond;

    // The face's geometry, the hands' order and draw modes, and the minute and hour hands at
    // the current time (the main window's load).
    void Preparar();
    // The three hands at the current time (each tick of the clock timer).
    void Tick();
    const modRelogio::Relogio &Estado() const { return estado; }

private:
    modRelogio::Relogio estado;
};
