#include "appointments/modCompromissos.h"

#include "core/modEntrada.h"
#include "core/modDb.h"
#include "core/sessao.h"
#include "resources/recursos.h"


namespace {

QString hhnn(int minutos)
{
    return QTime(minutos / 60, minutos % 60).toString(QStringLiteral("HH:mm"));
}

int minutosDe(const QTime &t)
{
    return t.hour() * 60 + t.minute();
}

// Steps of an hour and above count as an hour; a step under a minute (a damaged preference)
// counts as one, so the walk always ends.
int passoDe(int intervalos)
{
    return intervalos <= 59 ? qMax(1, intervalos) : 60;
}

} // namespace

QVector<int> HorariosDaGrade(const QTime &inicio, const QTime &final, int intervalos)
{
    const int passo = passoDe(intervalos);
    const int fim = minutosDe(final);
    const int limite = fim == 23 * 60 + 59 ? fim : fim + 1;
    QVector<int> horarios;
    for (int h = minutosDe(inicio); h <= limite; h += passo)
        horarios << h;
    return horarios;
}

QVector<LinhaGrade> CaminharHorarios(const QVector<int> &horarios, const QVector<LinhaGrade> &comHora)
{
    QVector<LinhaGrade> linhas;
    qsizetype i = 0;
    for (const int horario : horarios) {
        const QString slot = hhnn(horario);
        bool ocupado = false;
        while (i < comHora.size()) {
            const QString &hora = comHora[i].hora;
            if (hora < slot) {
                linhas << comHora[i++];
            } else if (hora == slot) {
                linhas << comHora[i++];
                ocupado = true;
                break;
            } else {
                break;
            }
        }
        if (!ocupado) {
            LinhaGrade vazia;
            vazia.status = QStringLiteral(" ");
            vazia.compartilhado = QStringLiteral(" ");
            vazia.hora = slot;
            vazia.texto = QStringLiteral(" ");
            linhas << vazia;
        }
    }
    while (i < comHora.size())
        linhas << comHora[i++];
    return linhas;
}

QVector<LinhaGrade> LinhasDoDia(const QDate &dia)
{
    const QString usuario = QString::number(Sessao.Codigo);
    const QString data = TextoDaData(dia);
    QVector<LinhaGrade> linhas;
    // Both statements on one connection, from one snapshot of the file.
    Transacao leitura(Transacao::Leitura);

    const auto blocoDoDia = [&] {
        QString sql = QStringLiteral("Select * from Compromissos Where Usuario = ") + usuario +
                      QStringLiteral(" and Data = Cdate('") + data + QStringLiteral("') and Hora is Null ");
        if (Sessao.VisualizarCompartilhamento)
            sql += QStringLiteral("Union Select * from Compromissos Where Usuario <> ") + usuario +
                   QStringLiteral(" and Data = Cdate('") + data + QStringLiteral("') and Compartilhado = 'S' and Hora is Null");
        sql += QStringLiteral(" Order By Chave");
        for (RecordSet rs = Consultar(sql); !rs.Eof(); rs.MoveNext()) {
            LinhaGrade l;
            l.chave = rs(QStringLiteral("Chave")).Inteiro();
            l.status = rs(QStringLiteral("Status")).Texto();
            l.compartilhado = rs(QStringLiteral("Compartilhado")).Texto();
            l.dono = rs(QStringLiteral("Usuario")).Inteiro();
            l.texto = rs(QStringLiteral("Compromisso")).Texto();
            linhas << l;
        }
    };

    if (Sessao.PosicaoAniversarios == QLatin1String("A"))
        blocoDoDia();

    QString sql = QStringLiteral("Select *,'' as NomeUsuario from Compromissos Where Usuario = ") + usuario +
                  QStringLiteral(" and Data = Cdate('") + data + QStringLiteral("') and Hora <> Null ");
    if (Sessao.VisualizarCompartilhamento)
        sql += QStringLiteral("Union Select *,(Select Login from Usuarios Where Codigo = Usuario) as NomeUsuario from Compromissos Where Usuario <> ") +
               usuario + QStringLiteral(" and Data = Cdate('") + data +
               QStringLiteral("') and Compartilhado = 'S' and Hora <> Null and Status <> '1'") +
               // Executing marks the head row only: its continuation rows go with it.
               QStringLiteral(" and not exists (Select Chave from Compromissos Pai Where Pai.Chave = Compromissos.ChavePai and Pai.Status = '1')");
    // Rows at the same time: the user's own first, then by owner and key, the same every time.
    sql += QStringLiteral(" Order By Data,Hora,NomeUsuario,Chave ");
    QVector<LinhaGrade> comHora;
    for (RecordSet rs = Consultar(sql); !rs.Eof(); rs.MoveNext()) {
        LinhaGrade l;
        l.chave = rs(QStringLiteral("Chave")).Inteiro();
        l.chavePai = QString::number(rs(QStringLiteral("ChavePai")).Inteiro());
        l.status = rs(QStringLiteral("Status")).Texto();
        l.compartilhado = rs(QStringLiteral("Compartilhado")).Texto();
        l.dono = rs(QStringLiteral("Usuario")).Inteiro();
        l.hora = rs(QStringLiteral("Hora")).Hora().toString(QStringLiteral("HH:mm"));
        const Campo fim = rs(QStringLiteral("HoraFim"));
        l.horaFim = fim.IsNull() ? QString() : fim.Hora().toString(QStringLiteral("HH:mm"));
        l.texto = rs(QStringLiteral("Compromisso")).Texto();
        const QString dono = rs(QStringLiteral("NomeUsuario")).Texto();
        if (!dono.isEmpty())
            l.texto += QStringLiteral(" [") + dono + QStringLiteral("]");
        comHora << l;
    }
    linhas += CaminharHorarios(HorariosDaGrade(Sessao.InicioGrade, Sessao.FinalGrade, Sessao.Intervalos), comHora);

    if (Sessao.PosicaoAniversarios == QLatin1String("D"))
        blocoDoDia();
    return linhas;
}

