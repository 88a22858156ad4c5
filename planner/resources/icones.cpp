// The small pictures: the day grid's status icons, the title bar's buttons and the panel tabs.

#include "desenho_base.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>

namespace desenho {

namespace {

// A transparent picture of the given size, drawn with antialiasing by `tracar`.
QImage icone(int lado, const std::function<void(QPainter &)> &tracar)
{
    QImage i = transparente(lado, lado);
    QPainter p(&i);
    p.setRenderHint(QPainter::Antialiasing);
    tracar(p);
    return i;
}

QPen contorno(const QColor &cor, double largura = 1)
{
    return QPen(cor, largura, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void sino(QPainter &p)
{
    QPainterPath corpo;
    corpo.moveTo(8, 2);
    corpo.cubicTo(4.8, 2, 4, 4.6, 4, 7.5);
    corpo.lineTo(3.6, 10);
    corpo.lineTo(1.8, 12.2);
    corpo.lineTo(14.2, 12.2);
    corpo.lineTo(12.4, 10);
    corpo.lineTo(12, 7.5);
    corpo.cubicTo(12, 4.6, 11.2, 2, 8, 2);
    QLinearGradient ouro(0, 2, 0, 12);
    ouro.setColorAt(0, QColor(0xff, 0xd8, 0x6a));
    ouro.setColorAt(1, laranja);
    p.setPen(contorno(laranja.darker(190)));
    p.setBrush(ouro);
    p.drawPath(corpo);
    p.drawEllipse(QPointF(8, 1.6), 1.1, 1.1);
    p.drawEllipse(QPointF(8, 13.6), 1.7, 1.7);
}

void visto(QPainter &p)
{
    QPainterPath marca;
    marca.moveTo(2.8, 8.6);
    marca.lineTo(6.3, 12.2);
    marca.lineTo(13.2, 3.6);
    p.setPen(contorno(verde.darker(160), 4.4));
    p.drawPath(marca);
    p.setPen(contorno(verde.lighter(125), 2.6));
    p.drawPath(marca);
}

void bolo(QPainter &p)
{
    const QColor rosa(0xf2, 0x9c, 0xb3);
    p.setPen(contorno(rosa.darker(200)));
    p.setBrush(rosa);
    p.drawRoundedRect(QRectF(2.5, 7.5, 11, 6.5), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(creme);
    p.drawRect(QRectF(3, 8, 10, 1.8));
    for (double x : {4.8, 8.0, 11.2})
        p.drawEllipse(QPointF(x, 10), 1.1, 1.1);
    p.setPen(contorno(azulEscuro));
    p.drawLine(QPointF(1, 14.5), QPointF(15, 14.5));
    p.setPen(Qt::NoPen);
    p.setBrush(azulClaro);
    p.drawRect(QRectF(7.3, 4, 1.4, 3.5));
    p.setBrush(laranja);
    p.drawEllipse(QPointF(8, 2.2), 1.2, 1.8);
    p.setBrush(QColor(0xff, 0xe0, 0x70));
    p.drawEllipse(QPointF(8, 2.7), 0.5, 0.9);
}

// The continuation of an appointment over further slots: an arrow bending down and onwards.
void continuacao(QPainter &p)
{
    QPainterPath seta;
    seta.moveTo(4, 1.5);
    seta.lineTo(4, 7.5);
    seta.quadTo(4, 10.5, 7, 10.5);
    seta.lineTo(11, 10.5);
    p.setPen(contorno(azul, 2.2));
    p.drawPath(seta);
    p.setPen(contorno(azul));
    p.setBrush(azul);
    p.drawPolygon(QPolygonF({{10, 6.5}, {14.8, 10.5}, {10, 14.5}}));
}

void cadeado(QPainter &p)
{
    p.setPen(contorno(QColor(0x5f, 0x6b, 0x77), 2));
    p.setBrush(Qt::NoBrush);
    QPainterPath argola;
    argola.moveTo(5, 8);
    argola.lineTo(5, 5);
    argola.arcTo(QRectF(5, 2, 6, 6), 180, -180);
    argola.lineTo(11, 8);
    p.drawPath(argola);
    QLinearGradient latao(0, 7, 0, 15);
    latao.setColorAt(0, QColor(0xff, 0xd8, 0x6a));
    latao.setColorAt(1, laranja.darker(115));
    p.setPen(contorno(laranja.darker(190)));
    p.setBrush(latao);
    p.drawRoundedRect(QRectF(2.5, 7.5, 11, 7.5), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(azulEscuro);
    p.drawEllipse(QPointF(8, 10.3), 1.3, 1.3);
    p.drawRect(QRectF(7.4, 10.5, 1.2, 2.6));
}

// Two people side by side: the appointment belongs to someone else who shares it.
void pessoas(QPainter &p)
{
    const auto pessoa = [&p](double x, double topo, double escala, const QColor &cor) {
        p.setPen(contorno(cor.darker(170)));
        p.setBrush(cor);
        QPainterPath corpo;
        corpo.moveTo(x - 4 * escala, 15.5);
        corpo.arcTo(QRectF(x - 4 * escala, topo + 6 * escala, 8 * escala, 8 * escala), 180, -180);
        corpo.lineTo(x + 4 * escala, 15.5);
        corpo.closeSubpath();
        p.drawPath(corpo);
        p.drawEllipse(QPointF(x, topo + 2.6 * escala), 2.4 * escala, 2.4 * escala);
    };
    pessoa(10.6, 0.5, 0.85, laranja);
    pessoa(6, 2.5, 1.0, azul);
}

// A title bar button: a rounded key, lighter than the bar, with a white glyph.
QImage botao(const std::function<void(QPainter &)> &glifo)
{
    return icone(24, [&glifo](QPainter &p) {
        QLinearGradient g(0, 0, 0, 24);
        g.setColorAt(0, azulClaro);
        g.setColorAt(1, azul);
        p.setPen(contorno(azulEscuro.darker(130)));
        p.setBrush(g);
        p.drawRoundedRect(QRectF(0.5, 0.5, 23, 23), 6, 6);
        p.setPen(contorno(QColor(255, 255, 255, 70)));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(5, 1.5), QPointF(19, 1.5));
        glifo(p);
    });
}

void impressora(QPainter &p)
{
    p.setPen(contorno(azulEscuro));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7.5, 3.5, 9, 6));
    p.setBrush(creme);
    p.drawRoundedRect(QRectF(3.5, 8.5, 17, 8), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7.5, 13.5, 9, 7));
    p.drawLine(QPointF(9.5, 16), QPointF(14.5, 16));
    p.drawLine(QPointF(9.5, 18), QPointF(13, 18));
    p.setPen(Qt::NoPen);
    p.setBrush(laranja);
    p.drawEllipse(QPointF(17.5, 11), 1, 1);
}

void engrenagem(QPainter &p)
{
    QPainterPath roda;
    constexpr int dentes = 8;
    for (int k = 0; k < dentes * 4; ++k) {
        // Each tooth: two points on the outer radius, two in the gap between teeth.
        const double raio = (k % 4 == 1 || k % 4 == 2) ? 9 : 6.6;
        const double angulo = (k - 0.5) * M_PI * 2 / (dentes * 4);
        const QPointF ponto(12 + raio * std::cos(angulo), 12 + raio * std::sin(angulo));
        k == 0 ? roda.moveTo(ponto) : roda.lineTo(ponto);
    }
    roda.closeSubpath();
    roda.addEllipse(QPointF(12, 12), 2.8, 2.8);
    p.setPen(contorno(azulEscuro));
    p.setBrush(Qt::white);
    p.drawPath(roda);
}

void interrogacao(QPainter &p)
{
    p.setPen(Qt::white);
    p.setFont(fonte(17));
    p.drawText(QRectF(0, 0, 24, 24), Qt::AlignCenter, QStringLiteral("?"));
}

void porta(QPainter &p)
{
    p.setPen(contorno(Qt::white, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({{12, 7}, {12, 4}, {4, 4}, {4, 20}, {12, 20}, {12, 17}}));
    p.setPen(contorno(QColor(0xff, 0xc0, 0x80), 2.2));
    p.drawLine(QPointF(8, 12), QPointF(19, 12));
    p.drawLine(QPointF(15.5, 8.5), QPointF(19, 12));
    p.drawLine(QPointF(15.5, 15.5), QPointF(19, 12));
}

// A diskette with an arrow: into it (the backup, sentido 1) or out of it (the restore, -1).
void disquete(QPainter &p, int sentido)
{
    p.setPen(contorno(azulEscuro));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{3.5, 9.5}, {14.5, 9.5}, {16.5, 11.5}, {16.5, 20.5}, {3.5, 20.5}}));
    p.setBrush(azulClaro);
    p.drawRect(QRectF(6.5, 9.5, 6, 3.5));
    p.setBrush(creme);
    p.drawRect(QRectF(6, 15.5, 8, 5));
    const double ponta = sentido > 0 ? 9 : 2.5, base = sentido > 0 ? 2.5 : 9;
    p.setPen(contorno(QColor(0xff, 0xc0, 0x80), 2.2));
    p.drawLine(QPointF(19, base), QPointF(19, ponta));
    p.drawLine(QPointF(16, ponta - 3 * sentido), QPointF(19, ponta));
    p.drawLine(QPointF(22, ponta - 3 * sentido), QPointF(19, ponta));
}

