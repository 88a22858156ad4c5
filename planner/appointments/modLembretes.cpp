#include "appointments/modLembretes.h"

#include "core/modDb.h"
#include "core/modEntrada.h"
#include "core/sessao.h"
#include "platform/localidade.h"

namespace {

// The reschedule choices in the order the list shows them; the first nine count minutes.
constexpr struct {
    const char *texto;
    int minutos, dias, meses;
} entradas[] = {
    {"   5 minutos", 5, 0, 0},   {"  10 minutos", 10, 0, 0}, {"  15 minutos", 15, 0, 0},
    {"  30 minutos", 30, 0, 0},  {"  45 minutos", 45, 0, 0}, {"   1 hora", 60, 0, 0},
    {"   2 horas", 120, 0, 0},   {"   6 horas", 360, 0, 0},  {"  12 horas", 720, 0, 0},
    {"   1 dia", 0, 1, 0},       {"   2 dias", 0, 2, 0},     {"   3 dias", 0, 3, 0},
    {"   5 dias", 0, 5, 0},      {"   1 semana", 0, 7, 0},   {"  10 dias", 0, 10, 0},
    {"   1 quinzena", 0, 15, 0}, {"   1 mês", 0, 0, 1},      {"   1 bimestre", 0, 0, 2},
    {"   1 trimestre", 0, 0, 3}, {"   1 semestre", 0, 0, 6}, {"   1 ano", 0, 0, 12},
};
constexpr int primeiraEmDias = 9;

QString usuarioSql()
{
    return QString::number(Sessao.Codigo);
}

// The part of both halves that says the start has passed.
QString jaComecou(qint64 usuario, const QDateTime &agora)
{
    const QString hoje = TextoDaData(agora.date());
    return QStringLiteral(" Where Usuario = ") + QString::number(usuario) + QStringLiteral(" and ( Data < Cdate('") + hoje +
           QStringLiteral("') or ( Data = Cdate('") + hoje + QStringLiteral("') and Hora <= cdate('") +
           agora.time().toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("') ) ) and Status = '0' and ");
}

} // namespace

int IntervaloDaChecagem()
{
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("VELORA_CHECAGEM_MS", &ok);
    return ok && ms > 0 ? ms : 60000;
}

PassoDaChecagem AvancarChecagem(int minutos, int checagemGeral, bool iniciada)
{
    PassoDaChecagem p;
    p.fimDoPeriodo = minutos >= checagemGeral;
    p.varrer = p.fimDoPeriodo || !iniciada;
    p.minutos = (p.fimDoPeriodo ? 0 : minutos) + 1;
    return p;
}

QString SqlAniversariosDevidos(qint64 usuario, const QDate &hoje)
{
    return QStringLiteral("Select * from Compromissos Where Usuario = ") + QString::number(usuario) +
           QStringLiteral(" and Data <= Cdate('") + TextoDaData(hoje) + QStringLiteral("') and Hora is Null Order By Chave");
}

QString SqlCompromissosDevidos(qint64 usuario, const QDateTime &agora)
{
    // SQLite does not order a union by its first columns: the order is asked for, the key last
    // so that equal times come the same way every time.
    return QStringLiteral("Select Data as Ordem1,Hora as Ordem2,Chave,Usuario,Data,Hora,HoraFim,Compromisso,ChavePai,Status,Compartilhado  from Compromissos") +
           jaComecou(usuario, agora) + QStringLiteral("HoraFim is Null and ChavePai = 0 ") +
           QStringLiteral(" Union Select Data as Ordem1,HoraFim as Ordem2,Chave,Usuario,Data,Hora,HoraFim,Compromisso,ChavePai,Status,Compartilhado from Compromissos") +
           jaComecou(usuario, agora) + QStringLiteral("HoraFim <> Null and ChavePai = 0") +
           QStringLiteral(" Order By Ordem1, Ordem2, Chave");
}

QVector<Lembrete> LerLembretes(const QString &sql)
{
    QVector<Lembrete> lembretes;
    for (RecordSet rs = Consultar(sql); !rs.Eof(); rs.MoveNext()) {
        Lembrete l;
        l.chave = rs(QStringLiteral("Chave")).Inteiro();
        l.data = rs(QStringLiteral("Data")).Data();
        l.hora = rs(QStringLiteral("Hora")).Hora();
        l.horaFim = rs(QStringLiteral("HoraFim")).Hora();
        l.compromisso = rs(QStringLiteral("Compromisso")).Texto();
        lembretes << l;
    }
    return lembretes;
}

