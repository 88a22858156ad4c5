#include "core/modEntrada.h"

#include "core/modDb.h"

#include <QLineEdit>
#include <QRegularExpression>

std::optional<QDate> LerDataDigitada(const QString &texto)
{
    static const QRegularExpression forma(QStringLiteral(R"(^(\d{1,2})[/.-](\d{1,2})[/.-](\d{2}|\d{4})$)"));
    const auto m = forma.match(texto.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    int ano = m.captured(3).toInt();
    if (m.captured(3).size() == 2)
        ano += ano < 30 ? 2000 : 1900;
    const QDate d(ano, m.captured(2).toInt(), m.captured(1).toInt());
    return d.isValid() ? std::optional(d) : std::nullopt;
}

QDate DiaEMesNoAno(const QString &diaMes, int ano)
{
    static const QRegularExpression forma(QStringLiteral(R"(^(\d{1,2})/(\d{1,2})$)"));
    const auto m = forma.match(diaMes.trimmed());
    if (!m.hasMatch())
        return {};
    const int dia = m.captured(1).toInt(), mes = m.captured(2).toInt();
    if (mes < 1 || mes > 12 || dia < 1 || dia > QDate(2000, mes, 1).daysInMonth())
        return {};
    const QDate primeiro(ano, mes, 1);
    return primeiro.addDays(qMin(dia, primeiro.daysInMonth()) - 1);
}

std::optional<QTime> LerHoraDigitada(const QString &texto)
{
    static const QRegularExpression forma(QStringLiteral(R"(^(\d{1,2})(?::(\d{1,2}))?$)"));
    const auto m = forma.match(texto.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const QTime t(m.captured(1).toInt(), m.captured(2).isEmpty() ? 0 : m.captured(2).toInt());
    return t.isValid() ? std::optional(t) : std::nullopt;
}

std::optional<double> LerNumero(const QString &texto)
{
    bool ok = false;
    const double v = QLocale::c().toDouble(texto.trimmed(), &ok);
    return ok ? std::optional(v) : std::nullopt;
}

QString TextoDaData(const QDate &data)
{
    return data.toString(QStringLiteral("dd/MM/yyyy"));
}

QDate DataDoTexto(const QString &texto)
{
    return QDate::fromString(texto, QStringLiteral("dd/MM/yyyy"));
}

QString AparaEspacos(const QString &texto)
{
    qsizetype inicio = 0, fim = texto.size();
    while (inicio < fim && texto.at(inicio) == u' ')
        ++inicio;
    while (fim > inicio && texto.at(fim - 1) == u' ')
        --fim;
    return texto.mid(inicio, fim - inicio);
}

int MascaraComSeparador(QLineEdit &caixa, int tecla, QChar separador)
{
    if (tecla == 8 || caixa.hasSelectedText())
        return tecla;
    const bool digito = tecla >= '0' && tecla <= '9';
    switch (caixa.text().size()) {
    case 0:
    case 3:
    case 4:
        return digito ? tecla : 0;
    case 1:
        if (digito) {
            caixa.setText(caixa.text() + QChar(char16_t(tecla)) + separador);
            caixa.setCursorPosition(3);
        }
        return 0;
    default:
        return tecla;
    }
}

int FiltrarTelefone(int tecla)
{
    return tecla == '(' || tecla == ')' ? tecla : FiltrarTecla(tecla, true);
}

int FiltrarData(int tecla)
{
    return tecla == '/' ? tecla : FiltrarTecla(tecla, true);
}
