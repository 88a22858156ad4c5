#include "accessories/relogio_analogico.h"

#include "platform/relogio.h"
#include "resources/recursos.h"

namespace {

void tracar(tk::Linha &linha, const modRelogio::Ponteiro &p)
{
    linha.DefinirInicio(p.cauda);
    linha.DefinirFim(p.ponta);
}

} // namespace

RelogioAnalogico::RelogioAnalogico(QWidget *parent, const QRect &face) : tk::Figura(parent)
{
    setGeometry(face);
    tk::DefinirEscala(*this, face.width() > 0 ? 550 : 0, face.width() > 0 ? 550.0 * face.height() / face.width() : 0);
    ArrastaJanela = true;

    Shape2 = new tk::Forma(this);
    tk::PosicionarNaEscala(*Shape2, 0, 0, 555, 555);
    linSecond = new tk::Linha(this);
    linSecond->hide();
    linMinute = new tk::Linha(this);
    linMinute->DefinirCor(QColor(255, 255, 128));
    linMinute->DefinirLargura(3);
    imgNice = new tk::Imagem(this, recursos::Figura(QStringLiteral("relogio_centro")));
    tk::PosicionarNaEscala(*imgNice, 217, 217, 120, 120);
    imgNice->setAlignment(Qt::AlignCenter);
    linHourx = new tk::Linha(this);
    linHourx->DefinirCor(QColor(0, 192, 192));
    linHourx->DefinirLargura(3);
}

void RelogioAnalogico::Preparar()
{
    if (!estado.Preparar(float(tk::LarguraEscala(*this)), float(tk::AlturaEscala(*this))))
        return;
    const QPointF centro(estado.cx, estado.cy);
    for (tk::Linha *linha : {linSecond, linMinute, linHourx})
        linha->DefinirInicio(centro);
    // The hour hand on top, then the centre picture, then the minute hand.
    linSecond->raise();
    linMinute->raise();
    imgNice->raise();
    linHourx->raise();
    linSecond->DefinirModo(tk::ModoDesenho::Inverter);
    linMinute->DefinirModo(tk::ModoDesenho::XorCaneta);
    linHourx->DefinirModo(tk::ModoDesenho::XorCaneta);
    estado.Ler(relogio::Agora().time());
    tracar(*linMinute, estado.Minutos());
    tracar(*linHourx, estado.Horas());
}

void RelogioAnalogico::Tick()
{
    // A face without a height was never prepared: its hands stay as they were.
    if (!estado.preparado)
        return;
    estado.Ler(relogio::Agora().time());
    tracar(*linSecond, estado.Segundos());
    tracar(*linMinute, estado.Minutos());
    tracar(*linHourx, estado.Horas());
}
