#include "core/principal.h"

#include <stdexcept>

namespace {
JanelaPrincipal *registrada = nullptr;
}

std::function<QWidget *()> JanelaDeLembrete = [] { return static_cast<QWidget *>(nullptr); };

void DefinirJanelaPrincipal(JanelaPrincipal *janela)
{
    registrada = janela;
}

JanelaPrincipal &janelaPrincipal()
{
    if (!registrada)
        throw std::logic_error("a janela principal ainda não foi criada");
    return *registrada;
}
