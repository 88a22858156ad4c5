#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The pictures embedded in the program.
namespace recursos {

QPixmap Figura(const QString &nome);
QIcon IconePrograma();

} // namespace recursos
