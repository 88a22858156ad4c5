#pragma once

#include <QDateTime>

// The one clock of the planner: every "now" and "today" comes from here, so tests can set time.
namespace relogio {
QDateTime Agora();
QDate Hoje();
void DefinirAgora(const QDateTime &agora);  // tests: freeze the clock
void Avancar(qint64 segundos);              // tests: move a frozen clock
void Liberar();                              // back to the system clock
}
