// Reading what users type: dates, times, numbers and the time boxes' key rule.

#include "core/modEntrada.h"

#include <QLineEdit>

#include <gtest/gtest.h>

TEST(Entrada, Datas)
{
    const struct {
        const char *texto;
        QDate esperada;
    } casos[] = {
        {"14/10/2003", QDate(2003, 10, 14)}, {"1/2/2003", QDate(2003, 2, 1)}, {" 01-02-2003 ", QDate(2003, 2, 1)},
        {"29/02/2024", QDate(2024, 2, 29)},  {"29/02/2023", QDate()},         {"31/04/2000", QDate()},
        {"01/02/03", QDate(2003, 2, 1)},     {"01/02/45", QDate(1945, 2, 1)}, {"2003/10/14", QDate()},
        {"", QDate()},                       {"14/10", QDate()},              {"1.2.2003", QDate(2003, 2, 1)},
    };
    for (const auto &c : casos)
        EXPECT_EQ(LerDataDigitada(QString::fromUtf8(c.texto)).value_or(QDate()), c.esperada) << c.texto;
}

TEST(Entrada, Horas)
{
    const struct {
        const char *texto;
        QTime esperada;
    } casos[] = {
        {"08:30", QTime(8, 30)}, {"8:5", QTime(8, 5)},  {"08", QTime(8, 0)}, {"23:59", QTime(23, 59)},
        {"93:0", QTime()},       {"24:00", QTime()},    {"12:60", QTime()},  {"", QTime()},
        {"12:30:00", QTime()},   {"ab:cd", QTime()},
    };
    for (const auto &c : casos)
        EXPECT_EQ(LerHoraDigitada(QString::fromUtf8(c.texto)).value_or(QTime()), c.esperada) << c.texto;
}

TEST(Entrada, Numeros)
{
    EXPECT_EQ(LerNumero(QStringLiteral("60")), 60.0);
    EXPECT_EQ(LerNumero(QStringLiteral("-5")), -5.0);
    EXPECT_EQ(LerNumero(QStringLiteral("1.5")), 1.5);
    EXPECT_FALSE(LerNumero(QStringLiteral("1,5")));
    EXPECT_FALSE(LerNumero(QStringLiteral("--")));
    EXPECT_FALSE(LerNumero(QStringLiteral(".")));
}

namespace {

QString digitar(const QString &teclas)
{
    QLineEdit caixa;
    caixa.setMaxLength(5);
    for (const QChar c : teclas) {
        const int mantida = MascaraHora(caixa, c.unicode());
        if (mantida == 8)
            caixa.backspace();
        else if (mantida)
            caixa.insert(QString(QChar(char16_t(mantida))));
    }
    return caixa.text();
}

} // namespace

TEST(Entrada, MascaraDeHora)
{
    EXPECT_EQ(digitar(QStringLiteral("0830")), QStringLiteral("08:30"));
    EXPECT_EQ(digitar(QStringLiteral("930")), QStringLiteral("93:0"));
    EXPECT_EQ(digitar(QStringLiteral("0930")), QStringLiteral("09:30"));
    EXPECT_EQ(digitar(QStringLiteral("a0b9c3d0")), QStringLiteral("09:30"));  // letters never pass
    EXPECT_EQ(digitar(QStringLiteral("09:3")), QStringLiteral("09:3"));       // at length 3 only digits
    EXPECT_EQ(digitar(QStringLiteral("0\b1")), QStringLiteral("1"));           // backspace passes

    QLineEdit marcada;
    marcada.setText(QStringLiteral("12:00"));
    marcada.selectAll();
    EXPECT_EQ(MascaraHora(marcada, 'x'), 'x');  // typing over a selection
}

TEST(Entrada, FiltrosDeTelefoneEData)
{
    for (int t : {int('('), int(')'), int('5'), int('-'), int('.'), 8})
        EXPECT_EQ(FiltrarTelefone(t), t) << t;
    for (int t : {'a', ' ', '/', '\''})
        EXPECT_EQ(FiltrarTelefone(t), 0) << t;
    EXPECT_EQ(FiltrarData('/'), '/');
    EXPECT_EQ(FiltrarData('('), 0);
    EXPECT_EQ(FiltrarData('1'), '1');
}
