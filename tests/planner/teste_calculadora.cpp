// The calculator: the adding machine's rules, the display's reading and writing, and the frame
// on the main window driven by the keyboard and by its key pictures, under a comma and a point
// locale.

#include "accessories/modCalculadora.h"
#include "accessories/painel_calculadora.h"
#include "apoio.h"
#include "core/frmAgenda.h"
#include "core/sessao.h"
#include "platform/bandeja.h"
#include "platform/localidade.h"
#include "platform/modal.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <limits>

using modCalculadora::Erro;

namespace {

const QLocale virgula(QLocale::Portuguese, QLocale::Brazil), ponto(QLocale::English, QLocale::UnitedStates);

// The text as the locale shows it: written for the comma locale.
QString sob(const QLocale &l, const char *comVirgula)
{
    QString t = QString::fromUtf8(comVirgula);
    return l == ponto && t != Erro ? t.replace(u',', u'.') : t;
}

struct Calculadora : ::testing::Test {
    BaseDeTeste base;
    void SetUp() override
    {
        bandeja::DefinirDisponivel(true);
        base.InserirUsuario(QStringLiteral("ANA"), std::nullopt);
    }
    void TearDown() override { EXPECT_EQ(modal::RoteirosPendentes(), 0); }

    // Signs on (again) under the locale: the main window's load reads its decimal separator.
    PainelCalculadora &entrarSob(const QLocale &l)
    {
        localidade::Definir(l);
        if (frmAgenda().isVisible())
            frmAgenda().frmAgenda_cmdLogout_Click();
        Entrar(QStringLiteral("ANA"));
        return *frmAgenda().frmCalc;
    }
    // Keys as written in the tables: digits, ".", "+-*/%=", C clear all, E clear entry, and the
    // memory keys m (MC), r (MR), p (M+), n (M-).
    static tk::Imagem *figura(PainelCalculadora &c, QChar t)
    {
        tk::Imagem *const digitos[] = {c.imgZero, c.imgHum,  c.imgDois, c.imgTres, c.imgQuatro,
                                       c.imgCinco, c.imgSeis, c.imgSete, c.imgOito, c.imgNove};
        if (t.isDigit())
            return digitos[t.digitValue()];
        switch (t.unicode()) {
        case u'.': return c.imgPonto;
        case u'+': return c.imgSomar;
        case u'-': return c.imgSubtrair;
        case u'*': return c.imgMultiplicacao;
        case u'/': return c.imgDivisao;
        case u'=': return c.imgIgual;
        case u'%': return c.imgPercentual;
        case u'C': return c.imgC;
        case u'E': return c.imgCe;
        case u'm': return c.imgMC;
        case u'r': return c.imgMR;
        case u'p': return c.imgMmais;
        default: return c.imgMmenos;
        }
    }
    // Clicks the pictures, or types what the keyboard has (the memory keys are always clicked).
    static void teclar(PainelCalculadora &c, const char *teclas, bool digitando)
    {
        for (const QChar t : QString::fromLatin1(teclas)) {
            if (!digitando || QStringLiteral("mrpn").contains(t))
                QTest::mouseClick(figura(c, t), Qt::LeftButton);
            else if (t == u'=')
                QTest::keyClick(c.txtCalculadora, Qt::Key_Return);
            else if (t == u'C')
                QTest::keyClick(c.txtCalculadora, Qt::Key_Escape);
            else if (t == u'E')
                QTest::keyClick(c.txtCalculadora, Qt::Key_Backspace);
            else
                Digitar(c.txtCalculadora, QString(t));
        }
    }
};

} // namespace

