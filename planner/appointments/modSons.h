#pragma once

#include <QString>

// The alert sounds carried inside the program, played from memory.
// nome: the sound's name in upper case (CUCO, SIRENE, ...); tipo: the resource type, "SOM".
void TocarSom(const QString &nome, const QString &tipo);
void PararSom();
