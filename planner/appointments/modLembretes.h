#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVector>

#include <optional>

// The reminder scan's rules: when a tick of tmrChecagem scans, which rows are due, and what the
// reminder window's buttons write.

// The interval of tmrChecagem: one minute. VELORA_CHECAGEM_MS (tests only) shortens it, so a
// test of the whole program drives the scan without waiting real minutes.
int IntervaloDaChecagem();

// What one tick does with the counter MinutosChecagem.
struct PassoDaChecagem {
    bool varrer = false;        // this tick scans
    bool fimDoPeriodo = false;  // the counter has reached the user's interval and starts over
    int minutos = 0;            // the counter after the tick
};
// minutos: the counter before the tick; checagemGeral: the user's interval in minutes;
// iniciada: a scan has run since sign-on. A counter that has passed the interval (lowered in the
// profile meanwhile) counts as having reached it, so reminders never stop.
PassoDaChecagem AvancarChecagem(int minutos, int checagemGeral, bool iniciada);

// The user's all-day rows dated hoje or earlier, by key.
QString SqlAniversariosDevidos(qint64 usuario, const QDate &hoje);
// The user's head rows waiting for a reminder whose start has passed at agora (to the second):
// by date, then start time, or end time for an appointment that has one.
QString SqlCompromissosDevidos(qint64 usuario, const QDateTime &agora);

// One row as the reminder window shows it.
struct Lembrete {
    qint64 chave = 0;
    QDate data;
    QTime hora, horaFim;  // invalid when the row has none
    QString compromisso;
    bool operator==(const Lembrete &) const = default;
};
QVector<Lembrete> LerLembretes(const QString &sql);
// The signed-on user's row chave as it stands now; nothing once it has been deleted.
std::optional<Lembrete> LembreteAtual(qint64 chave);

// "DD Mmmm YYYY - HH:NN", the month named as the planner's locale writes it.
QString DataHoraDoLembrete(const QDateTime &agora);

// The reschedule choices offered for an appointment: all 21 without an end time, the twelve
// day-based ones with one. indice names the choice whatever its place in the list.
struct EntradaReagendamento {
    int indice;
    QString texto;
};
QVector<EntradaReagendamento> EntradasDeReagendamento(bool comHoraFim);

// A wall-clock moment: what a reschedule adds to and writes.
struct Momento {
    QDate data;
    QTime hora;
    bool operator==(const Momento &) const = default;
};
// de plus the interval of choice indice, counted on the wall clock; calendar months and years
// keep the day, clamped to the length of the month they land in.
Momento SomarReagendamento(const Momento &de, int indice);

// What the buttons write to the signed-on user's row chave; each returns the rows it changed
// (none once the row has been deleted).
int MarcarExecutado(qint64 chave);
// The birthday row moves on a year: to the day and month of the contact that owns it in the
// year after data (data plus one calendar year for a row no contact names).
int AvisarProximoAno(qint64 chave, const QDate &data);
// The head row and its continuation rows move to data, times unchanged, with the description.
int ReagendarComHoraFim(qint64 chave, const QDate &data, const QString &compromisso);
// The row moves to the moment's date and minute, with the description.
int ReagendarSemHoraFim(qint64 chave, const Momento &momento, const QString &compromisso);
