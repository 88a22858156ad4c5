// The dialect the planner's statements are written in, as SQLite is made to read it.

#include "apoio.h"
#include "core/modDb.h"

#include <gtest/gtest.h>

using motor_sql::TraduzirDialeto;

TEST(Dialeto, TraducaoMexeSoForaDosLiterais)
{
    const struct {
        const char *sql, *esperado;
    } casos[] = {
        {"Select * from Compromissos Where Hora <> Null ", "Select * from Compromissos Where Hora IS NOT NULL "},
        {"Where Hora<>null and HoraFim <>   NULL", "Where Hora IS NOT NULL and HoraFim IS NOT NULL"},
        {"Select '<> Null' as t", "Select '<> Null' as t"},
        {"Select 'it''s <> Null, Left(' as t Where a <> Null", "Select 'it''s <> Null, Left(' as t Where a IS NOT NULL"},
        {"and ucase(Left(Nome,1)) = 'X'", "and ucase(jet_left(Nome,1)) = 'X'"},
        {"Asc(LEFT (Nome,1))", "Asc(jet_left(Nome,1))"},
        {"Where x <> Nullo", "Where x <> Nullo"},
        {"Where Cleft(x) = 1", "Where Cleft(x) = 1"},
        {"Select 'sem fim", "Select 'sem fim"},
        {"Select \"a <> Null\" as t", "Select \"a <> Null\" as t"},
        {"Select \"it's\" as t Where a <> Null", "Select \"it's\" as t Where a IS NOT NULL"},
        {"Select \"x\"\"<> Null\" Where b <> Null", "Select \"x\"\"<> Null\" Where b IS NOT NULL"},
    };
    for (const auto &c : casos)
        EXPECT_EQ(TraduzirDialeto(QString::fromUtf8(c.sql)).toStdString(), c.esperado) << c.sql;
}

TEST(Dialeto, TraducaoParaPostgres)
{
    const struct {
        const char *sql, *esperado;
    } casos[] = {
        {"Select * from T Where Data = Cdate('2/3/2026') and Hora <> Null",
         "Select * from T Where Data = '2026-03-02' and Hora IS NOT NULL"},
        {"Where d = cdate(cdate('29/02/2024')) and h = cdate( '9:05' )", "Where d = '2024-02-29' and h = '09:05:00'"},
        {"Select 'cdate(''1/1/2000'')' as t", "Select 'cdate(''1/1/2000'')' as t"},
        {"and Asc(ucase(Left(Nome,1))) = 65 Order By Nome", "and jet_asc(ucase(Left(Nome,1))) = 65 Order By Nome NULLS FIRST"},
        {"Where Nome like '%a\\%%' escape '\\'", "Where Nome ILIKE '%a\\%%' COLLATE \"und-x-icu\" escape '\\'"},
        {"Where Notas like '%x%' and n = 1", "Where Notas ILIKE '%x%' COLLATE \"und-x-icu\" ESCAPE '' and n = 1"},
        {"Where Nome like 'a%'", "Where Nome ILIKE 'a%' COLLATE \"und-x-icu\" ESCAPE ''"},
        {"Select 'like' as t Order By Data, Hora desc,Chave", "Select 'like' as t Order By Data NULLS FIRST, Hora desc NULLS LAST, Chave NULLS FIRST"},
        {"Select (Select x from T Order By y) as z", "Select (Select x from T Order By y) as z"},
    };
    for (const auto &c : casos)
        EXPECT_EQ(motor_sql::TraduzirDialetoPostgres(QString::fromUtf8(c.sql)).toStdString(), c.esperado) << c.sql;
    EXPECT_THROW(motor_sql::TraduzirDialetoPostgres(QStringLiteral("Select cdate('31/02/2026')")), ErroBanco);
}

