#pragma once

#include <QUrl>

#include <functional>

// Opens a document or link with the desktop's default program.
namespace documentos {

// False when no program could be started. A "mailto:" link goes to the user's mail program
// through xdg-open, the link as its one argument (no shell in between).
bool Abrir(const QUrl &endereco);
// Tests: record what would be opened instead of starting a program.
void DefinirAbridor(std::function<bool(const QUrl &)> abridor);

} // namespace documentos
