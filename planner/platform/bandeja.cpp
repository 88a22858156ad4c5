#include "platform/bandeja.h"

#include "platform/toolkit.h"

#include <QSystemTrayIcon>

namespace bandeja {

namespace {
std::optional<bool> disponivelDefinido;
}

bool Disponivel()
{
    return disponivelDefinido.value_or(QSystemTrayIcon::isSystemTrayAvailable());
}

void DefinirDisponivel(std::optional<bool> disponivel)
{
    disponivelDefinido = disponivel;
}

Icone::Icone() = default;
Icone::~Icone() = default;

void Icone::Incluir(const QIcon &figura, const QString &dica)
{
    icone = std::make_unique<QSystemTrayIcon>(figura);
    icone->setToolTip(dica);
    connect(icone.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        const int mensagem = r == QSystemTrayIcon::Trigger   ? BotaoEsquerdoSolto
                             : r == QSystemTrayIcon::Context ? BotaoDireitoSolto
                                                             : 0;
        if (mensagem && Mensagem)
            tk::Disparar([&] { Mensagem(mensagem); });
    });
    icone->show();
}

void Icone::Remover()
{
    icone.reset();
}

bool Icone::Incluido() const
{
    return icone != nullptr;
}

QString Icone::Dica() const
{
    return icone ? icone->toolTip() : QString();
}

} // namespace bandeja
