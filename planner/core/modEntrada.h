#pragma once

#include <QDate>
#include <QString>
#include <QTime>

#include <optional>

class QLineEdit;

// Reading what users type into the planner's boxes.

// A date as the planner writes it in its boxes, grids and statements ("DD/MM/YYYY", what cdate
// reads), and such a text read back (an invalid date for any other text).
QString TextoDaData(const QDate &data);
QDate DataDoTexto(const QString &texto);

// A date typed day first ("14/10/2003", "1-2-2003", "01.02.03"); two-digit years fall in
// 1930..2029. Nothing for a text that is no date.
std::optional<QDate> LerDataDigitada(const QString &texto);

// A yearly day and month ("DD/MM") in a given year; 29 February falls on the 28th in a year
// that has none, so a yearly date computed from it never drifts. Invalid for a text that is no
// day and month.
QDate DiaEMesNoAno(const QString &diaMes, int ano);

// A time typed as "H", "HH", "H:N" or "HH:NN", as the grid and appointment boxes take it.
std::optional<QTime> LerHoraDigitada(const QString &texto);

// A number typed with "." as decimal point ("60", "-5", "1.5").
std::optional<double> LerNumero(const QString &texto);

// The text without the spaces at either end, as the planner trims what it stores: line breaks
// and tabs stay.
QString AparaEspacos(const QString &texto);

// The key rule of the two-part boxes (times "HH:NN", birthdays "DD/MM"): the separator is added
// with the second digit. Returns the key to keep (0 drops it); for the second digit it writes
// "d d separator" into the box itself.
int MascaraComSeparador(QLineEdit &caixa, int tecla, QChar separador);
inline int MascaraHora(QLineEdit &caixa, int tecla) { return MascaraComSeparador(caixa, tecla, u':'); }

// Telephones: "(" and ")" pass, everything else as in digits mode.
int FiltrarTelefone(int tecla);
// Dates: "/" passes, everything else as in digits mode.
int FiltrarData(int tecla);
