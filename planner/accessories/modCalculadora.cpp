#include "accessories/modCalculadora.h"

#include <cmath>

namespace modCalculadora {

namespace {

double aplicar(QChar codigo, double a, double b)
{
    switch (codigo.unicode()) {
    case u'A':
        return a + b;
    case u'S':
        return a - b;
    case u'M':
        return a * b;
    default:
        return a / b;
    }
}

} // namespace

Calculadora::Calculadora(RegistrosCalculadora &registros, const QLocale &l, QChar separador)
    : r(registros), locale(l), separador(separador)
{
    // A result must read back as a number, and "1.234" typed under a comma locale is 1,234.
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
}

std::optional<double> Calculadora::Ler(const QString &display) const
{
    QString texto = display;
    texto.replace(u'.', separador);
    bool ok = false;
    const double v = locale.toDouble(texto, &ok);
    return ok && std::isfinite(v) ? std::optional(v) : std::nullopt;
}

std::optional<QString> Calculadora::Formatar(double valor) const
{
    if (!std::isfinite(valor))
        return std::nullopt;
    QString texto = QString::number(valor, 'f', 2);
    if (texto == QLatin1String("-0.00"))
        texto = QStringLiteral("0.00");
    texto.replace(u'.', separador);
    return texto.size() <= TamanhoDisplay ? std::optional(texto) : std::nullopt;
}

QString Calculadora::guardar(double &registro, double valor) const
{
    const std::optional<QString> texto = Formatar(valor);
    if (!texto)
        return Erro;
    registro = valor;
    return *texto;
}

bool Calculadora::NovoNumero()
{
    if (r.EstadoEntrada.isEmpty())
        return false;
    r.EstadoEntrada.clear();
    return true;
}

std::optional<QString> Calculadora::Operacao(QChar codigo, const QString &display)
{
    if (r.EstadoEntrada == QLatin1String("S")) {
        // After equals the next number and equals apply this operation to the result.
        r.EstadoEntrada = QStringLiteral("N");
        r.OperacaoPendente = codigo;
        return std::nullopt;
    }
    const std::optional<double> v = Ler(display);
    if (!v || !r.EstadoEntrada.isEmpty())
        return std::nullopt;
    r.ValorDigitado = *v;
    double resultado = *v;
    if (r.Acumulador != 0) {
        if (codigo == u'D' && *v <= 0)
            return Erro;
        resultado = aplicar(codigo, r.Acumulador, *v);
    }
    const QString texto = guardar(r.Acumulador, resultado);
    if (texto != Erro) {
        r.OperacaoPendente = codigo;
        r.EstadoEntrada = QStringLiteral("N");
    }
    return texto;
}

std::optional<QString> Calculadora::Igual(const QString &display)
{
    const std::optional<double> v = Ler(display);
    if (!v)
        return std::nullopt;
    // Equals again repeats the last operation with the same operand.
    if (r.EstadoEntrada != QLatin1String("S")) {
        r.ValorDigitado = *v;
        r.EstadoEntrada = QStringLiteral("S");
    }
    if (r.OperacaoPendente.isEmpty())
        return guardar(r.Acumulador, r.Acumulador);
    if (r.OperacaoPendente == QLatin1String("D") && r.ValorDigitado <= 0)
        return Erro;
    return guardar(r.Acumulador, aplicar(r.OperacaoPendente.at(0), r.Acumulador, r.ValorDigitado));
}

std::optional<QString> Calculadora::Percentual(const QString &display)
{
    if (r.OperacaoPendente.isEmpty())
        return Erro;
    const std::optional<double> p = Ler(display);
    if (!p)
        return std::nullopt;
    // Of the operand the last operation key or equals took, not of the running result.
    const double b = r.ValorDigitado;
    switch (r.OperacaoPendente.at(0).unicode()) {
    case u'A':
        return guardar(r.Acumulador, b + b / 100 * *p);
    case u'S':
        return guardar(r.Acumulador, b - b / 100 * *p);
    case u'M':
        return guardar(r.Acumulador, b / 100 * *p);
    default:
        if (*p <= 0)
            return Erro;
        return guardar(r.Acumulador, b / *p * 100);
    }
}

QString Calculadora::LimparTudo()
{
    r.Acumulador = 0;
    r.ValorDigitado = 0;
    r.OperacaoPendente.clear();
    r.EstadoEntrada.clear();
    return QString();
}

std::optional<QString> Calculadora::SomarNaMemoria(const QString &display, int sinal)
{
    const std::optional<double> v = Ler(display);
    if (!v)
        return std::nullopt;
    return guardar(r.Memoria, r.Memoria + sinal * *v);
}

QString Calculadora::LerMemoria() const
{
    // The memory only ever takes values the display can show.
    return Formatar(r.Memoria).value_or(Erro);
}

void Calculadora::LimparMemoria()
{
    r.Memoria = 0;
}

} // namespace modCalculadora
