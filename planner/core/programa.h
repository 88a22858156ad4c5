#pragma once

#include <QStringList>

// Facts of the running program that several forms consult.
namespace programa {

// What "--help" or "--version" prints instead of starting (the first of them given wins); ""
// for any other command line, which starts the program.
QString TextoDaOpcao(const QStringList &argumentos);

// The arguments given on the command line (any argument means "start in the tray").
void DefinirArgumentos(const QStringList &argumentos);
bool LinhaDeComandoPreenchida();

// Ends the program: leaves the event loop, or tells main not to enter it.
void Encerrar();
bool Encerrado();

} // namespace programa
