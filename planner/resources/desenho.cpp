#include "desenho_base.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <iterator>

namespace desenho {

namespace {

// A window face: the transparent colour outside a rounded silhouette filled with a light body,
// with an optional header band in the planner's blue.
QImage face(int w, int h, int raio, int cabecalho, QPainterPath *silhueta = nullptr)
{
    QImage i(w, h, QImage::Format_RGB32);
    i.fill(CorTransparente);
    // The rim is stroked on the last row and column too, so the outline closes on every side.
    QPainterPath forma;
    forma.addRoundedRect(QRectF(0, 0, w - 1, h - 1), raio, raio);
    QPainter p(&i);
    p.setRenderHint(QPainter::Antialiasing, false);
    QLinearGradient corpo(0, 0, 0, h);
    corpo.setColorAt(0, creme);
    corpo.setColorAt(1, cremeEscuro);
    p.fillPath(forma, corpo);
    p.setClipPath(forma);
    if (cabecalho > 0) {
        QLinearGradient faixa(0, 0, 0, cabecalho);
        faixa.setColorAt(0, azul);
        faixa.setColorAt(1, azulEscuro);
        p.fillRect(0, 0, w, cabecalho, faixa);
        p.fillRect(0, cabecalho, w, 2, laranja);
    }
    p.setClipping(false);
    p.setPen(QPen(azulEscuro, 1));
    p.drawPath(forma);
    if (silhueta)
        *silhueta = forma;
    return i;
}

void paginaDeCalendario(QPainter &p, const QRectF &r, const QString &dia)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(azulEscuro, 1.2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(r, 4, 4);
    const QRectF topo(r.left(), r.top(), r.width(), r.height() * 0.3);
    QPainterPath faixa;
    faixa.addRoundedRect(topo, 4, 4);
    faixa.addRect(QRectF(topo.left(), topo.center().y(), topo.width(), topo.height() / 2));
    p.fillPath(faixa.simplified(), laranja);
    p.setBrush(azulEscuro);
    for (double x : {r.left() + r.width() * 0.28, r.left() + r.width() * 0.72})
        p.drawEllipse(QPointF(x, r.top()), r.width() * 0.05, r.width() * 0.05);
    p.setPen(azulEscuro);
    p.setFont(fonte(int(r.height() * 0.45)));
    p.drawText(QRectF(r.left(), topo.bottom(), r.width(), r.height() - topo.height()),
               Qt::AlignCenter, dia);
    p.restore();
}

// A round badge with a glyph: the message box icons.
QImage emblema(const QColor &cor, const QString &glifo)
{
    QImage i = transparente(32, 32);
    QPainter p(&i);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(QPointF(12, 10), 22);
    g.setColorAt(0, cor.lighter(150));
    g.setColorAt(1, cor);
    p.setPen(QPen(cor.darker(140), 1.5));
    p.setBrush(g);
    p.drawEllipse(QRectF(1.5, 1.5, 29, 29));
    p.setPen(Qt::white);
    p.setFont(fonte(20));
    p.drawText(QRectF(0, 0, 32, 32), Qt::AlignCenter, glifo);
    return i;
}

QImage alerta()
{
    QImage i = transparente(32, 32);
    QPainter p(&i);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 32);
    g.setColorAt(0, vermelho.lighter(140));
    g.setColorAt(1, vermelho);
    p.setPen(QPen(vermelho.darker(150), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPolygon(QPolygonF({{16, 2}, {30.5, 29}, {1.5, 29}}));
    p.setPen(Qt::white);
    p.setFont(fonte(18));
    p.drawText(QRectF(0, 9, 32, 20), Qt::AlignCenter, QStringLiteral("!"));
    return i;
}

QImage logon()
{
    QImage i = face(260, 131, 14, 30);
    QPainter p(&i);
    paginaDeCalendario(p, QRectF(210, 44, 38, 40), QStringLiteral("31"));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(cremeEscuro.darker(115), 1));
    p.drawLine(QPointF(14, 88.5), QPointF(246, 88.5));
    return i;
}

QImage mensagem()
{
    QImage i = face(324, 124, 10, 14);
    QPainter p(&i);
    p.setPen(Qt::white);
    p.setFont(fonte(9));
    p.drawText(QRectF(10, 0, 300, 14), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Mensagem do Velora"));
    return i;
}

QImage aguarde()
{
    QImage i(230, 64, QImage::Format_RGB32);
    i.fill(CorTransparente);
    QPainterPath forma;
    forma.addRoundedRect(QRectF(0, 0, 230, 64), 12, 12);
    QPainter p(&i);
    QLinearGradient g(0, 0, 0, 64);
    g.setColorAt(0, azul);
    g.setColorAt(1, azulEscuro);
    p.fillPath(forma, g);
    p.setPen(QPen(laranja, 2));
    p.drawPath(forma);
    // An hourglass at the left.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawPolygon(QPolygonF({{18, 14}, {40, 14}, {29, 32}, {40, 50}, {18, 50}, {29, 32}}));
    p.setBrush(laranja);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({{22, 48}, {36, 48}, {29, 40}}));
    return i;
}

QImage fechar()
{
    QImage i = transparente(16, 16);
    QPainter p(&i);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(laranja);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 5), QPointF(11, 11));
    p.drawLine(QPointF(11, 5), QPointF(5, 11));
    return i;
}