const FigurasDaGrade &Figuras()
{
    static const FigurasDaGrade figuras{
        recursos::Figura(QStringLiteral("anexado")),   recursos::Figura(QStringLiteral("bloqueado")),
        recursos::Figura(QStringLiteral("aniversario")), recursos::Figura(QStringLiteral("alarme")),
        recursos::Figura(QStringLiteral("executado")), recursos::Figura(QStringLiteral("compartilhado")),
    };
    return figuras;
}

namespace {

QString cdateDaHora(const QTime &hora)
{
    return QString::asprintf("cdate('%02d:%02d')", hora.hour(), hora.minute());
}

// One row's values as an Insert into Compromissos lists them, between parentheses.
QString valoresDaLinha(const QDate &data, const QTime &hora, const QTime &horaFim, qint64 chavePai, const QString &compromisso,
                       const QString &status, const QString &compartilhado)
{
    const bool temFim = horaFim.isValid() && horaFim != QTime(0, 0);
    return QStringLiteral("(") + QString::number(Sessao.Codigo) + QStringLiteral(",") +
           QStringLiteral("cdate('") + TextoDaData(data) + QStringLiteral("'),") +
           (hora.isValid() ? cdateDaHora(hora) : QStringLiteral("NULL")) + QStringLiteral(",") +
           (temFim ? cdateDaHora(horaFim) + QStringLiteral(",") : QStringLiteral("NULL,")) +
           QStringLiteral("'") + SqlTexto(compromisso) + QStringLiteral("',") +
           (chavePai != 0 ? QString::number(chavePai) + QStringLiteral(",") : QStringLiteral("0,")) +
           QStringLiteral("'") + SqlTexto(status) + QStringLiteral("',") +
           QStringLiteral("'") + SqlTexto(compartilhado) + QStringLiteral("')");
}

const QString inserirCompromissos =
    QStringLiteral("Insert into Compromissos(Usuario,Data,Hora,HoraFim,Compromisso,ChavePai,Status,Compartilhado) values ");

} // namespace

qint64 GravarCompromisso(bool alterar, qint64 chave, const QDate &data, const QTime &hora, const QTime &horaFim,
                         qint64 chavePai, const QString &compromisso, const QString &status, const QString &compartilhado)
{
    if (!alterar) {
        // The new row's own key: a read-back by user, date and time could find an older appointment.
        return ExecutarInsercao(inserirCompromissos + valoresDaLinha(data, hora, horaFim, chavePai, compromisso, status, compartilhado));
    }
    if (chave <= 0)
        return 0;
    const QString usuario = QString::number(Sessao.Codigo);
    const bool temFim = horaFim.isValid() && horaFim != QTime(0, 0);
    const int alteradas = Executar(
             QStringLiteral("Update Compromissos set ") +
             QStringLiteral("Data = cdate('") + TextoDaData(data) + QStringLiteral("'),") +
             QStringLiteral("Hora = ") + (hora.isValid() ? cdateDaHora(hora) : QStringLiteral("NULL")) + QStringLiteral(",") +
             (temFim ? QStringLiteral("HoraFim = ") + cdateDaHora(horaFim) + QStringLiteral(",") : QStringLiteral("HoraFim = NULL,")) +
             QStringLiteral("Compromisso = '") + SqlTexto(compromisso) + QStringLiteral("',") +
             (chavePai != 0 ? QStringLiteral("ChavePai=") + QString::number(chavePai) + QStringLiteral(",") : QStringLiteral("ChavePai=0,")) +
             QStringLiteral("Status='") + SqlTexto(status) + QStringLiteral("',") +
             QStringLiteral("Compartilhado='") + SqlTexto(compartilhado) + QStringLiteral("'") +
             QStringLiteral(" Where Usuario = ") + usuario + QStringLiteral(" and Chave = ") + QString::number(chave));
    // A row deleted meanwhile (by a reminder or another planner) keeps its place empty: no
    // continuation rows are touched for it.
    if (alteradas == 0)
        return 0;
    if (chavePai == 0 && Sessao.TinhaHoraFinal)
        Executar(QStringLiteral("Delete from Compromissos Where Usuario = ") + usuario +
                 QStringLiteral(" and ChavePai = ") + QString::number(chave));
    return 1;
}

