#include "platform/graficos.h"

#include "platform/toolkit.h"

#include <QEvent>
#include <QPainter>

namespace tk {

namespace {

// What every graphic control is: painted over what lies below, never hit by the mouse.
void comoGrafico(QWidget &w)
{
    w.setAttribute(Qt::WA_TransparentForMouseEvents);
    w.setAttribute(Qt::WA_NoSystemBackground);
}

} // namespace

void DefinirEscala(QWidget &recipiente, double largura, double altura)
{
    recipiente.setProperty("tkEscalaLargura", largura);
    recipiente.setProperty("tkEscalaAltura", altura);
}

double LarguraEscala(const QWidget &recipiente)
{
    const QVariant v = recipiente.property("tkEscalaLargura");
    return v.isValid() ? v.toDouble() : Twips(recipiente.width());
}

double AlturaEscala(const QWidget &recipiente)
{
    const QVariant v = recipiente.property("tkEscalaAltura");
    return v.isValid() ? v.toDouble() : Twips(recipiente.height());
}

void PosicionarNaEscala(QWidget &w, double left, double top, double width, double height)
{
    const QWidget &r = *w.parentWidget();
    const double fx = LarguraEscala(r) > 0 ? r.width() / LarguraEscala(r) : 0;
    const double fy = AlturaEscala(r) > 0 ? r.height() / AlturaEscala(r) : 0;
    w.setGeometry(qRound(left * fx), qRound(top * fy), qRound(width * fx), qRound(height * fy));
}

Linha::Linha(QWidget *recipiente) : QWidget(recipiente)
{
    comoGrafico(*this);
    setGeometry(recipiente->rect());
    recipiente->installEventFilter(this);
}

bool Linha::eventFilter(QObject *objeto, QEvent *evento)
{
    if (objeto == parent() && evento->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return false;
}

void Linha::DefinirInicio(const QPointF &p)
{
    inicio = p;
    update();
}

void Linha::DefinirFim(const QPointF &p)
{
    fim = p;
    update();
}

void Linha::DefinirCor(const QColor &c)
{
    cor = c;
    update();
}

void Linha::DefinirLargura(int pixels)
{
    largura = pixels;
    update();
}

void Linha::DefinirModo(ModoDesenho m)
{
    modo = m;
    update();
}

void Linha::paintEvent(QPaintEvent *)
{
    const double lx = LarguraEscala(*parentWidget()), ly = AlturaEscala(*parentWidget());
    if (lx <= 0 || ly <= 0)
        return;
    // Whole pixels and no antialiasing: a pixel combined with the one below it twice would
    // come back to what it was.
    const auto pixel = [&](const QPointF &p) { return QPoint(qRound(p.x() * width() / lx), qRound(p.y() * height() / ly)); };
    QPainter p(this);
    switch (modo) {
    case ModoDesenho::Inverter:
        p.setCompositionMode(QPainter::RasterOp_NotDestination);
        break;
    case ModoDesenho::XorCaneta:
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        break;
    case ModoDesenho::CopiarCaneta:
        break;
    }
    p.setPen(QPen(cor, largura, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(pixel(inicio), pixel(fim));
}

Forma::Forma(QWidget *recipiente) : QWidget(recipiente)
{
    comoGrafico(*this);
}

void Forma::DefinirCor(const QColor &c)
{
    cor = c;
    update();
}

void Forma::paintEvent(QPaintEvent *)
{
    const double diametro = qMin(width(), height()) - 1;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(cor, 1));
    p.drawEllipse(QRectF(rect()).center(), diametro / 2, diametro / 2);
}

} // namespace tk
