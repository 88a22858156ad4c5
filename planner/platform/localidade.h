#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

// The planner's locale: decimal separator and long date. Where the system names no locale
// (C/POSIX) the planner speaks Brazilian Portuguese.
namespace localidade {

QLocale Atual();
void Definir(const QLocale &locale);  // tests: run under a comma or a point locale

// The second character of the text of 0.5.
QChar SeparadorDecimal();
// The system's long date, such as "terça-feira, 14 de outubro de 2003".
QString DataLonga(const QDate &data);

} // namespace localidade
