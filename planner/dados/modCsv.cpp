#include "dados/modCsv.h"

#include "core/modEntrada.h"
#include "finances/modFinancas.h"
#include "platform/localidade.h"

#include <QStringList>

namespace {

// A field quoted when it holds the separator, a quote or a line break; quotes doubled.
QString CampoCsv(const QString &texto, QChar separador)
{
    if (!texto.contains(separador) && !texto.contains(u'"') && !texto.contains(u'\n') && !texto.contains(u'\r'))
        return texto;
    QString s = texto;
    s.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + s + u'"';
}

} // namespace

QByteArray ExportarCsv(int mes, int ano)
{
    const QChar decimal = localidade::SeparadorDecimal();
    const QChar separador = decimal == u',' ? u';' : u',';
    const MesFinanceiro m = LerMes(mes, ano);
    QString s = QStringLiteral("\uFEFF");
    const auto linha = [&](const QStringList &campos) {
        QStringList c;
        for (const QString &f : campos)
            c << CampoCsv(f, separador);
        s += c.join(separador) + QStringLiteral("\r\n");
    };
    const auto valor = [decimal](qint64 centavos) { return centavos == 0 ? QString() : FormatarValor(centavos, decimal); };
    linha({QStringLiteral("Data"), QStringLiteral("Descrição"), QStringLiteral("Recebido"), QStringLiteral("Pago"), QStringLiteral("Efetuado")});
    linha({QString(), QStringLiteral("Saldo Inicial"), FormatarValor(m.saldoInicial, decimal), QString(), QString()});
    for (const LinhaLancamento &l : m.linhas)
        linha({TextoDaData(l.data), l.descricao, valor(l.recebido), valor(l.pago), l.efetuado ? QStringLiteral("S") : QStringLiteral("N")});
    linha({QString(), QStringLiteral("Saldo Atual"), FormatarValor(m.saldoAtual, decimal), QString(), QString()});
    return s.toUtf8();
}
