#pragma once

#include <QUrl>

#include <functional>

// Opens a document or link with the desktop's default program.
namespace documentos {

bool Abrir(const QUrl &endereco);
// Tests: record what would be opened instead of starting a program.
void DefinirAbridor(std::function<bool(const QUrl &)> abridor);

} // namespace documentos
