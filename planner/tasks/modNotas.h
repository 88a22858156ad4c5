#pragma once

#include <QString>

// The signed-on user's note: ChaveNota takes its row's key and the note box its text, when the
// user has a row with text; otherwise both stay as they are.
void CarregarNota();

// Stores the note trimmed of spaces (line breaks and tabs stay) in the user's one row,
// inserting it when there is none yet; ChaveNota takes the row's key.
void GravarNota(qint64 chave, const QString &texto);

// Clears the stored text of the user's note row chave (0 changes nothing).
void LimparNota(qint64 chave);
