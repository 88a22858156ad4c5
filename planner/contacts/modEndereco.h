#pragma once

#include "core/modDb.h"

#include <QDate>
#include <QString>
#include <QVector>

#include <optional>

// A contact as the contact panel edits it and as one row of the contact list carries it. The
// optional texts are "" when absent (NULL in the file).
struct Contato {
    qint64 chave = 0;  // 0 for a contact not yet stored
    qint64 usuario = 0;
    QString nome, empresa, endereco, cidade, estado, cep, email, foneRes, foneCel, foneCom, aniversario, observacao;
    QString compartilhado = QStringLiteral("N");
    qint64 chaveAniversario = 0;  // its birthday row in Compromissos, 0 for none
    bool operator==(const Contato &) const = default;
};

// One row of the contact list: the contact and, for another user's shared contact, the owner's
// login.
struct LinhaContato {
    Contato contato;
    QString login;  // "" for the user's own contacts

    QString NomeExibido() const;  // the name, followed by " [login]" for another user's contact
    QString Telefone() const;     // the first of home, work and mobile phone that is not empty
    bool DeOutroUsuario() const;  // another user's shared contact: opens read-only
    bool operator==(const LinhaContato &) const = default;
};

// A letter tab (0 = "0-9", 1..23 = A..W, 24 = X/Y, 25 = Z): its caption and the condition it
// puts on the list.
struct Letra {
    QString legenda, condicao;
};
Letra DaLetra(int indice);
// The condition of a search: one per box that is not blank, joined with "and"; a box's text
// matches itself, "%", "_" and apostrophes included. Empty when every box is blank.
QString CondicaoDaPesquisa(const QString &nome, const QString &empresa, const QString &telefone, const QString &email);

// The rows of the contact list under a condition: the user's contacts and, when the user sees
// shared data, the other users' shared ones, ordered by name and company as a Portuguese reader
// expects (accents and case do not move a name away from its letter).
QVector<LinhaContato> LinhasContatos(const QString &filtro);

// The name as stored: trimmed, its first character upper case, the rest as typed.
QString NomeDoContato(const QString &digitado);
// A birthday typed as day/month, rewritten "DD/MM"; nothing when it is no day of 1905 (so
// 29/02 is refused).
std::optional<QString> LerAniversario(const QString &digitado);
// The birthday's next date after hoje: this year's, or next year's when this year's is today or
// has passed.
QDate ProximoAniversario(const QString &aniversario, const QDate &hoje);

// Stores the contact (a new one when chave is 0) of the signed-on user with its birthday row,
// in one transaction: the row is created with the first birthday, moved and retitled by every
// save, deleted when the birthday is cleared. Returns the contact as stored (its keys).
Contato GravarContato(Contato contato);
// Stores an open contact over its row only while the row is still as aberto was read, in one
// transaction; a contact deleted or changed meanwhile is not written.
Gravacao AlterarContato(const Contato &contato, const Contato &aberto);
// Deletes the signed-on user's contact with its birthday row, in one transaction.
void ExcluirContato(qint64 chave, qint64 chaveAniversario);