std::optional<Lembrete> LembreteAtual(qint64 chave)
{
    const QVector<Lembrete> l = LerLembretes(QStringLiteral("Select Chave,Data,Hora,HoraFim,Compromisso from Compromissos Where Usuario = ") +
                                             usuarioSql() + QStringLiteral(" and Chave = ") + QString::number(chave));
    return l.isEmpty() ? std::nullopt : std::optional(l.first());
}

QString DataHoraDoLembrete(const QDateTime &agora)
{
    return agora.toString(QStringLiteral("dd ")) + localidade::Atual().monthName(agora.date().month()) +
           agora.toString(QStringLiteral(" yyyy - HH:mm"));
}

QVector<EntradaReagendamento> EntradasDeReagendamento(bool comHoraFim)
{
    QVector<EntradaReagendamento> lista;
    for (int i = comHoraFim ? primeiraEmDias : 0; i < int(std::size(entradas)); ++i)
        lista.push_back({i, QString::fromUtf8(entradas[i].texto)});
    return lista;
}

Momento SomarReagendamento(const Momento &de, int indice)
{
    const auto &e = entradas[indice];
    constexpr int segundosDoDia = 24 * 60 * 60;
    const int segundos = de.hora.msecsSinceStartOfDay() / 1000 + e.minutos * 60;
    return {de.data.addDays(segundos / segundosDoDia + e.dias).addMonths(e.meses),
            QTime::fromMSecsSinceStartOfDay(segundos % segundosDoDia * 1000)};
}

int MarcarExecutado(qint64 chave)
{
    return Executar(QStringLiteral("Update Compromissos set Status = '1' Where Usuario = ") + usuarioSql() +
                    QStringLiteral(" and Chave = ") + QString::number(chave));
}

int AvisarProximoAno(qint64 chave, const QDate &data)
{
    // From the contact's day and month: a 29 February birthday comes back to the 29th in every
    // leap year instead of staying on the 28th a clamped year left it on.
    const RecordSet contato = Consultar(QStringLiteral("Select Aniversario from Enderecos Where Usuario = ") + usuarioSql() +
                                        QStringLiteral(" and ChaveAniversario = ") + QString::number(chave));
    const QDate doContato = contato.Eof() ? QDate() : DiaEMesNoAno(contato(QStringLiteral("Aniversario")).Texto(), data.year() + 1);
    const QDate proximo = doContato.isValid() ? doContato : data.addYears(1);
    return Executar(QStringLiteral("Update Compromissos set Data = cdate('") + TextoDaData(proximo) +
                    QStringLiteral("') Where Usuario = ") + usuarioSql() + QStringLiteral(" and Chave = ") + QString::number(chave));
}

int ReagendarComHoraFim(qint64 chave, const QDate &data, const QString &compromisso)
{
    // "ChavePai = 0" would move every head row of the user.
    if (chave <= 0)
        return 0;
    const QString c = QString::number(chave);
    return Executar(QStringLiteral("Update Compromissos set Data = cdate('") + TextoDaData(data) + QStringLiteral("'),") +
                    QStringLiteral("Compromisso = '") + SqlTexto(compromisso) + QStringLiteral("' ") +
                    QStringLiteral(" Where Usuario = ") + usuarioSql() + QStringLiteral(" and ( Chave = ") + c +
                    QStringLiteral(" or ChavePai = ") + c + QStringLiteral(")"));
}

int ReagendarSemHoraFim(qint64 chave, const Momento &momento, const QString &compromisso)
{
    return Executar(QStringLiteral("Update Compromissos set Data = cdate('") + TextoDaData(momento.data) + QStringLiteral("'),") +
                    QStringLiteral("Hora = cdate('") + momento.hora.toString(QStringLiteral("HH:mm")) + QStringLiteral("'), ") +
                    QStringLiteral("Compromisso = '") + SqlTexto(compromisso) + QStringLiteral("' ") +
                    QStringLiteral(" Where Usuario = ") + usuarioSql() + QStringLiteral(" and Chave = ") + QString::number(chave));
}