TEST_F(Calculadora, ExemplosDigitadosEClicadosSobVirgulaEPonto)
{
    const struct {
        const char *teclas;
        const char *display;  // under the comma locale
        bool memoria = false;  // "M" lit
    } casos[] = {
        {"12+30=", "42,00"},
        {"12+30==", "72,00"},  // equals again repeats + 30
        {"5-5=", "0,00"},
        {"5-5=3-1=", "2,00"},  // a zero result is no result: 3 is the first operand
        {"5=", "0,00"},        // nothing pending and no result yet
        {"200+10%", "220,00"},
        {"200-10%", "180,00"},
        {"200*10%", "20,00"},
        {"200/10%", "2000,00"},
        {"10/0=", ". . . Erro . . ."},
        {"10/0%", ". . . Erro . . ."},
        {"7nC10/r=", ". . . Erro . . .", true},  // a divisor below zero recalled from memory
        {"10/0/", ". . . Erro . . ."},
        {"10/0/E5=", "2,00"},  // the refused division left 10 ÷ pending
        {"8/2=", "4,00"},
        {"8/2/", "4,00"},      // the key divides the result by the number just typed
        {"8/2/2=", "2,00"},
        {"7p", "7,00", true},
        {"7pn", "0,00"},       // M- of the same 7: back to 0, the light goes out
        {"7prC5r", "7,00", true},
        {"7pm", "7,00"},
        {"2+3=4+", "9,00"},    // after equals a digit starts a new number, the result stays
        {"600+600=+1=", "1201,00"},
        {"5%", ". . . Erro . . ."},  // percent without an operation
        {"5++3=", "8,00"},     // a second operation key changes nothing
        {"1.5+1.25=", "2,75"}, // the point key types "." whatever the locale
        {"1..5+", "1..5"},     // not a number: the operation key ignores it
        {"12+3E5=", "17,00"},  // clear entry drops only the 3
        {"12+34C5=", "0,00"},  // clear all forgets the 12 and the addition
        {"999999999999+1=", ". . . Erro . . ."},  // 1000000000000,00 does not fit
        {"999999999999+1==", ". . . Erro . . ."},
        {"999999999999+1=E0=", "999999999999,00"},  // the refused result left the register
        {"999999999999999+", ". . . Erro . . ."},
    };
    for (const QLocale &l : {virgula, ponto}) {
        PainelCalculadora &c = entrarSob(l);
        for (const bool digitando : {true, false})
            for (const auto &caso : casos) {
                teclar(c, "Cm", false);
                teclar(c, caso.teclas, digitando);
                const std::string onde = caso.teclas + std::string(digitando ? " digitado " : " clicado ") + l.name().toStdString();
                EXPECT_EQ(c.txtCalculadora->text(), sob(l, caso.display)) << onde;
                EXPECT_EQ(c.lblMemoria->isVisibleTo(&c), caso.memoria) << onde;
            }
    }
}

TEST_F(Calculadora, DisplayLeEEscreveNumerosSemAgrupar)
{
    RegistrosCalculadora r;
    const double nada = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char *texto;
        double comVirgula, comPonto;  // NaN: not a number
    } leituras[] = {
        {"1201,00", 1201, nada}, {"1201.00", 1201, 1201}, {"1.5", 1.5, 1.5},   {"-7,00", -7, nada},
        {"1.234.5", nada, nada}, {"1,234", 1.234, nada},  {"", nada, nada},    {". . . Erro . . .", nada, nada},
        {"inf", nada, nada},     {"nan", nada, nada},     {"12a", nada, nada},
    };
    for (const auto &[locale, separador] : {std::pair{virgula, QChar(u',')}, std::pair{ponto, QChar(u'.')}}) {
        modCalculadora::Calculadora c(r, locale, separador);
        for (const auto &t : leituras) {
            const double esperado = locale == virgula ? t.comVirgula : t.comPonto;
            const std::optional<double> lido = c.Ler(QString::fromLatin1(t.texto));
            EXPECT_EQ(lido.has_value(), !std::isnan(esperado)) << t.texto << " " << locale.name().toStdString();
            if (lido && !std::isnan(esperado)) {
                EXPECT_DOUBLE_EQ(*lido, esperado) << t.texto;
            }
        }
        const struct {
            double valor;
            const char *texto;  // under the comma locale; "" when it does not fit
        } escritas[] = {
            {1234567.891, "1234567,89"}, {-0.001, "0,00"},  {999999999999.99, "999999999999,99"},
            {1e12, ""},                  {-99999999999.99, "-99999999999,99"}, {-1e11, ""},
            {std::numeric_limits<double>::infinity(), ""}, {nada, ""},
        };
        for (const auto &e : escritas) {
            const std::optional<QString> texto = c.Formatar(e.valor);
            EXPECT_EQ(texto.value_or(QString()), sob(locale, e.texto)) << e.valor;
            if (texto) {
                EXPECT_EQ(c.Ler(*texto), std::round(e.valor * 100) / 100 + 0.0) << e.valor;
            }
        }
    }
}

// Results past what the number type holds are refused like those past the display.
TEST_F(Calculadora, ResultadoForaDoTipoNumericoMostraErro)
{
    RegistrosCalculadora r{.Acumulador = 1e300, .ValorDigitado = 1e300, .OperacaoPendente = QStringLiteral("M"),
                           .EstadoEntrada = QStringLiteral("S"), .Memoria = 0};
    modCalculadora::Calculadora c(r, virgula, u',');
    EXPECT_EQ(c.Igual(QStringLiteral("5,00")), Erro);
    EXPECT_EQ(c.Igual(QStringLiteral("5,00")), Erro);
    EXPECT_EQ(r.Acumulador, 1e300);
    r.EstadoEntrada.clear();
    EXPECT_EQ(c.Operacao(u'M', QStringLiteral("1e300")), Erro);
    EXPECT_EQ(r.Acumulador, 1e300);
    EXPECT_TRUE(r.EstadoEntrada.isEmpty());
    EXPECT_EQ(c.Percentual(QStringLiteral("1e300")), Erro);
    EXPECT_EQ(c.SomarNaMemoria(QStringLiteral("1e300"), 1), Erro);
    EXPECT_EQ(r.Memoria, 0);
}