// Hide to the tray: an arrow down onto a bar.
void recolher(QPainter &p)
{
    p.setPen(contorno(Qt::white, 2.2));
    p.drawLine(QPointF(12, 4), QPointF(12, 14));
    p.drawLine(QPointF(7.5, 9.5), QPointF(12, 14));
    p.drawLine(QPointF(16.5, 9.5), QPointF(12, 14));
    p.drawLine(QPointF(5.5, 19), QPointF(18.5, 19));
}

void casa(QPainter &p, const QRectF &r)
{
    const double beiral = r.top() + r.height() * 0.45;
    p.setPen(contorno(azulEscuro));
    p.setBrush(laranja);
    p.drawPolygon(QPolygonF({{r.center().x(), r.top()}, {r.right(), beiral}, {r.right() - 1.5, beiral},
                             {r.right() - 1.5, r.bottom()}, {r.left() + 1.5, r.bottom()},
                             {r.left() + 1.5, beiral}, {r.left(), beiral}}));
    p.setPen(Qt::NoPen);
    p.setBrush(creme);
    p.drawRect(QRectF(r.center().x() - 1.2, r.bottom() - 4, 2.4, 4));
}

// A round arrow button for moving between days; dir -1 points back, 1 forward.
QImage seta(int direcao)
{
    return icone(18, [direcao](QPainter &p) {
        QLinearGradient g(0, 0, 0, 18);
        g.setColorAt(0, azulClaro);
        g.setColorAt(1, azul);
        p.setPen(contorno(azulEscuro));
        p.setBrush(g);
        p.drawEllipse(QRectF(0.5, 0.5, 17, 17));
        const double x = 9 + 1.2 * direcao;
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({{x + 3.5 * direcao, 9}, {x - 2.5 * direcao, 4.5}, {x - 2.5 * direcao, 13.5}}));
    });
}

