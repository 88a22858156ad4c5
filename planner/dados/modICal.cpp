#include "dados/modICal.h"

#include "appointments/modCompromissos.h"
#include "contacts/modEndereco.h"
#include "core/modDb.h"
#include "core/sessao.h"
#include "dados/modIdentificadores.h"
#include "platform/relogio.h"

#include <libical/ical.h>

#include <QDateTime>
#include <QHash>

#include <memory>

namespace {

const char *const propriedadeStatus = "X-VELORA-STATUS";
const char *const propriedadeCompartilhado = "X-VELORA-COMPARTILHADO";

struct LiberarComponente {
    void operator()(icalcomponent *c) const { icalcomponent_free(c); }
};
using Componente = std::unique_ptr<icalcomponent, LiberarComponente>;

icaltimetype DataIcal(const QDate &d)
{
    icaltimetype t = icaltime_null_date();
    t.year = d.year();
    t.month = d.month();
    t.day = d.day();
    return t;
}

// Local times travel as floating times: the reader's clock shows what the user typed.
icaltimetype HoraIcal(const QDate &d, const QTime &h)
{
    icaltimetype t = icaltime_null_time();
    t.year = d.year();
    t.month = d.month();
    t.day = d.day();
    t.hour = h.hour();
    t.minute = h.minute();
    return t;
}

void AcrescentarX(icalcomponent *evento, const char *nome, const QString &valor)
{
    icalproperty *p = icalproperty_new_x(valor.toUtf8().constData());
    icalproperty_set_x_name(p, nome);
    icalcomponent_add_property(evento, p);
}

QByteArray TextoIcal(icalcomponent *c)
{
    char *texto = icalcomponent_as_ical_string_r(c);
    const QByteArray s(texto);
    icalmemory_free_buffer(texto);
    return s;
}

QString ValorX(icalcomponent *evento, const char *nome)
{
    for (icalproperty *p = icalcomponent_get_first_property(evento, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(evento, ICAL_X_PROPERTY))
        if (qstricmp(icalproperty_get_x_name(p), nome) == 0)
            return QString::fromUtf8(icalproperty_get_x(p)).trimmed();
    return QString();
}

// A time of the file as the planner's local wall-clock time, held without a zone so that the
// arithmetic on it never consults the system's zone again (and durations are wall-clock ones);
// a floating time stays as written.
QDateTime Local(const icaltimetype &t)
{
    const QDate dia(t.year, t.month, t.day);
    if (t.is_date)
        return QDateTime(dia, QTime(0, 0), Qt::UTC);
    const icaltimezone *zona = icaltime_is_utc(t) ? icaltimezone_get_utc_timezone() : t.zone;
    if (!zona)
        return QDateTime(dia, QTime(t.hour, t.minute, t.second), Qt::UTC);
    const QDateTime local = QDateTime::fromSecsSinceEpoch(icaltime_as_timet_with_zone(t, zona)).toLocalTime();
    return QDateTime(local.date(), local.time(), Qt::UTC);
}

// The occurrences of a repeating event: the rule walked from the start (in the start's zone),
// extra dates added, excluded dates and the starts that other components replace left out,
// up to the horizon.
QVector<icaltimetype> Inicios(icalcomponent *evento, const icaltimetype &inicio, const QVector<icaltimetype> &substituidos,
                              const QDate &horizonte, int &restantes)
{
    QVector<icaltimetype> inicios;
    QVector<icaltimetype> excluidos = substituidos;
    for (icalproperty *p = icalcomponent_get_first_property(evento, ICAL_EXDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(evento, ICAL_EXDATE_PROPERTY))
        excluidos << icalproperty_get_datetime_with_component(p, evento);
    const auto excluido = [&excluidos](const icaltimetype &t) {
        for (const icaltimetype &e : excluidos)
            if (e.is_date || t.is_date ? icaltime_compare_date_only(e, t) == 0 : icaltime_compare(e, t) == 0)
                return true;
        return false;
    };
    const auto acrescentar = [&](icaltimetype t) {
        if (Local(t).date() > horizonte || excluido(t))
            return;
        if (--restantes < 0)
            throw ErroImportacao(QStringLiteral("o arquivo geraria mais de %1 linhas na agenda.").arg(LinhasMaximasImportacao));
        inicios << t;
    };

    icalproperty *regra = icalcomponent_get_first_property(evento, ICAL_RRULE_PROPERTY);
    if (!regra) {
        acrescentar(inicio);
    } else {
        icalrecur_iterator *it = icalrecur_iterator_new(icalproperty_get_rrule(regra), inicio);
        if (!it)
            throw ErroImportacao(QStringLiteral("regra de repetição inválida em \"") +
                                 QString::fromUtf8(icalcomponent_get_summary(evento)) + u'"');
        const auto liberar = std::unique_ptr<icalrecur_iterator, void (*)(icalrecur_iterator *)>(it, icalrecur_iterator_free);
        for (icaltimetype t = icalrecur_iterator_next(it); !icaltime_is_null_time(t); t = icalrecur_iterator_next(it)) {
            t.zone = inicio.zone;
            if (Local(t).date() > horizonte)
                break;
            acrescentar(t);
        }
    }
    for (icalproperty *p = icalcomponent_get_first_property(evento, ICAL_RDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(evento, ICAL_RDATE_PROPERTY)) {
        icaltimetype t = icalproperty_get_rdate(p).time;
        if (!icaltime_is_null_time(t)) {
            t.zone = inicio.zone;
            acrescentar(t);
        }
    }
    return inicios;
}

struct Evento {
    icalcomponent *mestre = nullptr;
    QVector<icalcomponent *> substitutos;  // the occurrences given a component of their own
};

// Writes the rows of one occurrence (head row and continuation rows) and returns the head's key.
qint64 GravarOcorrencia(const icaltimetype &inicio, qint64 duracao, const QString &texto,
                        const QString &status, const QString &compartilhado, int &linhas)
{
    const QDateTime comeco = Local(inicio);
    const QTime semHora;
    if (inicio.is_date) {
        ++linhas;
        // Only birthdays are rows without a time; another all-day event begins the user's day.
        if (status == QLatin1String("2"))
            return GravarCompromisso(false, 0, comeco.date(), semHora, semHora, 0, texto, status, compartilhado);
        return GravarCompromisso(false, 0, comeco.date(), Sessao.InicioGrade, semHora, 0, texto, status, compartilhado);
    }
    const QTime hora(comeco.time().hour(), comeco.time().minute());
    QTime fim;
    if (duracao > 0) {
        const QDateTime termino = comeco.addSecs(duracao);
        // An appointment ends on its own day: one that runs past midnight fills the day.
        fim = termino.date() > comeco.date() ? QTime(23, 59) : QTime(termino.time().hour(), termino.time().minute());
        if (fim <= hora)
            fim = QTime();
    }
    const qint64 chave = GravarCompromisso(false, 0, comeco.date(), hora, fim, 0, texto, status, compartilhado);
    ++linhas;
    if (fim.isValid())
        linhas += GravarContinuacoes(chave, comeco.date(), hora, fim, texto, status, compartilhado);
    return chave;
}

// The rows of one component (the master or a replaced occurrence).
QVector<qint64> GravarComponente(icalcomponent *c, const QVector<icaltimetype> &substituidos, const QDate &hoje, int &restantes,
                                 int &linhas)
{
    const icaltimetype inicio = icalcomponent_get_dtstart(c);
    if (icaltime_is_null_time(inicio) || !icaltime_is_valid_time(inicio))
        throw ErroImportacao(QStringLiteral("um evento não tem data de início (DTSTART) válida."));
    const icaltimetype termino = icalcomponent_get_dtend(c);
    qint64 duracao = 0;
    if (!icaltime_is_null_time(termino) && !inicio.is_date)
        duracao = Local(termino).toSecsSinceEpoch() - Local(inicio).toSecsSinceEpoch();

    QString texto = QString::fromUtf8(icalcomponent_get_summary(c)).simplified();
    if (texto.isEmpty())
        texto = QStringLiteral("(Sem Descrição)");
    QString status = ValorX(c, propriedadeStatus);
    if (status.size() != 1 || !QStringLiteral("0123").contains(status))
        status = icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT) ? QStringLiteral("0") : QStringLiteral("3");
    if (icalcomponent_get_status(c) == ICAL_STATUS_COMPLETED)
        status = QStringLiteral("1");
    const QString compartilhado = ValorX(c, propriedadeCompartilhado) == QLatin1String("S") ? QStringLiteral("S") : QStringLiteral("N");

    QVector<qint64> chaves;
    if (status == QLatin1String("2")) {
        // A birthday keeps one row, at its next occurrence, as a contact's birthday row does.
        if (--restantes < 0)
            throw ErroImportacao(QStringLiteral("o arquivo geraria mais de %1 linhas na agenda.").arg(LinhasMaximasImportacao));
        const QDate proximo = ProximoAniversario(QDate(inicio.year, inicio.month, inicio.day).toString(QStringLiteral("dd/MM")),
                                                 hoje);
        chaves << GravarOcorrencia(DataIcal(proximo), 0, texto, status, compartilhado, linhas);
        return chaves;
    }
    for (const icaltimetype &t : Inicios(c, inicio, substituidos, hoje.addYears(2), restantes))
        chaves << GravarOcorrencia(t, duracao, texto, status, compartilhado, linhas);
    return chaves;
}

} // namespace

QByteArray ExportarICal()
{
    Transacao t;
    Identificadores ids(QStringLiteral("C"));
    RecordSet rs = Consultar(QStringLiteral("Select Chave,Data,Hora,HoraFim,Compromisso,Status,Compartilhado from Compromissos "
                                            "Where Usuario = ") +
                             QString::number(Sessao.Codigo) + QStringLiteral(" and ChavePai = 0 Order By Data, Hora, Chave"));
    const Componente calendario(icalcomponent_vanew(ICAL_VCALENDAR_COMPONENT, icalproperty_new_version("2.0"),
                                                    icalproperty_new_prodid("-//velora//Agenda//PT"),
                                                    icalproperty_new_calscale("GREGORIAN"), nullptr));
    // The calendar's text with each event's text put before its end: every event is written and
    // freed as soon as it is made, rather than a tree of all of them held and walked at the end.
    QByteArray saida = TextoIcal(calendario.get());
    const QByteArray fimDoCalendario = saida.sliced(saida.lastIndexOf("END:VCALENDAR"));
    saida.chop(fimDoCalendario.size());
    const icaltimetype carimbo =
        icaltime_from_timet_with_zone(relogio::Agora().toSecsSinceEpoch(), 0, icaltimezone_get_utc_timezone());
    const int cChave = rs.Posicao(QStringLiteral("Chave")), cData = rs.Posicao(QStringLiteral("Data")),
              cHora = rs.Posicao(QStringLiteral("Hora")), cFim = rs.Posicao(QStringLiteral("HoraFim")),
              cTexto = rs.Posicao(QStringLiteral("Compromisso")), cStatus = rs.Posicao(QStringLiteral("Status")),
              cFlag = rs.Posicao(QStringLiteral("Compartilhado"));
    for (; !rs.Eof(); rs.MoveNext()) {
        const QDate data = rs.Indice(cData).Data();
        const QTime hora = rs.Indice(cHora).Hora();
        const QTime fim = rs.Indice(cFim).Hora();
        const QString status = rs.Indice(cStatus).Texto();
        const QByteArray texto = rs.Indice(cTexto).Texto().toUtf8();
        const Componente vevento(icalcomponent_new_vevent());
        icalcomponent *evento = vevento.get();
        const QString uid = ids.Uid(rs.Indice(cChave).Inteiro());
        icalcomponent_set_uid(evento, uid.toUtf8().constData());
        // The appointments made from one repeating event keep its UID, each as an occurrence of
        // its own, so a second import replaces them together.
        if (ids.Chaves(uid).size() > 1)
            icalcomponent_set_recurrenceid(evento, hora.isValid() ? HoraIcal(data, hora) : DataIcal(data));
        icalcomponent_set_dtstamp(evento, carimbo);
        icalcomponent_set_sequence(evento, 0);
        icalcomponent_set_summary(evento, texto.constData());
        if (!hora.isValid()) {
            icalcomponent_set_dtstart(evento, DataIcal(data));
            icalcomponent_set_dtend(evento, DataIcal(data.addDays(1)));
            if (status == QLatin1String("2"))
                icalcomponent_add_property(evento, icalproperty_new_rrule(icalrecurrencetype_from_string("FREQ=YEARLY")));
        } else {
            icalcomponent_set_dtstart(evento, HoraIcal(data, hora));
            if (fim.isValid())
                icalcomponent_set_dtend(evento, HoraIcal(data, fim));
        }
        AcrescentarX(evento, propriedadeStatus, status);
        AcrescentarX(evento, propriedadeCompartilhado, rs.Indice(cFlag).Texto());
        if (status == QLatin1String("0")) {
            icaltriggertype gatilho = icaltriggertype_from_int(0);
            icalcomponent_add_component(evento, icalcomponent_vanew(ICAL_VALARM_COMPONENT, icalproperty_new_action(ICAL_ACTION_DISPLAY),
                                                                    icalproperty_new_trigger(gatilho),
                                                                    icalproperty_new_description(texto.constData()), nullptr));
        }
        saida += TextoIcal(evento);
    }
    saida += fimDoCalendario;
    ids.Gravar();
    t.Confirmar();
    return saida;
}

ResultadoImportacao ImportarICal(const QByteArray &conteudo)
{
    ResultadoImportacao r;
    r.erro = VerificarArquivoTexto(conteudo, "iCalendar", "BEGIN:VCALENDAR", "END:VCALENDAR");
    if (!r.erro.isEmpty())
        return r;
    const Componente raiz(icalparser_parse_string(conteudo.constData()));
    if (!raiz || (icalcomponent_isa(raiz.get()) != ICAL_VCALENDAR_COMPONENT && icalcomponent_isa(raiz.get()) != ICAL_XROOT_COMPONENT)) {
        r.erro = QStringLiteral("o arquivo não é do formato iCalendar.");
        return r;
    }
    // Several calendars in one file come under one root.
    QVector<icalcomponent *> calendarios;
    if (icalcomponent_isa(raiz.get()) == ICAL_VCALENDAR_COMPONENT)
        calendarios << raiz.get();
    for (icalcomponent *c = icalcomponent_get_first_component(raiz.get(), ICAL_VCALENDAR_COMPONENT); c;
         c = icalcomponent_get_next_component(raiz.get(), ICAL_VCALENDAR_COMPONENT))
        calendarios << c;

    // Components of one UID are one event: the master and its replaced occurrences.
    QVector<QString> ordem;
    QHash<QString, Evento> eventos;
    for (icalcomponent *cal : std::as_const(calendarios)) {
        for (icalcomponent *c = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT); c;
             c = icalcomponent_get_next_component(cal, ICAL_VEVENT_COMPONENT)) {
            QString uid = QString::fromUtf8(icalcomponent_get_uid(c));
            if (uid.isEmpty())
                uid = QStringLiteral("\n") + QString::number(ordem.size());  // no UID: an event of its own, never matched
            if (!eventos.contains(uid))
                ordem << uid;
            Evento &e = eventos[uid];
            if (icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY))
                e.substitutos << c;
            else
                e.mestre = c;
        }
    }

