#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

// The global identifiers (UID) of the user's appointments and contacts as other programs know
// them: the one an exported row was given, or the one its imported event or card carried. A
// second export gives a row the same identifier, and a second import of an event or card
// replaces the rows the first one made. Used inside a write transaction; what changes reaches
// the table at Gravar, a few statements for the whole batch, which must run before the
// transaction is confirmed.
class Identificadores {
public:
    // tipo "C" appointments (head rows), "E" contacts. Reads the signed-on user's identifiers.
    explicit Identificadores(const QString &tipo);

    // The row's identifier; a row without one is given a new one, kept from now on.
    QString Uid(qint64 chave);
    // The rows an identifier stands for (rows deleted since are left out).
    QVector<qint64> Chaves(const QString &uid) const;
    // From now on the identifier stands for these rows.
    void Associar(const QString &uid, const QVector<qint64> &chaves);
    // Writes the changes made since it was read or last written.
    void Gravar();

private:
    QString tipo;
    QHash<qint64, QString> porChave;
    QHash<QString, QVector<qint64>> porUid;
    QSet<QString> guardados;  // every identifier in the table, those of deleted rows too
    QStringList excluir;      // stored identifiers whose entries are to be replaced
    QSet<QString> novos;      // identifiers whose rows (porUid) are to be written
};
