#include "accessories/painel_calculadora.h"

#include "accessories/modCalculadora.h"
#include "core/modDb.h"
#include "core/sessao.h"
#include "platform/localidade.h"
#include "resources/recursos.h"

#include <algorithm>
#include <utility>

using modCalculadora::Calculadora;

namespace {

Calculadora calculadora()
{
    return Calculadora(Sessao.Calculadora, localidade::Atual(), Sessao.SeparadorDecimal);
}

// The keys' grid: six columns of 46 pixels and four rows of 28 under the display.
constexpr int LarguraTecla = 46, AlturaTecla = 28, Passo = 51, PassoLinha = 32, TopoTeclas = 34;

} // namespace

PainelCalculadora::PainelCalculadora(QWidget *parent, Navegacao &nav, tk::BotaoFigura &botao)
    : tk::Moldura(parent), nav(nav), botao(botao)
{
    lblMemoria = new tk::Rotulo(this, QStringLiteral("M"));
    QFont negrito = lblMemoria->font();
    negrito.setPixelSize(15);
    negrito.setBold(true);
    lblMemoria->setFont(negrito);
    lblMemoria->setStyleSheet(QStringLiteral("color: rgb(232, 145, 58)"));
    lblMemoria->setAlignment(Qt::AlignCenter);
    lblMemoria->setGeometry(0, 2, 22, 26);
    lblMemoria->hide();

    txtCalculadora = new tk::CaixaTexto(this, modCalculadora::TamanhoDisplay);
    txtCalculadora->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont display = txtCalculadora->font();
    display.setPixelSize(17);
    display.setBold(true);
    txtCalculadora->setFont(display);
    txtCalculadora->setGeometry(24, 2, Passo * 5 + LarguraTecla - 24, 26);
    txtCalculadora->KeyPress = [this](int tecla) { return frmAgenda_txtCalculadora_KeyPress(tecla); };
    // The error text is longer than what can be typed; once it is gone, typing is held to the
    // display's length again.
    // (Setting the length puts the caret at the end, so only when it changes.)
    txtCalculadora->Change = [this] {
        if (txtCalculadora->maxLength() != modCalculadora::TamanhoDisplay &&
            txtCalculadora->text().size() <= modCalculadora::TamanhoDisplay)
            txtCalculadora->setMaxLength(modCalculadora::TamanhoDisplay);
    };

    const struct {
        tk::Imagem **img;
        const char *figura;
        int coluna, linha;
        std::function<void()> clique;
    } teclas[] = {
        {&imgMC, "tecla_mc", 0, 0, [this] { frmAgenda_imgMC_Click(); }},
        {&imgMR, "tecla_mr", 0, 1, [this] { frmAgenda_imgMR_Click(); }},
        {&imgMmais, "tecla_mmais", 0, 2, [this] { frmAgenda_imgMmais_Click(); }},
        {&imgMmenos, "tecla_mmenos", 0, 3, [this] { frmAgenda_imgMmenos_Click(); }},
        {&imgSete, "tecla_7", 1, 0, [this] { frmAgenda_imgDigito_Click('7'); }},
        {&imgOito, "tecla_8", 2, 0, [this] { frmAgenda_imgDigito_Click('8'); }},
        {&imgNove, "tecla_9", 3, 0, [this] { frmAgenda_imgDigito_Click('9'); }},
        {&imgQuatro, "tecla_4", 1, 1, [this] { frmAgenda_imgDigito_Click('4'); }},
        {&imgCinco, "tecla_5", 2, 1, [this] { frmAgenda_imgDigito_Click('5'); }},
        {&imgSeis, "tecla_6", 3, 1, [this] { frmAgenda_imgDigito_Click('6'); }},
        {&imgHum, "tecla_1", 1, 2, [this] { frmAgenda_imgDigito_Click('1'); }},
        {&imgDois, "tecla_2", 2, 2, [this] { frmAgenda_imgDigito_Click('2'); }},
        {&imgTres, "tecla_3", 3, 2, [this] { frmAgenda_imgDigito_Click('3'); }},
        {&imgZero, "tecla_0", 1, 3, [this] { frmAgenda_imgDigito_Click('0'); }},  // two columns wide
        {&imgPonto, "tecla_ponto", 3, 3, [this] { frmAgenda_imgDigito_Click('.'); }},
        {&imgDivisao, "tecla_dividir", 4, 0, [this] { frmAgenda_imgDivisao_Click(); }},
        {&imgMultiplicacao, "tecla_multiplicar", 4, 1, [this] { frmAgenda_imgMultiplicacao_Click(); }},
        {&imgSubtrair, "tecla_subtrair", 4, 2, [this] { frmAgenda_imgSubtrair_Click(); }},
        {&imgSomar, "tecla_somar", 4, 3, [this] { frmAgenda_imgSomar_Click(); }},
        {&imgC, "tecla_c", 5, 0, [this] { frmAgenda_imgC_Click(); }},
        {&imgCe, "tecla_ce", 5, 1, [this] { frmAgenda_imgCe_Click(); }},
        {&imgPercentual, "tecla_percentual", 5, 2, [this] { frmAgenda_imgPercentual_Click(); }},
        {&imgIgual, "tecla_igual", 5, 3, [this] { frmAgenda_imgIgual_Click(); }},
    };
    for (const auto &t : teclas) {
        *t.img = new tk::Imagem(this, recursos::Figura(QString::fromLatin1(t.figura)));
        (*t.img)->move(t.coluna * Passo, TopoTeclas + t.linha * PassoLinha);
        (*t.img)->setCursor(Qt::PointingHandCursor);
        (*t.img)->Click = t.clique;
    }
    resize(Passo * 5 + LarguraTecla, TopoTeclas + 3 * PassoLinha + AlturaTecla);
}

