#pragma once

#include <QByteArray>
#include <QIcon>
#include <QPixmap>
#include <QString>

// The pictures and sounds embedded in the program.
namespace recursos {

QPixmap Figura(const QString &nome);
QIcon IconePrograma();
// The WAVE file image of a sound (AHA, CAMPAINHA, ...); empty when there is none of that name.
QByteArray Som(const QString &nome);

} // namespace recursos
