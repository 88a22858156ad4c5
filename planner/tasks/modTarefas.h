#pragma once

#include "core/modDb.h"

#include <QColor>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// One task as the task grid shows it (the task report prints the same rows).
struct LinhaTarefa {
    qint64 chave = 0;
    QString status;     // "1" executed, "0" not
    QDate data, dataFim;
    QString descricao;  // as stored: lines separated by CR LF
    int prioridade = 1; // 0 Alta, 1 Normal, 2 Baixa
    bool operator==(const LinhaTarefa &) const = default;
};

// The grid text and cell background of a priority; a code outside 0..2 reads as Baixa.
QString TextoPrioridade(int prioridade);
QColor CorPrioridade(int prioridade);

// The lines of a description, split where it breaks (CR LF, CR or LF).
QStringList LinhasDaDescricao(const QString &descricao);
// Each line of a description makes its grid row this much higher, in twips.
constexpr int AlturaLinhaTarefa = 285;

// Why a task may not be saved: the message, its icon, and whether the description takes the
// focus. Nothing when it may.
struct FalhaTarefa {
    QString texto;
    int icone;
    bool focoNaDescricao;
};
std::optional<FalhaTarefa> VerificarTarefa(const QDate &data, const QDate &dataFim, const QString &descricao);

// The signed-on user's tasks: soonest end date first, then Alta, Normal, Baixa, then by key.
QVector<LinhaTarefa> LinhasTarefas();

// Writes one task of the signed-on user: inserted when chave is 0, else updated. The
// description is stored trimmed of spaces, its lines separated by CR LF.
void GravarTarefa(qint64 chave, const QDate &data, const QDate &dataFim, const QString &descricao,
                  const QString &status, int prioridade);
// Writes an open task over its row only while the row is still as aberta was read, in one
// transaction; a task deleted or changed meanwhile is not written.
Gravacao AlterarTarefa(const LinhaTarefa &aberta, const QDate &data, const QDate &dataFim, const QString &descricao,
                       const QString &status, int prioridade);
void ExcluirTarefa(qint64 chave);