void PainelCalculadora::exibir(const std::optional<QString> &texto)
{
    if (texto) {
        // The error text is one character longer than the display holds: it is shown whole.
        txtCalculadora->setMaxLength(std::max<int>(modCalculadora::TamanhoDisplay, texto->size()));
        txtCalculadora->setText(*texto);
    }
    txtCalculadora->setFocus();
}

int PainelCalculadora::frmAgenda_txtCalculadora_KeyPress(int tecla)
{
    const bool deBotao = std::exchange(TeclaDeBotao, false);
    if (tecla >= '0' && tecla <= '9' && calculadora().NovoNumero())
        txtCalculadora->clear();
    switch (tecla) {
    case 8:
        frmAgenda_imgCe_Click();
        return 0;
    case 13:
        frmAgenda_imgIgual_Click();
        return 0;
    case 27:
        frmAgenda_imgC_Click();
        return 0;
    case '%':
        frmAgenda_imgPercentual_Click();
        return 0;
    case '*':
        frmAgenda_imgMultiplicacao_Click();
        return 0;
    case '+':
        frmAgenda_imgSomar_Click();
        return 0;
    case '-':
        frmAgenda_imgSubtrair_Click();
        return 0;
    case '/':
        frmAgenda_imgDivisao_Click();
        return 0;
    default:
        break;
    }
    const int mantida = FiltrarTecla(tecla, true);
    if (!deBotao)
        return mantida;  // the text box inserts it at the caret
    if (mantida != 0)
        txtCalculadora->setText(txtCalculadora->text() + QChar(char16_t(mantida)));
    return 0;
}

void PainelCalculadora::frmAgenda_imgDigito_Click(int codigo)
{
    TeclaDeBotao = true;
    frmAgenda_txtCalculadora_KeyPress(codigo);
}

void PainelCalculadora::operacao(QChar codigo)
{
    exibir(calculadora().Operacao(codigo, txtCalculadora->text()));
}

void PainelCalculadora::frmAgenda_imgSomar_Click() { operacao(u'A'); }
void PainelCalculadora::frmAgenda_imgSubtrair_Click() { operacao(u'S'); }
void PainelCalculadora::frmAgenda_imgMultiplicacao_Click() { operacao(u'M'); }
void PainelCalculadora::frmAgenda_imgDivisao_Click() { operacao(u'D'); }

void PainelCalculadora::frmAgenda_imgIgual_Click()
{
    exibir(calculadora().Igual(txtCalculadora->text()));
}

void PainelCalculadora::frmAgenda_imgPercentual_Click()
{
    exibir(calculadora().Percentual(txtCalculadora->text()));
}

void PainelCalculadora::frmAgenda_imgC_Click()
{
    exibir(calculadora().LimparTudo());
}

void PainelCalculadora::frmAgenda_imgCe_Click()
{
    exibir(QString());
}

void PainelCalculadora::frmAgenda_imgMC_Click()
{
    calculadora().LimparMemoria();
    lblMemoria->hide();
    exibir(std::nullopt);
}

void PainelCalculadora::frmAgenda_imgMR_Click()
{
    exibir(calculadora().LerMemoria());
}

void PainelCalculadora::memoria(int sinal)
{
    Calculadora c = calculadora();
    const std::optional<QString> texto = c.SomarNaMemoria(txtCalculadora->text(), sinal);
    if (texto)
        lblMemoria->setVisible(c.MemoriaAcesa());
    exibir(texto);
}

void PainelCalculadora::frmAgenda_imgMmais_Click() { memoria(1); }
void PainelCalculadora::frmAgenda_imgMmenos_Click() { memoria(-1); }

void PainelCalculadora::frmAgenda_cmdCalculadora_Click()
{
    nav.RetirarFoco();
    if (Sessao.NovoUsuario) {
        nav.AvisarCadastroPendente();
        return;
    }
    if (!isHidden()) {
        hide();
        botao.setToolTip(QStringLiteral("Esconder Calculadora"));
    } else {
        botao.setToolTip(QStringLiteral("Exibir Calculadora"));
        show();
        txtCalculadora->setFocus();
    }
}

void PainelCalculadora::Abrir()
{
    txtCalculadora->clear();
    lblMemoria->hide();
    show();
    botao.setToolTip(QStringLiteral("Exibir Calculadora"));
}
