#pragma once

#include "dados/modDados.h"

#include "contacts/modEndereco.h"

#include <QByteArray>
#include <QVector>

// Contacts in vCard (RFC 6350): written as version 4.0, read from 4.0 and 3.0. Texts are
// UTF-8 with the format's escapes, lines folded at 75 octets; the birthday is BDAY without a
// year, the share flag a property of its own.
QByteArray EscreverVCard(const QVector<Contato> &contatos, const QVector<QString> &uids);
// The cards of a file with their UIDs ("" when a card has none); a card without a name is an
// ErroImportacao.
QVector<QPair<QString, Contato>> LerVCard(const QByteArray &conteudo);

// The signed-on user's contacts as a vCard file.
QByteArray ExportarVCard();
// Stores the cards of a file as the signed-on user's contacts (with their birthday rows), in
// one transaction; a card imported before (same UID) updates its contact.
ResultadoImportacao ImportarVCard(const QByteArray &conteudo);
