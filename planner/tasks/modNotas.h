#pragma once

#include <QString>

#include <optional>

// The signed-on user's note row: its key, and its text (nothing once cleared). Nothing when the
// user has no row.
struct Nota {
    qint64 chave = 0;
    std::optional<QString> texto;
};
std::optional<Nota> LerNota();

// Stores the note trimmed of spaces (line breaks and tabs stay) in the user's one row,
// inserting it when there is none yet; ChaveNota takes the row's key.
void GravarNota(qint64 chave, const QString &texto);

// Clears the stored text of the user's note row chave (0 changes nothing).
void LimparNota(qint64 chave);
