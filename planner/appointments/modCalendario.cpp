#include "appointments/modCalendario.h"

#include "core/modDb.h"
#include "core/modEntrada.h"
#include "core/sessao.h"
#include "platform/localidade.h"

#include <QDate>

int DiasDoMes(int mes, int ano)
{
    switch (mes) {
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return QDate::isLeapYear(ano) ? 29 : 28;
    default:
        return 31;
    }
}

QVector<int> DiasDasCelulas(int mes, int ano)
{
    QVector<int> dias(42, 0);
    // dayOfWeek counts Monday as 1 and Sunday as 7: Sunday comes first here, whatever the locale.
    const int primeira = QDate(ano, mes, 1).dayOfWeek() % 7;
    for (int dia = 1; dia <= DiasDoMes(mes, ano) && primeira + dia - 1 < 42; ++dia)
        dias[primeira + dia - 1] = dia;
    return dias;
}

QColor CorDoValor(int valor)
{
    return QColor(valor & 0xFF, (valor >> 8) & 0xFF, (valor >> 16) & 0xFF);
}

QColor CorDaCelula(int indice, bool marcado)
{
    const bool domingo = indice % 7 == 0;
    if (marcado)
        return CorDoValor(domingo ? 128 : 12582912);
    return CorDoValor(domingo ? 255 : 0);
}

QString SqlDiasComCompromissos(qint64 usuario, int mes, int ano, bool compartilhados)
{
    const QString u = QString::number(usuario);
    QString sql = QStringLiteral("SELECT day(Data) as Dia FROM Compromissos Where (Usuario = ") + u;
    if (compartilhados)
        sql += QStringLiteral(" or (Usuario <> ") + u + QStringLiteral(" and Compartilhado = 'S')");
    // The month as a range of dates, which the indexes on Data serve (Month() and Year() of every
    // row would read the whole table); grouped by date and ordered by it: each day once,
    // ascending, as the cells are walked.
    const auto dia = [&](int d) { return TextoDaData(QDate(ano, mes, d)); };
    return sql + QStringLiteral(") and Data >= Cdate('") + dia(1) + QStringLiteral("') and Data <= Cdate('") +
           dia(DiasDoMes(mes, ano)) + QStringLiteral("') Group By Data Order By Data");
}

QVector<int> DiasComCompromissos(qint64 usuario, int mes, int ano, bool compartilhados)
{
    QVector<int> dias;
    for (RecordSet rs = Consultar(SqlDiasComCompromissos(usuario, mes, ano, compartilhados)); !rs.Eof(); rs.MoveNext())
        dias << int(rs(QStringLiteral("Dia")).Inteiro());
    return dias;
}
