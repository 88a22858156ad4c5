#pragma once

#include "dados/modDados.h"

#include <QByteArray>

// The signed-on user's appointments in iCalendar. Each appointment is one event: its head row's
// date and times (the continuation rows follow from them), a birthday as a yearly all-day event,
// a reminder as an alarm at the start; the status and the share flag travel in properties of
// their own, so a file read back gives the same rows.
QByteArray ExportarICal();

// Reads an iCalendar file into the signed-on user's appointments, in one transaction: each event
// becomes the rows the appointment panel would make (head row plus continuation rows by the
// user's step), its times in local time; a repeating event gives one appointment per occurrence
// up to two years after today. An event imported before (same UID) replaces its earlier rows.
ResultadoImportacao ImportarICal(const QByteArray &conteudo);
