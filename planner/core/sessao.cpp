#include "core/sessao.h"

#include "platform/relogio.h"

DadosSessao Sessao;

void DadosSessao::ReiniciarValores()
{
    static_cast<ValoresSessao &>(*this) = ValoresSessao{};
    DiaExibido = relogio::Hoje();
    MesCalendario = relogio::Hoje();
}
