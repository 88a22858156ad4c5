#include "finances/modFinancas.h"

#include "core/modDb.h"
#include "core/modEntrada.h"
#include "core/sessao.h"

#include <QRegularExpression>

namespace {

// The user's rows of one month, as a date range the (Usuario, Data) index can serve.
QString doMes(int mes, int ano)
{
    const QDate inicio(ano, mes, 1);
    return QStringLiteral(" Where Usuario = ") + QString::number(Sessao.Codigo) + QStringLiteral(" and Data >= cdate('") +
           TextoDaData(inicio) + QStringLiteral("') and Data < cdate('") + TextoDaData(inicio.addMonths(1)) + QStringLiteral("')");
}

// A stored amount in cents; NULL is 0.
qint64 centavosDe(const Campo &campo)
{
    return qRound64(campo.Numero() * 100);
}

// The parts of a typed number: sign, integer digits, decimal digits.
struct Numero {
    bool negativo;
    QString inteiros, decimais;
};

std::optional<Numero> lerNumero(const QString &texto, QChar separador)
{
    QString t = texto.trimmed();
    t.replace(u'.', separador);
    const QRegularExpression forma(QStringLiteral("^(-?)([0-9]*)(?:%1([0-9]*))?$").arg(QRegularExpression::escape(separador)));
    const auto m = forma.match(t);
    // Thirteen integer digits keep every amount exact in the database's numbers.
    if (!m.hasMatch() || (m.captured(2).isEmpty() && m.captured(3).isEmpty()) || m.captured(2).size() > 13)
        return std::nullopt;
    return Numero{!m.captured(1).isEmpty(), m.captured(2), m.captured(3)};
}

LinhaLancamento lancamentoDe(const RecordSet &rs)
{
    LinhaLancamento l;
    l.chave = rs(QStringLiteral("Chave")).Inteiro();
    l.data = rs(QStringLiteral("Data")).Data();
    l.descricao = rs(QStringLiteral("Descricao")).Texto();
    l.recebido = centavosDe(rs(QStringLiteral("Recebido")));
    l.pago = centavosDe(rs(QStringLiteral("Pago")));
    l.efetuado = rs(QStringLiteral("Efetuado")).Texto() == QLatin1String("S");
    return l;
}

} // namespace

std::optional<qint64> LerValor(const QString &texto, QChar separador)
{
    const auto n = lerNumero(texto, separador);
    if (!n)
        return std::nullopt;
    qint64 centavos = n->inteiros.toLongLong() * 100 + n->decimais.left(2).leftJustified(2, u'0').toInt();
    if (n->decimais.size() > 2 && n->decimais.at(2) >= u'5')
        ++centavos;
    return n->negativo ? -centavos : centavos;
}

int FiltrarTeclaValor(int tecla, QChar separador)
{
    return FiltrarTecla(tecla == separador.unicode() ? '.' : tecla, true);
}

QString FormatarValor(qint64 centavos, QChar separador)
{
    const qint64 absoluto = qAbs(centavos);
    return (centavos < 0 ? QStringLiteral("-") : QString()) + QString::number(absoluto / 100) + separador +
           QStringLiteral("%1").arg(absoluto % 100, 2, 10, QLatin1Char('0'));
}

QString FormatarDigitado(const QString &texto, QChar separador)
{
    if (texto.trimmed().isEmpty())
        return texto;
    const auto valor = LerValor(texto, separador);
    return valor ? FormatarValor(*valor, separador) : texto;
}

std::optional<int> LerAno(const QString &texto, QChar separador)
{
    const auto n = lerNumero(texto, separador);
    if (!n)
        return std::nullopt;
    // Years far outside the calendar only need to stay outside the accepted range.
    const int ano = int(qMin(n->inteiros.toLongLong(), qint64(99999)));
    return n->negativo ? -ano : ano;
}

qint64 EfeitoNoSaldo(const LinhaLancamento &linha)
{
    if (!linha.efetuado)
        return 0;
    return qMax(linha.recebido, qint64(0)) - qMax(linha.pago, qint64(0));
}

qint64 SaldoInicialDoMes(int mes, int ano)
{
    const RecordSet rs = Consultar(QStringLiteral("Select M") + QString::number(mes) + QStringLiteral(" from Saldos Where Usuario = ") +
                                   QString::number(Sessao.Codigo) + QStringLiteral(" and Ano = ") + QString::number(ano));
    return rs.Eof() ? 0 : centavosDe(rs.Indice(0));
}

MesFinanceiro LerMes(int mes, int ano)
{
    MesFinanceiro m;
    Transacao leitura(Transacao::Leitura);
    m.saldoInicial = SaldoInicialDoMes(mes, ano);
    m.saldoAtual = m.saldoInicial;
    // Entries of one day in the order they were made.
    for (RecordSet rs = Consultar(QStringLiteral("Select * from Financas") + doMes(mes, ano) + QStringLiteral(" Order By Data,Chave"));
         !rs.Eof(); rs.MoveNext()) {
        const LinhaLancamento l = lancamentoDe(rs);
        m.saldoAtual += EfeitoNoSaldo(l);
        m.linhas << l;
    }
    return m;
}