// A small month page for the button that opens the calendar.
void folhinha(QPainter &p)
{
    p.setPen(contorno(azulEscuro));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(5.5, 6.5, 13, 12), 1.5, 1.5);
    p.setBrush(laranja);
    p.drawRect(QRectF(5.5, 6.5, 13, 3.5));
    p.setPen(Qt::NoPen);
    p.setBrush(azulEscuro);
    for (int linha = 0; linha < 2; ++linha)
        for (int coluna = 0; coluna < 3; ++coluna)
            p.drawRect(QRectF(7.5 + coluna * 3.5, 12 + linha * 3, 2, 1.8));
}

// The small month page with one day in bold: the button that opens the month calendar.
void mes(QPainter &p)
{
    folhinha(p);
    p.setBrush(vermelho);
    p.drawRect(QRectF(14.0, 14.6, 3.0, 2.6));
}

// A sealed envelope for the button that writes to a contact.
void envelope(QPainter &p)
{
    p.setPen(contorno(azulEscuro));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(4.5, 7.5, 15, 10), 1, 1);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({{4.5, 8}, {12, 13.5}, {19.5, 8}}));
    p.setPen(Qt::NoPen);
    p.setBrush(laranja);
    p.drawEllipse(QPointF(12, 13.5), 1.3, 1.3);
}

