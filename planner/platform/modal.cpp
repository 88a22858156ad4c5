#include "platform/modal.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QSet>

#include <deque>
#include <stdexcept>

namespace modal {

namespace {

std::deque<Roteiro> roteiros;
std::function<void(QWidget &)> semRoteiro;
QSet<const QWidget *> emExibicao;
int impedimentos = 0;

// Ends the nested loop when the window hides or goes away.
class Vigia : public QObject {
public:
    Vigia(QWidget &janela, QEventLoop &laco) : laco(laco) { janela.installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Hide || e->type() == QEvent::Destroy)
            laco.quit();
        return false;
    }

private:
    QEventLoop &laco;
};

} // namespace

void Exibir(QWidget &janela, Qt::WindowModality modalidade)
{
    if (impedimentos > 0)
        throw std::logic_error("janela modal aberta dentro de uma transação");
    QPointer<QWidget> guarda(&janela);
    emExibicao.insert(&janela);
    janela.setWindowModality(modalidade);
    janela.show();
    if (!roteiros.empty() || semRoteiro) {
        // Let the window become active (its activation handler runs) before the script acts.
        QCoreApplication::processEvents();
        Roteiro r;
        if (!roteiros.empty()) {
            r = std::move(roteiros.front());
            roteiros.pop_front();
        } else {
            r = semRoteiro;
        }
        if (guarda && guarda->isVisible())
            r(*guarda);
        if (guarda && guarda->isVisible())
            guarda->hide();  // a script that left the dialog open would otherwise hang the test
    } else {
        QEventLoop laco;
        Vigia vigia(janela, laco);
        if (janela.isVisible())
            laco.exec();
    }
    emExibicao.remove(&janela);
}

bool EmExibicao(const QWidget &janela)
{
    return emExibicao.contains(&janela);
}

void Enfileirar(Roteiro roteiro)
{
    roteiros.push_back(std::move(roteiro));
}

void DefinirSemRoteiro(std::function<void(QWidget &)> acao)
{
    semRoteiro = std::move(acao);
}

int RoteirosPendentes()
{
    return int(roteiros.size());
}

SemModal::SemModal()
{
    ++impedimentos;
}

SemModal::~SemModal()
{
    --impedimentos;
}

bool Impedido()
{
    return impedimentos > 0;
}

} // namespace modal