int GravarSaldoInicial(qint64 saldo, int mes, int ano)
{
    if (Sessao.Codigo == 0 || mes < 1 || mes > 12)
        return 0;
    const QString usuario = QString::number(Sessao.Codigo), coluna = QStringLiteral("M") + QString::number(mes);
    const QString valor = FormatarValor(saldo, u'.'), anoSql = QString::number(ano);
    // One writer at a time between the update and the insert, so two processes never both
    // insert the year's row.
    Transacao t;
    int afetadas = Executar(QStringLiteral("Update Saldos set ") + coluna + QStringLiteral(" = ") + valor +
                            QStringLiteral(" Where Usuario = ") + usuario + QStringLiteral(" and Ano = ") + anoSql);
    if (afetadas == 0)
        afetadas = Executar(QStringLiteral("Insert into Saldos(Usuario,") + coluna + QStringLiteral(",Ano) values (") + usuario +
                            QStringLiteral(",") + valor + QStringLiteral(",") + anoSql + QStringLiteral(")"));
    t.Confirmar();
    return afetadas;
}

qint64 SaldoImportado(int mes, int ano)
{
    const QDate anterior = QDate(ano, mes, 1).addMonths(-1);
    Transacao leitura(Transacao::Leitura);
    qint64 saldo = SaldoInicialDoMes(anterior.month(), anterior.year());
    for (RecordSet rs = Consultar(QStringLiteral("Select Recebido,Pago from Financas") + doMes(anterior.month(), anterior.year()));
         !rs.Eof(); rs.MoveNext())
        saldo += centavosDe(rs(QStringLiteral("Recebido"))) - centavosDe(rs(QStringLiteral("Pago")));
    return saldo;
}

QDate DataDoNovoLancamento(const QDate &hoje, int mes, int ano)
{
    const QDate primeiro(ano, mes, 1);
    return primeiro.addDays(qMin(hoje.day(), primeiro.daysInMonth()) - 1);
}

void GravarLancamento(qint64 chave, const QDate &data, const QString &descricao, int tipo, qint64 valor, bool efetuado)
{
    const QString usuario = QString::number(Sessao.Codigo), v = FormatarValor(valor, u'.');
    const QString dia = QStringLiteral("cdate('") + TextoDaData(data) + QStringLiteral("')");
    const QString flag = efetuado ? QStringLiteral("S") : QStringLiteral("N");
    if (chave == 0) {
        Executar(QStringLiteral("Insert into Financas(Usuario,Data,Descricao,Recebido,Pago,Efetuado) values (") + usuario +
                 QStringLiteral(",") + dia + QStringLiteral(",'") + SqlTexto(descricao) + QStringLiteral("',") +
                 (tipo == 0 ? v : QStringLiteral("NULL")) + QStringLiteral(",") + (tipo == 1 ? v : QStringLiteral("NULL")) +
                 QStringLiteral(",'") + flag + QStringLiteral("')"));
        return;
    }
    Executar(QStringLiteral("Update Financas set Data = ") + dia + QStringLiteral(",Descricao = '") + SqlTexto(descricao.trimmed()) +
             QStringLiteral("',") +
             (tipo == 1 ? QStringLiteral("Pago = ") + v + QStringLiteral(",Recebido=NULL")
                        : QStringLiteral("Recebido = ") + v + QStringLiteral(",Pago=NULL")) +
             QStringLiteral(" ,Efetuado = '") + flag + QStringLiteral("' Where Usuario = ") + usuario +
             QStringLiteral(" and Chave = ") + QString::number(chave));
}

Gravacao AlterarLancamento(const LinhaLancamento &aberto, const QDate &data, const QString &descricao, int tipo, qint64 valor,
                           bool efetuado)
{
    Transacao t;
    const RecordSet rs = Consultar(QStringLiteral("Select * from Financas Where Usuario = ") + QString::number(Sessao.Codigo) +
                                   QStringLiteral(" and Chave = ") + QString::number(aberto.chave));
    if (rs.Eof())
        return Gravacao::Excluida;
    if (lancamentoDe(rs) != aberto)
        return Gravacao::Alterada;
    GravarLancamento(aberto.chave, data, descricao, tipo, valor, efetuado);
    t.Confirmar();
    return Gravacao::Gravada;
}

void ExcluirLancamento(qint64 chave)
{
    Executar(QStringLiteral("Delete from Financas Where Usuario = ") + QString::number(Sessao.Codigo) + QStringLiteral(" and Chave = ") +
             QString::number(chave));
}
