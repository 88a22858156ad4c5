#pragma once

#include <QColor>
#include <QString>
#include <QVector>

// The month calendar of the appointments panel: six weeks of seven day cells, Sunday first.

// The days of a month: 31, 30, or for February 29 in leap years and 28 otherwise.
int DiasDoMes(int mes, int ano);

// The day shown in each of the 42 cells, row by row (0 for an empty cell): day 1 stands in the
// column of its weekday, Sunday being column 0.
QVector<int> DiasDasCelulas(int mes, int ano);

// A colour given as red + 256·green + 65536·blue.
QColor CorDoValor(int valor);
// The colour of the day in cell indice: black, red in the Sunday column; marked days dark blue,
// dark red on Sundays.
QColor CorDaCelula(int indice, bool marcado);

// The days of the month that hold any row of the user, or, with compartilhados, a shared row of
// another user; each day once, in ascending order.
QString SqlDiasComCompromissos(qint64 usuario, int mes, int ano, bool compartilhados);
QVector<int> DiasComCompromissos(qint64 usuario, int mes, int ano, bool compartilhados);

