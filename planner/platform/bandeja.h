#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QSystemTrayIcon;

// The planner's tray icon. Mouse events arrive as the mouse messages the planner decodes:
// 514 left button released, 517 right button released.
namespace bandeja {

constexpr int BotaoEsquerdoSolto = 514;
constexpr int BotaoDireitoSolto = 517;

// Whether the desktop offers a tray; tests may say so for a desktop that has none.
bool Disponivel();
void DefinirDisponivel(std::optional<bool> disponivel);

class Icone : public QObject {
public:
    Icone();
    ~Icone() override;
    void Incluir(const QIcon &icone, const QString &dica);
    void Remover();
    bool Incluido() const;
    QString Dica() const;
    std::function<void(int mensagem)> Mensagem;

private:
    std::unique_ptr<QSystemTrayIcon> icone;
};

} // namespace bandeja
