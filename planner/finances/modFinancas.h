#pragma once

#include "core/modDb.h"

#include <QDate>
#include <QString>
#include <QVector>

#include <optional>

// The monthly cash ledger: entries, opening balances and the arithmetic between them. Amounts
// are whole cents throughout; the database holds them as numbers with two decimals.

// One ledger entry as the grid shows it (and the printed report will list it).
struct LinhaLancamento {
    qint64 chave = 0;
    QDate data;
    QString descricao;
    qint64 recebido = 0;  // cents; 0 when NULL
    qint64 pago = 0;      // cents; 0 when NULL
    bool efetuado = false;
    bool operator==(const LinhaLancamento &) const = default;
};

// A month of the ledger: its opening balance, its entries in date order, and the current
// balance (the opening plus the carried-out entries).
struct MesFinanceiro {
    qint64 saldoInicial = 0;
    qint64 saldoAtual = 0;
    QVector<LinhaLancamento> linhas;
};

// An amount typed by the user: the whole text (blanks around it aside) must be a number in the
// locale, with separador or the typed "." as decimal point and no thousands grouping ("0,50" is
// half a unit under a comma locale). Digits past the cents round half away from zero.
std::optional<qint64> LerValor(const QString &texto, QChar separador);
// The key filter of the amount and balance boxes: digits, "." and "-"; the locale's own decimal
// separator key types the decimal point, so "12,34" typed under a comma locale is 12.34.
int FiltrarTeclaValor(int tecla, QChar separador);
// "####0.00" with separador as decimal point; zero never carries a minus sign.
QString FormatarValor(qint64 centavos, QChar separador);
// What the amount boxes show once left: the typed number formatted, an empty text as it is,
// any other text unchanged.
QString FormatarDigitado(const QString &texto, QChar separador);
// The integer part of a typed year, or nothing for a text that is no number.
std::optional<int> LerAno(const QString &texto, QChar separador);

// What one entry adds to the current balance: carried-out receipts and payments above zero.
qint64 EfeitoNoSaldo(const LinhaLancamento &linha);

// The signed-on user's month: opening balance (a missing row or NULL month counts as 0) and
// entries, read from one snapshot.
MesFinanceiro LerMes(int mes, int ano);
qint64 SaldoInicialDoMes(int mes, int ano);

// Stores the opening balance of a month: updates the user's row of that year, else inserts it.
// Returns the rows affected; writes nothing (0) while nobody is signed on or for a month
// outside 1..12.
int GravarSaldoInicial(qint64 saldo, int mes, int ano);

// The opening balance imported into a month: the previous month's opening balance plus every
// entry of that month, carried out or planned, whatever its sign.
qint64 SaldoImportado(int mes, int ano);

// A new entry's default date: today's day in the shown month, or the month's last day when it
// is shorter.
QDate DataDoNovoLancamento(const QDate &hoje, int mes, int ano);

// Writes an entry: chave 0 inserts it (description as typed), otherwise updates the user's
// entry chave (description trimmed). tipo 0 is a receipt, 1 a payment; the other amount
// column is NULL.
void GravarLancamento(qint64 chave, const QDate &data, const QString &descricao, int tipo, qint64 valor, bool efetuado);
// Writes an open entry over its row only while the row is still as aberto was read, in one
// transaction; an entry deleted or changed meanwhile is not written.
Gravacao AlterarLancamento(const LinhaLancamento &aberto, const QDate &data, const QString &descricao, int tipo, qint64 valor,
                           bool efetuado);
void ExcluirLancamento(qint64 chave);