TEST(Dialeto, FuncoesDaBase)
{
    BaseDeTeste base;
    const struct {
        const char *expressao, *esperado;
    } casos[] = {
        {"cdate('08/12/2026')", "2026-12-08"},
        {"cdate('2/3/2026')", "2026-03-02"},  // day first
        {"cdate('1/1/1900')", "1900-01-01"},
        {"cdate('9:05')", "09:05:00"},
        {"cdate('23:59:30')", "23:59:30"},
        {"cdate(' 9:5 ')", "09:05:00"},
        {"cdate('1/1/0001')", "0001-01-01"},
        {"cdate(cdate('29/02/2024'))", "2024-02-29"},
        {"day(cdate('08/12/2026'))", "8"},
        {"Month(cdate('08/12/2026'))", "12"},
        {"Year(cdate('08/12/2026'))", "2026"},
        {"ucase('ação é útil, ñ')", "AÇÃO É ÚTIL, Ñ"},
        {"Left('Maria',1)", "M"},
        {"Left('Maria',0)", ""},
        {"ucase(Left('élen',1))", "É"},
        {"Asc('É')", "201"},
        {"Asc(ucase(Left('ana',1)))", "65"},
        {"Asc('€')", "128"},
        {"'JOÃO DA SILVA' like '%joão%'", "1"},
        {"'Ünïcode' like 'ü%'", "1"},
        {"'abc' like 'a_c'", "1"},
        {"'abc' like 'a_'", "0"},
        {"'50% off' like '%\\%%' escape '\\'", "1"},
        {"'5 off' like '%\\%%' escape '\\'", "0"},
        {"'a😀b' like 'a_b'", "1"},  // one character outside the BMP is one "_"
        {"'𠀀' like '_'", "1"},
        {"'a😀b' like 'a__b'", "0"},
        {"'50%' like '50X%' escape 'X'", "1"},  // an escape letter is folded like the pattern
        {"'50x' like '50X%' escape 'X'", "0"},
        {"'aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa' like '%a%a%a%a%a%a%a%a%a%a%a%a%a%a%b'", "0"},
        {"'xaxbxc' like '%a%b%c'", "1"},
    };
    for (const auto &c : casos) {
        RecordSet rs = Consultar(QStringLiteral("Select ") + QString::fromUtf8(c.expressao) + QStringLiteral(" as v"));
        EXPECT_EQ(rs(QStringLiteral("v")).Texto().toStdString(), c.esperado) << c.expressao;
    }
}

TEST(Dialeto, DatasEHorasInvalidasSaoErros)
{
    BaseDeTeste base;
    for (const char *texto : {"31/02/2026", "25:00", "12:60", "abc", "2026/12/08", "", "2024-02-29 99:99:99", "2024-02-29 24:00:00",
                             "1/2", "123:00", "9:05:07:01", "1/1/20260", "1:2/3", "1/1/0000"})
        EXPECT_THROW(Consultar(QStringLiteral("Select cdate('%1') as v").arg(QString::fromUtf8(texto))), ErroBanco) << texto;
}

TEST(Dialeto, DiferenteDeNuloSelecionaValoresPresentes)
{
    BaseDeTeste base;
    Executar(QStringLiteral("Insert into Compromissos (Usuario,Data,Hora,Compromisso,ChavePai,Status,Compartilhado) "
                            "values (1,cdate('08/12/2026'),cdate('09:00'),'com hora',0,'0','N')"));
    Executar(QStringLiteral("Insert into Compromissos (Usuario,Data,Hora,Compromisso,ChavePai,Status,Compartilhado) "
                            "values (1,cdate('08/12/2026'),NULL,'Aniversário de Ana',0,'2','N')"));
    RecordSet comHora = Consultar(QStringLiteral("Select * from Compromissos Where Usuario = 1 and Data = Cdate('08/12/2026') and Hora <> Null "));
    ASSERT_EQ(comHora.RecordCount(), 1);
    EXPECT_EQ(comHora(QStringLiteral("Compromisso")).Texto(), QStringLiteral("com hora"));
    EXPECT_EQ(comHora(QStringLiteral("Hora")).Hora(), QTime(9, 0));
    EXPECT_EQ(comHora(QStringLiteral("Data")).Data(), QDate(2026, 12, 8));
    EXPECT_EQ(Consultar(QStringLiteral("Select * from Compromissos Where Hora is Null")).RecordCount(), 1);
}