QImage iconePrograma()
{
    QImage i = transparente(64, 64);
    QPainter p(&i);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 64);
    g.setColorAt(0, azulClaro);
    g.setColorAt(1, azulEscuro);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    paginaDeCalendario(p, QRectF(13, 12, 38, 42), QStringLiteral("V"));
    return i;
}


// Puts the transparent colour back on every pixel outside the face's silhouette, so strokes
// and gradients laid near the rim never widen the window outline cut from the picture.
void recortar(QImage &figura, const QImage &molde)
{
    for (int y = 0; y < figura.height(); ++y) {
        const auto *m = reinterpret_cast<const QRgb *>(molde.constScanLine(y));
        auto *f = reinterpret_cast<QRgb *>(figura.scanLine(y));
        for (int x = 0; x < figura.width(); ++x)
            if (m[x] == CorTransparente)
                f[x] = CorTransparente;
    }
}

// A slightly sunken panel of the sidebar, where the program lays labels or controls.
void nicho(QPainter &p, const QRectF &r, int raio, const QColor &fundo)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(fundo);
    p.drawRoundedRect(r, raio, raio);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 70), 1));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), raio, raio);
    p.setPen(QPen(QColor(255, 255, 255, 45), 1));
    p.drawRoundedRect(r.adjusted(1.5, 1.5, -0.5, -0.5), raio, raio);
    p.restore();
}

// The round well the analog clock stands in: a sunken rim around a dark face with hour marks,
// dark so that the clock's light hands read well on it.
void pocoDoRelogio(QPainter &p, const QPointF &centro, double raio)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient aro(centro - QPointF(raio, raio), centro + QPointF(raio, raio));
    aro.setColorAt(0, azulEscuro.darker(160));
    aro.setColorAt(1, azulClaro);
    p.setPen(Qt::NoPen);
    p.setBrush(aro);
    p.drawEllipse(centro, raio + 4, raio + 4);
    QRadialGradient mostrador(centro - QPointF(raio * 0.3, raio * 0.35), raio * 1.3);
    mostrador.setColorAt(0, azul);
    mostrador.setColorAt(1, azulEscuro.darker(150));
    p.setBrush(mostrador);
    p.drawEllipse(centro, raio, raio);
    for (int hora = 0; hora < 12; ++hora) {
        const bool quarto = hora % 3 == 0;
        p.save();
        p.translate(centro);
        p.rotate(hora * 30);
        p.setPen(QPen(hora == 0 ? laranja : creme, quarto ? 3 : 1.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0, -raio + 5), QPointF(0, -raio + (quarto ? 14 : 10)));
        p.restore();
    }
    p.restore();
}

