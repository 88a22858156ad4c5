#include "desenho.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace desenho {

namespace {

// The planner's palette.
const QColor azulEscuro(0x1d, 0x44, 0x66);
const QColor azul(0x2f, 0x66, 0x90);
const QColor azulClaro(0x5b, 0x9b, 0xc8);
const QColor creme(0xfb, 0xf8, 0xf1);
const QColor cremeEscuro(0xec, 0xe3, 0xd0);
const QColor laranja(0xe8, 0x91, 0x3a);
const QColor vermelho(0xc0, 0x39, 0x2b);
const QColor verde(0x2e, 0x8b, 0x57);
const QColor tinta(0x33, 0x33, 0x33);

QFont fonte(int pixels, bool negrito = true)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setBold(negrito);
    return f;
}

QImage transparente(int w, int h)
{
    QImage i(w, h, QImage::Format_ARGB32_Premultiplied);
    i.fill(Qt::transparent);
    return i;
}

// A window face: the transparent colour outside a rounded silhouette filled with a light body,
// with an optional header band in the planner's blue.
QImage face(int w, int h, int raio, int cabecalho, QPainterPath *silhueta = nullptr)
{
    QImage i(w, h, QImage::Format_RGB32);
    i.fill(CorTransparente);
    QPainterPath forma;
    forma.addRoundedRect(QRectF(0, 0, w, h), raio, raio);
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
    QPainterPath t;
    t.moveTo(16, 2);
    t.lineTo(30.5, 29);
    t.lineTo(1.5, 29);
    t.closeSubpath();
    QLinearGradient g(0, 0, 0, 32);
    g.setColorAt(0, vermelho.lighter(140));
    g.setColorAt(1, vermelho);
    p.setPen(QPen(vermelho.darker(150), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPath(t);
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
    QPainterPath ampulheta;
    ampulheta.moveTo(18, 14);
    ampulheta.lineTo(40, 14);
    ampulheta.lineTo(29, 32);
    ampulheta.lineTo(40, 50);
    ampulheta.lineTo(18, 50);
    ampulheta.lineTo(29, 32);
    ampulheta.closeSubpath();
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawPath(ampulheta);
    p.setBrush(laranja);
    p.setPen(Qt::NoPen);
    QPainterPath areia;
    areia.moveTo(22, 48);
    areia.lineTo(36, 48);
    areia.lineTo(29, 40);
    areia.closeSubpath();
    p.drawPath(areia);
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

} // namespace

std::vector<std::pair<QString, QImage>> TodasAsFiguras()
{
    return {
        {QStringLiteral("logon"), logon()},
        {QStringLiteral("msgbox"), mensagem()},
        {QStringLiteral("pergunta"), emblema(azul, QStringLiteral("?"))},
        {QStringLiteral("informacao"), emblema(verde, QStringLiteral("i"))},
        {QStringLiteral("grave"), alerta()},
        {QStringLiteral("aguarde"), aguarde()},
        {QStringLiteral("fechar"), fechar()},
        {QStringLiteral("velora"), iconePrograma()},
    };
}

} // namespace desenho
