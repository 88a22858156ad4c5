#pragma once

#include <QString>

// Stored password format: each character with a Windows-1252 code below 127 becomes the
// character of twice that code; any other character is kept, after a character of code 1.
QString CodificarSenha(const QString &senha);
// The inverse; a NULL or empty stored value gives "".
QString DecodificarSenha(const QString &guardada);
// A typed password as it is stored and compared: without the spaces around it, so what the
// profile saved is what signs on, and a password of spaces is no password.
QString SenhaDigitada(const QString &texto);
