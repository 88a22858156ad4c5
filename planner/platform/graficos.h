#pragma once

// The toolkit's graphic controls: lines and shapes laid on a container in its scale. They draw
// over what lies below them (the container and the siblings under them) and let the mouse
// through to the container.

#include <QColor>
#include <QPointF>
#include <QWidget>

namespace tk {

// The scale a container's graphic controls are placed in: its size in twips unless it was given
// a scale of its own (a width and a height in any units, mapped onto its size).
void DefinirEscala(QWidget &recipiente, double largura, double altura);
double LarguraEscala(const QWidget &recipiente);
double AlturaEscala(const QWidget &recipiente);
// Places a child in its container's scale.
void PosicionarNaEscala(QWidget &w, double left, double top, double width, double height);

// How a line meets what lies below it.
enum class ModoDesenho {
    Inverter = 6,       // the colours below turned inside out; the pen's colour is not used
    XorCaneta = 7,      // the pen's colour XOR the colours below
    CopiarCaneta = 13,  // the pen's colour
};

// Line control: from (X1, Y1) to (X2, Y2), with a pen width in pixels. It spans its container.
class Linha : public QWidget {
public:
    explicit Linha(QWidget *recipiente);
    QPointF Inicio() const { return inicio; }  // X1, Y1
    QPointF Fim() const { return fim; }        // X2, Y2
    void DefinirInicio(const QPointF &p);
    void DefinirFim(const QPointF &p);
    QColor Cor() const { return cor; }
    void DefinirCor(const QColor &c);
    int Largura() const { return largura; }
    void DefinirLargura(int pixels);
    ModoDesenho Modo() const { return modo; }
    void DefinirModo(ModoDesenho m);

protected:
    void paintEvent(QPaintEvent *) override;
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    QPointF inicio, fim;
    QColor cor = Qt::black;
    int largura = 1;
    ModoDesenho modo = ModoDesenho::CopiarCaneta;
};

// Shape control: the outline of the largest circle centred in its rectangle (placed with
// PosicionarNaEscala, not spanning the container).
class Forma : public QWidget {
public:
    explicit Forma(QWidget *recipiente);
    void DefinirCor(const QColor &c);

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QColor cor = Qt::black;
};

} // namespace tk
