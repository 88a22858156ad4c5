#pragma once

#include <QString>

// Starting the planner with the desktop session: an XDG autostart entry,
// $XDG_CONFIG_HOME/autostart/velora.desktop (~/.config when unset), that runs the program with
// an argument, so it starts in the tray and its reminders fire after login.
namespace inicio_sessao {

QString Arquivo();
bool Ativo();
// Writes the entry for the program (or removes it); false when the folder or the file cannot be
// written.
bool Definir(bool ativo, const QString &programa);
// The program's path as an Exec argument of a desktop entry: quoted when it holds a reserved
// character, with the quoting and the string escapes the desktop entry format asks for.
QString ArgumentoExec(const QString &caminho);

} // namespace inicio_sessao