int GravarContinuacoes(qint64 pai, const QDate &data, const QTime &inicio, const QTime &fim, const QString &descricao,
                       const QString &status, const QString &compartilhado)
{
    QStringList linhas;
    for (const QTime &t : HorariosDeContinuacao(inicio, fim, Sessao.Intervalos))
        linhas << valoresDaLinha(data, t, QTime(), pai, descricao, status, compartilhado);
    if (!linhas.isEmpty())
        Executar(inserirCompromissos + linhas.join(u','));
    return int(linhas.size());
}

void ExcluirCompromisso(qint64 chave)
{
    // "ChavePai = 0" would match every head row of the user.
    if (chave <= 0)
        return;
    Executar(QStringLiteral("Delete from Compromissos Where Usuario = ") + QString::number(Sessao.Codigo) +
             QStringLiteral(" and (Chave = ") + QString::number(chave) + QStringLiteral(" or ChavePai = ") +
             QString::number(chave) + QStringLiteral(")"));
}

CompromissoAberto ComoAberto(const LinhaGrade &linha, const QDate &dia)
{
    return {dia, linha.hora, linha.horaFim, linha.texto.trimmed(), linha.status, linha.compartilhado};
}

std::optional<CompromissoAberto> LerCompromissoAberto(qint64 chave)
{
    const RecordSet rs = Consultar(QStringLiteral("Select Data,Hora,HoraFim,Compromisso,Status,Compartilhado from Compromissos Where Usuario = ") +
                                   QString::number(Sessao.Codigo) + QStringLiteral(" and Chave = ") + QString::number(chave));
    if (rs.Eof())
        return std::nullopt;
    const auto hhnn = [](const Campo &c) { return c.IsNull() ? QString() : c.Hora().toString(QStringLiteral("HH:mm")); };
    return CompromissoAberto{rs(QStringLiteral("Data")).Data(), hhnn(rs(QStringLiteral("Hora"))), hhnn(rs(QStringLiteral("HoraFim"))),
                             rs(QStringLiteral("Compromisso")).Texto().trimmed(), rs(QStringLiteral("Status")).Texto(),
                             rs(QStringLiteral("Compartilhado")).Texto()};
}

Gravacao AlterarCompromisso(qint64 chave, const CompromissoAberto &aberto, const QDate &data, const QTime &inicio,
                            const std::optional<QTime> &fim, const QString &descricao, const QString &status,
                            const QString &compartilhado)
{
    Transacao t;
    const std::optional<CompromissoAberto> atual = LerCompromissoAberto(chave);
    if (!atual)
        return Gravacao::Excluida;
    // A reminder's answer (executed, rescheduled) or another planner's save is not undone.
    if (*atual != aberto)
        return Gravacao::Alterada;
    if (GravarCompromisso(true, chave, data, inicio, fim.value_or(QTime()), 0, descricao, status, compartilhado) == 0)
        return Gravacao::Excluida;
    if (fim)
        GravarContinuacoes(chave, data, inicio, *fim, descricao, status, compartilhado);
    t.Confirmar();
    return Gravacao::Gravada;
}

void IncluirCompromisso(const QVector<QDate> &datas, const QTime &inicio, const std::optional<QTime> &fim,
                        const QString &descricao, const QString &status, const QString &compartilhado)
{
    Transacao t;
    for (const QDate &d : datas) {
        const qint64 chave = GravarCompromisso(false, 0, d, inicio, fim.value_or(QTime()), 0, descricao, status, compartilhado);
        if (fim)
            GravarContinuacoes(chave, d, inicio, *fim, descricao, status, compartilhado);
    }
    t.Confirmar();
}

QVector<QDate> DatasDaRepeticao(const QDate &data, Repeticao repeticao)
{
    QVector<QDate> datas{data};
    switch (repeticao) {
    case Repeticao::SomenteDia:
        break;
    case Repeticao::DiasUteis:
    case Repeticao::Semana: {
        const int parada = repeticao == Repeticao::DiasUteis ? Qt::Saturday : Qt::Monday;
        for (QDate d = data.addDays(1); d.dayOfWeek() != parada; d = d.addDays(1))
            datas << d;
        break;
    }
    case Repeticao::Mes:
        for (QDate d = data.addDays(1); d.month() == data.month(); d = d.addDays(1))
            datas << d;
        break;
    case Repeticao::DiaDoMesNoAno:
        for (QDate d = data.addMonths(1); d.year() == data.year(); d = d.addMonths(1))
            datas << d;
        break;
    }
    return datas;
}

QVector<QTime> HorariosDeContinuacao(const QTime &inicio, const QTime &fim, int intervalos)
{
    const int passo = passoDe(intervalos);
    const int s = minutosDe(inicio), e = minutosDe(fim);
    QVector<QTime> horarios;
    int ultimo = s;
    for (int t = s + qMax(1, intervalos); t <= e; t += passo) {
        horarios << QTime(t / 60, t % 60);
        ultimo = t;
    }
    if (ultimo != e)
        horarios << fim;
    return horarios;
}
