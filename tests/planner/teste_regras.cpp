// Small rules of the planner core: the keystroke filter and the password format.

#include "core/modDb.h"
#include "core/modSenha.h"

#include <gtest/gtest.h>

TEST(FiltrarTecla, ModoNumerosEModoTexto)
{
    const struct {
        int tecla;
        int numeros, texto;  // what each mode keeps
    } casos[] = {
        {'7', '7', '7'},   {'.', '.', '.'},   {'-', '-', '-'}, {'a', 0, 'a'},   {' ', 0, ' '},
        {'\'', 0, 0},      {13, 0, 0},        {9, 0, 0},       {8, 8, 8},       {3, 3, 3},
        {22, 22, 22},      {24, 0, 0},        {29, 0, 0},      {30, 0, 30},     {0xE9, 0, 0xE9},
        {'"', 0, '"'},     {'%', 0, '%'},
    };
    for (const auto &c : casos) {
        EXPECT_EQ(FiltrarTecla(c.tecla, true), c.numeros) << c.tecla;
        EXPECT_EQ(FiltrarTecla(c.tecla, false), c.texto) << c.tecla;
    }
}

TEST(Senha, FormatoGuardado)
{
    const QString abc = CodificarSenha(QStringLiteral("abc"));
    ASSERT_EQ(abc.size(), 3);
    // The codes 194, 196, 198 of the Western code page.
    EXPECT_EQ(abc, QStringLiteral("\u00C2\u00C4\u00C6"));
    EXPECT_EQ(CodificarSenha(QStringLiteral("é")), QStringLiteral("\u0001é"));
    // "A" (65) is stored as code 130, which the code page spells U+201A.
    EXPECT_EQ(CodificarSenha(QStringLiteral("A")), QStringLiteral("\u201A"));
    EXPECT_EQ(CodificarSenha(QChar(127)), QStringLiteral("\u0001\u007F"));
    EXPECT_EQ(DecodificarSenha(QString()), QString());
    EXPECT_EQ(DecodificarSenha(QStringLiteral("\u00C2\u0001")), QStringLiteral("a"));  // a trailing code 1 adds nothing
}

TEST(Senha, IdaEVolta)
{
    for (const char *s : {"abc", "Senha'1", "ÇãoÉ", "€uro", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "~}|{ 0123456789", "日本"}) {
        const QString senha = QString::fromUtf8(s);
        EXPECT_EQ(DecodificarSenha(CodificarSenha(senha)), senha) << s;
    }
}
