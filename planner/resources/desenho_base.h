#pragma once

// What the drawing files share: the planner's palette and font, and the pictures each file adds
// to the whole set.

#include "desenho.h"

#include <QColor>
#include <QFont>

namespace desenho {

inline const QColor azulEscuro(0x1d, 0x44, 0x66);
inline const QColor azul(0x2f, 0x66, 0x90);
inline const QColor azulClaro(0x5b, 0x9b, 0xc8);
inline const QColor creme(0xfb, 0xf8, 0xf1);
inline const QColor cremeEscuro(0xec, 0xe3, 0xd0);
inline const QColor laranja(0xe8, 0x91, 0x3a);
inline const QColor vermelho(0xc0, 0x39, 0x2b);
inline const QColor verde(0x2e, 0x8b, 0x57);
inline const QColor tinta(0x33, 0x33, 0x33);
// The paper's edge on the main window; the tabs hang from a line of the same colour, so the
// selected tab, once the program covers that line, opens into the paper.
inline const QColor bordaDoPapel(0x7d, 0x8f, 0xa3);

inline QFont fonte(int pixels, bool negrito = true)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setBold(negrito);
    return f;
}

inline QImage transparente(int w, int h)
{
    QImage i(w, h, QImage::Format_ARGB32_Premultiplied);
    i.fill(Qt::transparent);
    return i;
}

// The small pictures: the grid's status icons, the header and panel buttons and the tabs.
Figuras IconesDaGrade();
Figuras BotoesDoCabecalho();
Figuras BotoesDoPainel();
Figuras Abas();
// The calculator's keys and button, the clock's centre.
Figuras Acessorios();

} // namespace desenho
