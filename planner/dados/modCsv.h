#pragma once

#include <QByteArray>

// A month of the signed-on user's ledger as CSV (RFC 4180) for a spreadsheet: UTF-8 with a byte
// order mark, CRLF line ends, amounts with the locale's decimal separator and, where that
// separator is the comma, ";" between the fields, as spreadsheets there expect. A header line,
// the opening balance, one line per entry, the current balance.
QByteArray ExportarCsv(int mes, int ano);
