#include "core/programa.h"

#include <QCoreApplication>

namespace programa {

namespace {
QStringList argumentos;
bool encerrado = false;
} // namespace

void DefinirArgumentos(const QStringList &a)
{
    argumentos = a;
}

bool LinhaDeComandoPreenchida()
{
    return !argumentos.isEmpty();
}

void Encerrar()
{
    encerrado = true;
    QCoreApplication::exit(0);
}

bool Encerrado()
{
    return encerrado;
}

} // namespace programa
