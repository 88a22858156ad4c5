// The desk accessories' pictures: the calculator's keys, its show/hide button and the analog
// clock's centre.

#include "desenho_base.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace desenho {

namespace {

// Rounded key faces: cream digits, blue operations, orange equals, red clearing keys and dark
// memory keys.
enum class Estilo { Digito, Operacao, Igual, Limpar, Memoria };

QImage tecla(int largura, int altura, Estilo estilo, const QString &rotulo)
{
    QColor topo, base, texto = Qt::white;
    int pixels = 16;
    switch (estilo) {
    case Estilo::Digito:
        topo = Qt::white;
        base = cremeEscuro;
        texto = azulEscuro;
        break;
    case Estilo::Operacao:
        topo = azulClaro;
        base = azul;
        pixels = 18;
        break;
    case Estilo::Igual:
        topo = laranja.lighter(125);
        base = laranja.darker(110);
        pixels = 18;
        break;
    case Estilo::Limpar:
        topo = vermelho.lighter(140);
        base = vermelho;
        pixels = 13;
        break;
    case Estilo::Memoria:
        topo = azul;
        base = azulEscuro;
        texto = creme;
        pixels = 11;
        break;
    }
    QImage i = transparente(largura, altura);
    QPainter p(&i);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient face(0, 0, 0, altura);
    face.setColorAt(0, topo);
    face.setColorAt(1, base);
    p.setPen(QPen(azulEscuro.darker(150), 1));
    p.setBrush(face);
    p.drawRoundedRect(QRectF(0.5, 0.5, largura - 1, altura - 1), 5, 5);
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.drawLine(QPointF(5, 1.5), QPointF(largura - 5, 1.5));
    if (!rotulo.isEmpty()) {
        p.setPen(texto);
        p.setFont(fonte(pixels));
        p.drawText(QRectF(0, 0, largura, altura - 1), Qt::AlignCenter, rotulo);
    }
    return i;
}

// The button that shows and hides the calculator: a small calculator on a blue key.
QImage botaoCalculadora()
{
    QImage i = tecla(24, 24, Estilo::Operacao, QString());
    QPainter p(&i);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(azulEscuro, 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(6.5, 3.5, 11, 17), 1.5, 1.5);
    p.setBrush(azulEscuro);
    p.drawRect(QRectF(8.5, 5.5, 7, 3));
    p.setPen(Qt::NoPen);
    for (int linha = 0; linha < 3; ++linha)
        for (int coluna = 0; coluna < 3; ++coluna) {
            p.setBrush(coluna == 2 && linha == 2 ? laranja : azulEscuro);
            p.drawRect(QRectF(8.5 + coluna * 2.6, 10.5 + linha * 3, 1.8, 1.8));
        }
    return i;
}

// The knob at the middle of the clock, on a transparent square the size of its place there.
QImage centroDoRelogio()
{
    QImage i = transparente(33, 33);
    QPainter p(&i);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient brilho(QPointF(15, 15), 6);
    brilho.setColorAt(0, laranja.lighter(150));
    brilho.setColorAt(1, laranja.darker(120));
    p.setPen(QPen(azulEscuro.darker(160), 1));
    p.setBrush(brilho);
    p.drawEllipse(QPointF(16.5, 16.5), 4.5, 4.5);
    return i;
}

} // namespace

Figuras Acessorios()
{
    constexpr int l = 46, a = 28;
    Figuras figuras;
    for (char d = '1'; d <= '9'; ++d)
        figuras.emplace_back(QStringLiteral("tecla_") + QLatin1Char(d), tecla(l, a, Estilo::Digito, QString(QLatin1Char(d))));
    const struct {
        const char *nome;
        int largura, altura;
        Estilo estilo;
        const char *rotulo;
    } teclas[] = {
        {"tecla_0", 2 * l + 5, a, Estilo::Digito, "0"},
        {"tecla_ponto", l, a, Estilo::Digito, "."},
        {"tecla_somar", l, a, Estilo::Operacao, "+"},
        {"tecla_subtrair", l, a, Estilo::Operacao, "−"},
        {"tecla_multiplicar", l, a, Estilo::Operacao, "×"},
        {"tecla_dividir", l, a, Estilo::Operacao, "÷"},
        {"tecla_percentual", l, a, Estilo::Operacao, "%"},
        {"tecla_igual", l, a, Estilo::Igual, "="},
        {"tecla_c", l, a, Estilo::Limpar, "C"},
        {"tecla_ce", l, a, Estilo::Limpar, "CE"},
        {"tecla_mc", l, a, Estilo::Memoria, "MC"},
        {"tecla_mr", l, a, Estilo::Memoria, "MR"},
        {"tecla_mmais", l, a, Estilo::Memoria, "M+"},
        {"tecla_mmenos", l, a, Estilo::Memoria, "M−"},
    };
    for (const auto &t : teclas)
        figuras.emplace_back(QString::fromLatin1(t.nome), tecla(t.largura, t.altura, t.estilo, QString::fromUtf8(t.rotulo)));
    figuras.emplace_back(QStringLiteral("calculadora"), botaoCalculadora());
    figuras.emplace_back(QStringLiteral("relogio_centro"), centroDoRelogio());
    return figuras;
}

} // namespace desenho
