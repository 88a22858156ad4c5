#pragma once

#include "core/sessao.h"

#include <QLocale>
#include <QString>

#include <optional>

// The calculator's rules, without widgets: each key reads the display's text, works on the
// session's registers and gives the text the display is to show, or nothing when it stays.
namespace modCalculadora {

inline const QString Erro = QStringLiteral(". . . Erro . . .");
inline constexpr int TamanhoDisplay = 15;

class Calculadora {
public:
    // Numbers are read and written in this locale, with this decimal separator.
    Calculadora(RegistrosCalculadora &registros, const QLocale &locale, QChar separador);

    // The display's number: every "." read as the separator, no grouping; nothing for a text
    // that is no finite number (empty, the error, two points).
    std::optional<double> Ler(const QString &display) const;
    // A result as the display shows it, two decimals without grouping; nothing when it does not
    // fit the display.
    std::optional<QString> Formatar(double valor) const;

    // A digit after an operation key or equals starts a new number: true when the display is
    // to be emptied first.
    bool NovoNumero();
    // The operation keys: 'A' add, 'S' subtract, 'M' multiply, 'D' divide.
    std::optional<QString> Operacao(QChar codigo, const QString &display);
    std::optional<QString> Igual(const QString &display);
    std::optional<QString> Percentual(const QString &display);
    QString LimparTudo();  // C; the memory stays
    // M+ (sinal 1) and M- (sinal -1).
    std::optional<QString> SomarNaMemoria(const QString &display, int sinal);
    QString LerMemoria() const;  // MR
    void LimparMemoria();        // MC
    bool MemoriaAcesa() const { return r.Memoria != 0; }

private:
    RegistrosCalculadora &r;
    QLocale locale;
    QChar separador;

    // Shows a new value of a register: stored and formatted, or the error with the register
    // left as it was when it does not fit.
    QString guardar(double &registro, double valor) const;
};

} // namespace modCalculadora
