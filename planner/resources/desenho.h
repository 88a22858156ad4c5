#pragma once

#include <QImage>
#include <QString>

#include <utility>
#include <vector>

// The planner's pictures, drawn with QPainter.
namespace desenho {

// Transparent colour of the window faces (their top-left pixel).
inline constexpr QRgb CorTransparente = 0xffff00ff;

using Figuras = std::vector<std::pair<QString, QImage>>;

Figuras TodasAsFiguras();
// The program's icon at any side, for the desktop's icon theme.
QImage IconeDoPrograma(int lado);

} // namespace desenho
