#pragma once

#include <QWidget>

#include <functional>

// Every modal showing of the planner passes through here. The program runs a nested event loop
// until the window is hidden; a test queues scripts instead, each of which fills one dialog and
// presses its button.
namespace modal {

// Shows the window modally and returns once it is hidden again. Qt::WindowModal blocks only the
// window's parent, so the rest of the program (the tray icon among it) still takes input.
void Exibir(QWidget &janela, Qt::WindowModality modalidade = Qt::ApplicationModal);

// True while a modal showing of this window is under way.
bool EmExibicao(const QWidget &janela);

using Roteiro = std::function<void(QWidget &janela)>;
// Tests: the next modal showing runs this script (in queue order) instead of waiting for a user.
void Enfileirar(Roteiro roteiro);
// Tests: what to do with a showing nobody scripted (by default the window waits for a user).
void DefinirSemRoteiro(std::function<void(QWidget &janela)> acao);
int RoteirosPendentes();

// While one lives (a transaction is open), no window may be shown modally: its nested event loop
// would hold the database locked for every other planner as long as the window stays, and would
// let timers (the reminder scan) run inside the transaction. Exibir throws instead.
class SemModal {
public:
    SemModal();
    ~SemModal();
    SemModal(const SemModal &) = delete;
    SemModal &operator=(const SemModal &) = delete;
};
bool Impedido();

} // namespace modal