TEST_F(Calculadora, TecladoInsereNoCursorBotoesAcrescentam)
{
    PainelCalculadora &c = entrarSob(virgula);
    Digitar(c.txtCalculadora, QStringLiteral("123"));
    QTest::keyClick(c.txtCalculadora, Qt::Key_Left);
    QTest::keyClick(c.txtCalculadora, Qt::Key_Left);
    Digitar(c.txtCalculadora, QStringLiteral("9"));
    EXPECT_EQ(c.txtCalculadora->text(), QStringLiteral("1923"));
    // Delete as X11 sends it, with the DEL character as its text.
    QKeyEvent apagar(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QString(QChar(0x7f)));
    QApplication::sendEvent(c.txtCalculadora, &apagar);
    EXPECT_EQ(c.txtCalculadora->text(), QStringLiteral("193"));
    QTest::mouseClick(c.imgOito, Qt::LeftButton);
    EXPECT_EQ(c.txtCalculadora->text(), QStringLiteral("1938"));
    // Letters, spaces and the locale's own separator are not typed.
    Digitar(c.txtCalculadora, QStringLiteral("a ,"));
    EXPECT_EQ(c.txtCalculadora->text(), QStringLiteral("1938"));

    // Typed or clicked, the display takes 15 characters.
    Digitar(c.txtCalculadora, QStringLiteral("1234567890123"));
    EXPECT_EQ(c.txtCalculadora->text(), QStringLiteral("193812345678901"));
    teclar(c, "E1234567890123456", false);
    EXPECT_EQ(c.txtCalculadora->text(), QStringLiteral("123456789012345"));
    // The error is shown whole, and what follows it is held to 15 again.
    teclar(c, "C5/0=", true);
    EXPECT_EQ(c.txtCalculadora->text(), Erro);
    Digitar(c.txtCalculadora, QStringLiteral("1234567890123456"));
    EXPECT_EQ(c.txtCalculadora->text(), QStringLiteral("123456789012345"));

    // The key pictures never take the focus from the display.
    c.txtCalculadora->setFocus();
    for (const QChar t : QStringLiteral("0123456789.+-*/=%CEmrpn")) {
        EXPECT_EQ(figura(c, t)->focusPolicy(), Qt::NoFocus) << t.toLatin1();
        QTest::mouseClick(figura(c, t), Qt::LeftButton);
        EXPECT_EQ(frmAgenda().focusWidget(), c.txtCalculadora) << t.toLatin1();
    }
}

TEST_F(Calculadora, BotaoExibeEEscondeESessaoNovaComecaLimpa)
{
    PainelCalculadora &c = entrarSob(virgula);
    FrmAgenda &f = frmAgenda();
    EXPECT_TRUE(c.isVisibleTo(&f));
    EXPECT_EQ(f.cmdCalculadora->toolTip(), QStringLiteral("Exibir Calculadora"));
    f.cmdCalculadora->click();
    EXPECT_FALSE(c.isVisibleTo(&f));
    EXPECT_EQ(f.cmdCalculadora->toolTip(), QStringLiteral("Esconder Calculadora"));
    f.cmdCalculadora->click();
    EXPECT_TRUE(c.isVisibleTo(&f));
    EXPECT_EQ(f.cmdCalculadora->toolTip(), QStringLiteral("Exibir Calculadora"));
    EXPECT_EQ(f.focusWidget(), c.txtCalculadora);

    // The registers belong to the session: logging out clears them; the next sign-on opens a
    // clean calculator, shown.
    teclar(c, "7p12+3", false);
    f.cmdCalculadora->click();
    f.frmAgenda_cmdLogout_Click();
    const RegistrosCalculadora &r = Sessao.Calculadora;
    EXPECT_EQ(r.Acumulador, 0);
    EXPECT_EQ(r.ValorDigitado, 0);
    EXPECT_EQ(r.Memoria, 0);
    EXPECT_TRUE(r.OperacaoPendente.isEmpty());
    EXPECT_TRUE(r.EstadoEntrada.isEmpty());
    Entrar(QStringLiteral("ANA"));
    EXPECT_TRUE(c.isVisibleTo(&f));
    EXPECT_TRUE(c.txtCalculadora->text().isEmpty());
    EXPECT_FALSE(c.lblMemoria->isVisibleTo(&c));

    // A new account must save its profile first.
    Sessao.NovoUsuario = true;
    auto aviso = ResponderMensagem();
    f.cmdCalculadora->click();
    EXPECT_TRUE(aviso->texto.startsWith(QStringLiteral("Informe os seus Dados Cadastrais")));
    EXPECT_TRUE(c.isVisibleTo(&f));
    Sessao.NovoUsuario = false;
}
