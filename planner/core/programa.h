#pragma once

#include <QStringList>

// Facts of the running program that several forms consult.
namespace programa {

// The arguments given on the command line (any argument means "start in the tray").
void DefinirArgumentos(const QStringList &argumentos);
bool LinhaDeComandoPreenchida();

// Ends the program: leaves the event loop, or tells main not to enter it.
void Encerrar();
bool Encerrado();

} // namespace programa