// The wire rings binding the paper to the sidebar: each leaves a punched hole in the paper and
// loops over its edge.
void argolas(QPainter &p, int x, int topo, int base, int passo)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient metal(0, -3, 0, 3);
    metal.setColorAt(0, QColor(0xf4, 0xf6, 0xf8));
    metal.setColorAt(0.5, QColor(0xa9, 0xb4, 0xbf));
    metal.setColorAt(1, QColor(0x5f, 0x6b, 0x77));
    for (int y = topo; y <= base; y += passo) {
        p.save();
        p.translate(x, y);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x4a, 0x55, 0x60));
        p.drawEllipse(QPointF(11.5, 0.5), 2.4, 2.4);
        QPainterPath laco;
        laco.moveTo(11, 0);
        laco.cubicTo(8, -4.5, 1, -3.5, -1, 1.5);
        p.setPen(QPen(QColor(0, 0, 0, 90), 3.6, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(laco.translated(0.5, 1.8));
        p.setPen(QPen(QBrush(metal), 3.2, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(laco);
        p.restore();
    }
    p.restore();
}

// The main window's skin. The program lays its widgets over fixed places of it: the five header
// buttons at the right of the title bar, the identity and date labels, the clock in its well, the
// calculator in its inset, the panels on the paper and the tabs hanging from the paper's bottom
// edge, row 472.
QImage agenda()
{
    constexpr int largura = 752, altura = 522, cabecalho = 40;
    const QImage molde = face(largura, altura, 18, cabecalho);
    QImage i = molde;
    QPainter p(&i);

    // Title bar: the program's mark and name; its right end stays plain for the buttons.
    paginaDeCalendario(p, QRectF(12, 7, 24, 26), QStringLiteral("V"));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::white);
    p.setFont(fonte(20));
    p.drawText(QRectF(46, 0, 200, cabecalho), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Velora"));
    p.setPen(azulClaro.lighter(130));
    p.setFont(fonte(11, false));
    p.drawText(QRectF(130, 3, 200, cabecalho), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("agenda pessoal"));

    // Sidebar.
    p.setRenderHint(QPainter::Antialiasing, false);
    QLinearGradient lateral(0, cabecalho + 2, 0, altura);
    lateral.setColorAt(0, azul.darker(108));
    lateral.setColorAt(1, azulEscuro.darker(115));
    p.fillRect(0, cabecalho + 2, 334, altura - cabecalho - 2, lateral);
    p.fillRect(333, cabecalho + 2, 5, 431, azulEscuro.darker(140));
    nicho(p, QRectF(10, 48, 314, 82), 8, QColor(255, 255, 255, 20));
    nicho(p, QRectF(10, 134, 314, 38), 8, QColor(255, 255, 255, 20));
    pocoDoRelogio(p, QPointF(167, 252), 75);
    nicho(p, QRectF(12, 338, 310, 170), 8, QColor(0, 0, 0, 60));

    // The paper, with two sheets peeking out at its right and a soft shadow.
    p.fillRect(739, 48, 6, 420, QColor(0, 0, 0, 22));
    for (int folha : {2, 1}) {
        const QRect r(338 + 2 * folha, 44 + 2 * folha, 400, 428 - 4 * folha);
        p.fillRect(r, Qt::white);
        p.setPen(bordaDoPapel.lighter(125));
        p.drawRect(r);
    }
    p.fillRect(339, 45, 399, 427, Qt::white);
    p.setPen(bordaDoPapel);
    p.drawRect(338, 44, 400, 428);
    argolas(p, 330, 62, 458, 22);

    p.end();
    recortar(i, molde);
    return i;
}

// The start page's picture: an open planner, a month on the left page, the day's notes on the
// right one, and a pen resting on it.
QImage inicial()
{
    QImage i = transparente(160, 160);
    QPainter p(&i);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(0, -10);
    QRadialGradient sombra(QPointF(80, 146), 70);
    sombra.setColorAt(0, QColor(0, 0, 0, 70));
    sombra.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sombra);
    p.drawEllipse(QPointF(80, 146), 74, 10);

    // Cover and pages.
    QLinearGradient capa(0, 28, 0, 146);
    capa.setColorAt(0, azul);
    capa.setColorAt(1, azulEscuro);
    p.setBrush(capa);
    p.drawRoundedRect(QRectF(6, 28, 148, 116), 8, 8);
    QLinearGradient papel(0, 32, 0, 140);
    papel.setColorAt(0, Qt::white);
    papel.setColorAt(1, creme);
    p.setPen(QPen(bordaDoPapel, 1));
    p.setBrush(papel);
    p.drawRoundedRect(QRectF(12.5, 33.5, 65, 104), 3, 3);
    p.drawRoundedRect(QRectF(82.5, 33.5, 65, 104), 3, 3);

    // Left page: a month, today's square in orange.
    p.setPen(Qt::NoPen);
    p.setBrush(laranja);
    p.drawRoundedRect(QRectF(17, 38, 56, 13), 2, 2);
    p.setPen(Qt::white);
    p.setFont(fonte(9));
    p.drawText(QRectF(17, 38, 56, 13), Qt::AlignCenter, QStringLiteral("MAIO"));
    for (int linha = 0; linha < 5; ++linha)
        for (int coluna = 0; coluna < 7; ++coluna) {
            const QRectF casa(18 + coluna * 7.8, 57 + linha * 9.5, 6, 7);
            const bool hoje = linha == 2 && coluna == 3;
            p.setPen(Qt::NoPen);
            p.setBrush(hoje ? laranja : coluna == 0 ? azulClaro.lighter(140) : cremeEscuro);
            p.drawRoundedRect(casa, 1.2, 1.2);
        }
    p.setPen(QPen(azulClaro, 1.4, Qt::SolidLine, Qt::RoundCap));
    for (int linha = 0; linha < 3; ++linha)
        p.drawLine(QPointF(19, 111 + linha * 8), QPointF(linha == 2 ? 50 : 70, 111 + linha * 8));

    // Right page: ruled lines, a few entries, one ticked off.
    p.setPen(QPen(azulClaro.lighter(150), 1));
    for (int linha = 0; linha < 9; ++linha)
        p.drawLine(QPointF(87, 47.5 + linha * 10), QPointF(143, 47.5 + linha * 10));
    p.setPen(QPen(vermelho.lighter(150), 1));
    p.drawLine(QPointF(97.5, 36), QPointF(97.5, 134));
    p.setPen(QPen(azulEscuro, 1.6, Qt::SolidLine, Qt::RoundCap));
    const double entradas[] = {38, 30, 42, 24};
    for (int k = 0; k < 4; ++k)
        p.drawLine(QPointF(101, 44 + k * 10), QPointF(101 + entradas[k], 44 + k * 10));
    p.setPen(QPen(verde, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({{88, 43}, {90.5, 45.5}, {95, 40}}));

    // Binding rings down the middle.
    for (int k = 0; k < 8; ++k) {
        const double y = 42 + k * 12.5;
        QLinearGradient metal(76, 0, 88, 0);
        metal.setColorAt(0, QColor(0x5f, 0x6b, 0x77));
        metal.setColorAt(0.5, QColor(0xf4, 0xf6, 0xf8));
        metal.setColorAt(1, QColor(0x5f, 0x6b, 0x77));
        p.setPen(QPen(QBrush(metal), 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(75, y + 1.5), QPointF(85, y - 1.5));
    }

    // The pen, lying across the right page.
    p.translate(104, 120);
    p.rotate(-52);
    p.setPen(QPen(azulEscuro.darker(130), 1));
    QLinearGradient corpo(0, -5, 0, 5);
    corpo.setColorAt(0, laranja.lighter(130));
    corpo.setColorAt(1, laranja.darker(125));
    p.setBrush(corpo);
    p.drawRoundedRect(QRectF(14, -4.5, 58, 9), 3, 3);
    p.setBrush(azulEscuro);
    p.drawRoundedRect(QRectF(60, -4.5, 12, 9), 3, 3);
    p.drawRect(QRectF(44, -5.5, 24, 1.8));
    p.setBrush(creme);
    p.drawPolygon(QPolygonF({{14, -4.5}, {1, 0}, {14, 4.5}}));
    p.setBrush(tinta);
    p.drawEllipse(QPointF(2.5, 0), 1.6, 1.2);
    return i;
}

} // namespace

Figuras TodasAsFiguras()
{
    Figuras figuras{
        {QStringLiteral("logon"), logon()},
        {QStringLiteral("msgbox"), mensagem()},
        {QStringLiteral("pergunta"), emblema(azul, QStringLiteral("?"))},
        {QStringLiteral("informacao"), emblema(verde, QStringLiteral("i"))},
        {QStringLiteral("grave"), alerta()},
        {QStringLiteral("aguarde"), aguarde()},
        {QStringLiteral("fechar"), fechar()},
        {QStringLiteral("velora"), iconePrograma()},
        {QStringLiteral("agenda"), agenda()},
        {QStringLiteral("inicial"), inicial()},
    };
    for (Figuras parte : {IconesDaGrade(), BotoesDoCabecalho(), BotoesDoPainel(), Abas(), Acessorios()})
        std::move(parte.begin(), parte.end(), std::back_inserter(figuras));
    return figuras;
}

} // namespace desenho
