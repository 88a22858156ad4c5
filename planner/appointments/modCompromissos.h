#pragma once

#include <QDate>
#include <QPixmap>
#include <QString>
#include <QTime>
#include <QVector>

#include "core/modDb.h"

#include <optional>

// One data row of the day grid, as AdicionarLinhaGrade writes it.
struct LinhaGrade {
    qint64 chave = 0;
    QString chavePai = QStringLiteral("0");
    QString status;
    QString compartilhado;
    qint64 dono = 0;
    QString hora;     // "HH:NN" or ""
    QString horaFim;  // "HH:NN" or ""
    QString texto;
    bool operator==(const LinhaGrade &) const = default;
};

// The slots of a day grid, in minutes from midnight: start, start + step, ... up to the bound
// (the end plus one minute, or 23:59 itself). Steps above 59 minutes count as 60.
QVector<int> HorariosDaGrade(const QTime &inicio, const QTime &final, int intervalos);

// Walks the slots and the timed rows (in time order) together: a row on a slot takes it,
// rows between slots get rows of their own, empty slots get an empty row, and rows after the
// last slot come at the end.
QVector<LinhaGrade> CaminharHorarios(const QVector<int> &horarios, const QVector<LinhaGrade> &comHora);

// The rows of the day grid for a date, read from the database with the signed-on user's
// preferences (the all-day block first or last).
QVector<LinhaGrade> LinhasDoDia(const QDate &dia);

// The small pictures of the day grid. Row kinds are told apart by the picture in a cell, so
// each is a distinct image.
struct FigurasDaGrade {
    QPixmap imgAnexado, imgBloqueado, imgAniversario, imgAlarme, imgExecutado, imgCompartilhado;
};
const FigurasDaGrade &Figuras();

// Writes one appointment row. With alterar the row chave is updated (and its continuation rows
// deleted when it had an end time); it returns 1, or 0 when the row no longer exists, and then
// nothing is written. Otherwise a row is inserted and the key of the row just inserted is
// returned. horaFim invalid means none; hora invalid makes an
// all-day row.
qint64 GravarCompromisso(bool alterar, qint64 chave, const QDate &data, const QTime &hora, const QTime &horaFim,
                         qint64 chavePai, const QString &compromisso, const QString &status, const QString &compartilhado);
// Writes the continuation rows of head row pai, from inicio to fim by the user's step, in one
// statement; returns how many were written.
int GravarContinuacoes(qint64 pai, const QDate &data, const QTime &inicio, const QTime &fim, const QString &descricao,
                       const QString &status, const QString &compartilhado);
// Deletes the signed-on user's head row chave with its continuation rows; a key of 0 names no
// row and deletes nothing.
void ExcluirCompromisso(qint64 chave);

// An appointment's head row as the editing panel showed it, to tell at save time whether it was
// changed meanwhile.
struct CompromissoAberto {
    QDate data;
    QString hora, horaFim;  // "HH:NN" or ""
    QString texto, status, compartilhado;
    bool operator==(const CompromissoAberto &) const = default;
};
CompromissoAberto ComoAberto(const LinhaGrade &linha, const QDate &dia);
// The signed-on user's head row chave as it stands now; nothing once it is gone.
std::optional<CompromissoAberto> LerCompromissoAberto(qint64 chave);

// The editing panel's saves, each in one transaction. A changed appointment is written over its
// row, with new continuation rows when it has an end time, only while the row is still as the
// panel opened it. A new one is written on every date of its repetition.
Gravacao AlterarCompromisso(qint64 chave, const CompromissoAberto &aberto, const QDate &data, const QTime &inicio,
                            const std::optional<QTime> &fim, const QString &descricao, const QString &status,
                            const QString &compartilhado);
void IncluirCompromisso(const QVector<QDate> &datas, const QTime &inicio, const std::optional<QTime> &fim,
                        const QString &descricao, const QString &status, const QString &compartilhado);

// The repeat choices of a new appointment.
enum class Repeticao { SomenteDia = 0, DiasUteis = 1, Semana = 2, Mes = 3, DiaDoMesNoAno = 4 };
QVector<QDate> DatasDaRepeticao(const QDate &data, Repeticao repeticao);

// The times of the continuation rows of an appointment from inicio to fim.
QVector<QTime> HorariosDeContinuacao(const QTime &inicio, const QTime &fim, int intervalos);
