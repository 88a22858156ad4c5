#pragma once

#include <QString>

// The old stored password format: each character with a Windows-1252 code below 127 becomes the
// character of twice that code; any other character is kept, after a character of code 1. Files
// made before passwords were hashed still hold it until their users next sign on.
QString CodificarSenha(const QString &senha);
// The inverse; a NULL or empty stored value gives "".
QString DecodificarSenha(const QString &guardada);
// A typed password as it is stored and compared: without the spaces around it, so what the
// profile saved is what signs on, and a password of spaces is no password.
QString SenhaDigitada(const QString &texto);

// How a new or changed password is stored: a salted Argon2id hash (libsodium's interactive
// limits) that names its own algorithm; no password stays "".
QString GuardarSenha(const QString &senha);
// Whether a stored value is such a hash rather than the old encoding.
bool SenhaEhHash(const QString &guardada);
// Whether a typed password matches a stored one (hash, old encoding, or "" / NULL for none).
// Every call costs one hash verification whatever is stored, and so does SenhaSemUsuario: a
// wrong password takes as long as an unknown login.
bool SenhaConfere(const QString &digitada, const QString &guardada);
void SenhaSemUsuario(const QString &digitada);