// The previous month's balance brought forward: an arrow from the left into a coin.
void saldoAnterior(QPainter &p)
{
    p.setPen(contorno(laranja.darker(170)));
    p.setBrush(QColor(0xff, 0xd8, 0x6a));
    p.drawEllipse(QPointF(15.5, 12), 5.5, 5.5);
    p.setPen(azulEscuro);
    p.setFont(fonte(8));
    p.drawText(QRectF(10, 6.5, 11, 11), Qt::AlignCenter, QStringLiteral("$"));
    p.setPen(contorno(Qt::white, 2.2));
    p.drawLine(QPointF(3, 12), QPointF(8.5, 12));
    p.drawLine(QPointF(6, 9), QPointF(9, 12));
    p.drawLine(QPointF(6, 15), QPointF(9, 12));
}

// A tab hanging below the paper: its top row is the paper's edge colour; sides and rounded
// bottom corners frame a cream face carrying the label, or a small house for the start page.
QImage aba(int largura, const QString &rotulo)
{
    constexpr int altura = 26;
    constexpr double raio = 6;
    QImage i = transparente(largura, altura);
    QPainter p(&i);
    p.setRenderHint(QPainter::Antialiasing);
    const double d = largura - 0.5, b = altura - 0.5;
    QPainterPath forma;
    forma.moveTo(0.5, 0);
    forma.lineTo(0.5, b - raio);
    forma.quadTo(0.5, b, 0.5 + raio, b);
    forma.lineTo(d - raio, b);
    forma.quadTo(d, b, d, b - raio);
    forma.lineTo(d, 0);
    QLinearGradient face(0, 0, 0, altura);
    face.setColorAt(0, creme);
    face.setColorAt(1, cremeEscuro);
    p.setPen(contorno(bordaDoPapel));
    p.setBrush(face);
    p.drawPath(forma);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(0, 0, largura, 1, bordaDoPapel);
    p.setRenderHint(QPainter::Antialiasing);
    if (rotulo.isEmpty()) {
        casa(p, QRectF(4, 6, 12, 12));
    } else {
        p.setPen(azulEscuro);
        p.setFont(fonte(11, false));
        p.drawText(QRectF(0, 1, largura, altura - 2), Qt::AlignCenter, rotulo);
    }
    return i;
}

} // namespace

Figuras IconesDaGrade()
{
    return {
        {QStringLiteral("alarme"), icone(16, sino)},
        {QStringLiteral("executado"), icone(16, visto)},
        {QStringLiteral("aniversario"), icone(16, bolo)},
        {QStringLiteral("anexado"), icone(16, continuacao)},
        {QStringLiteral("bloqueado"), icone(16, cadeado)},
        {QStringLiteral("compartilhado"), icone(16, pessoas)},
    };
}

Figuras BotoesDoCabecalho()
{
    return {
        {QStringLiteral("impressora"), botao(impressora)},
        {QStringLiteral("configuracao"), botao(engrenagem)},
        {QStringLiteral("ajuda"), botao(interrogacao)},
        {QStringLiteral("sair"), botao(porta)},
        {QStringLiteral("backup"), botao([](QPainter &p) { disquete(p, 1); })},
        {QStringLiteral("restaurar"), botao([](QPainter &p) { disquete(p, -1); })},
        {QStringLiteral("minimizar"), botao(recolher)},
    };
}

Figuras BotoesDoPainel()
{
    return {
        {QStringLiteral("dia_anterior"), seta(-1)},
        {QStringLiteral("dia_seguinte"), seta(1)},
        {QStringLiteral("calendario"), botao(folhinha)},
        {QStringLiteral("calendario_mes"), botao(mes)},
        {QStringLiteral("email"), botao(envelope)},
        {QStringLiteral("saldo_anterior"), botao(saldoAnterior)},
    };
}

// Widths fit the places the program gives the tabs under the paper.
Figuras Abas()
{
    return {
        {QStringLiteral("aba_compromissos"), aba(99, QStringLiteral("Compromissos"))},
        {QStringLiteral("aba_enderecos"), aba(72, QStringLiteral("Endereços"))},
        {QStringLiteral("aba_financas"), aba(63, QStringLiteral("Finanças"))},
        {QStringLiteral("aba_tarefas"), aba(56, QStringLiteral("Tarefas"))},
        {QStringLiteral("aba_notas"), aba(46, QStringLiteral("Notas"))},
        {QStringLiteral("aba_inicial"), aba(20, QString())},
    };
}

} // namespace desenho