    try {
        Transacao t;
        Identificadores ids(QStringLiteral("C"));
        int restantes = LinhasMaximasImportacao;
        const QDate hoje = relogio::Hoje();
        for (const QString &uid : std::as_const(ordem)) {
            const Evento &e = eventos[uid];
            const bool semUid = uid.startsWith(u'\n');
            const QVector<qint64> anteriores = semUid ? QVector<qint64>() : ids.Chaves(uid);
            ++r.itens;
            if (!anteriores.isEmpty()) {
                ++r.atualizados;
                // A birthday row belongs to its contact, which moves and retitles it.
                if (e.mestre && ValorX(e.mestre, propriedadeStatus) == QLatin1String("2"))
                    continue;
                for (const qint64 chave : anteriores)
                    ExcluirCompromisso(chave);
            }
            QVector<qint64> chaves;
            QVector<icaltimetype> substituidos;
            for (icalcomponent *s : e.substitutos) {
                substituidos << icalproperty_get_datetime_with_component(
                    icalcomponent_get_first_property(s, ICAL_RECURRENCEID_PROPERTY), s);
                chaves << GravarComponente(s, {}, hoje, restantes, r.linhas);
            }
            if (e.mestre)
                chaves = GravarComponente(e.mestre, substituidos, hoje, restantes, r.linhas) + chaves;
            if (!semUid)
                ids.Associar(uid, chaves);
        }
        ids.Gravar();
        t.Confirmar();
    } catch (const ErroImportacao &erro) {
        r = ResultadoImportacao{};
        r.erro = erro.Texto();
    }
    return r;
}
