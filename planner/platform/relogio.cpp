#include "platform/relogio.h"

namespace {
QDateTime congelado;
}

namespace relogio {

QDateTime Agora()
{
    return congelado.isValid() ? congelado : QDateTime::currentDateTime();
}

QDate Hoje()
{
    return Agora().date();
}

void DefinirAgora(const QDateTime &agora)
{
    congelado = agora;
}

void Avancar(qint64 segundos)
{
    if (congelado.isValid())
        congelado = congelado.addSecs(segundos);
}

void Liberar()
{
    congelado = QDateTime();
}

} // namespace relogio
