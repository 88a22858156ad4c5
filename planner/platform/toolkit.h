#pragma once

// The planner's window toolkit over Qt Widgets: borderless forms with a picture face, labels,
// text boxes with a key-press filter, buttons, pictures, frames and timers. Positions and sizes
// are in twips (15 per pixel), events are plain callbacks run through Disparar.

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QRadioButton>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace tk {

constexpr int TwipsPorPixel = 15;
inline int Px(int twips) { return (twips + TwipsPorPixel / 2) / TwipsPorPixel; }
inline int Twips(int pixels) { return pixels * TwipsPorPixel; }

using Evento = std::function<void()>;

// Runs an event handler. A database error escaping it ends that operation only: the handler
// installed with DefinirTratadorErro reports it, and the program goes on.
void Disparar(const Evento &evento);
void DefinirTratadorErro(std::function<void(const QString &)> tratador);

// Lets pending window events run (a handler's "DoEvents").
void ProcessarEventos();

// Geometry in twips.
void Posicionar(QWidget &w, int left, int top, int width, int height);
int Left(const QWidget &w);
int Top(const QWidget &w);
int Width(const QWidget &w);
int Height(const QWidget &w);
void DefinirLeft(QWidget &w, int twips);
void DefinirTop(QWidget &w, int twips);
void DefinirWidth(QWidget &w, int twips);
void DefinirHeight(QWidget &w, int twips);

// The code a key press stands for (the ANSI "KeyAscii" of the toolkit): 13 Enter, 8 backspace,
// 1..26 for Ctrl with a letter (3 copy, 22 paste), else the typed character; 0 for keys that
// type nothing (arrows, function keys, Delete).
int CodigoTecla(const QKeyEvent &e);

// Borderless top-level window; its face is a picture when one is given.
class Formulario : public QWidget {
public:
    explicit Formulario(const QString &caption, QWidget *parent = nullptr);
    void DefinirFace(const QPixmap &face);  // paints it and takes its size
    const QPixmap &Face() const { return face; }

    Evento Activate;    // each time the window becomes the active one
    Evento QueryUnload; // closing by the system (the window is hidden, never destroyed)

protected:
    void paintEvent(QPaintEvent *) override;
    void showEvent(QShowEvent *e) override;
    void changeEvent(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;

private:
    QPixmap face;
};

// Picture box: shows a picture; a left press on it drags its window when ArrastaJanela is set.
class Figura : public QWidget {
public:
    explicit Figura(QWidget *parent);
    void DefinirImagem(const QPixmap &imagem);  // takes the picture's size
    const QPixmap &Imagem() const { return imagem; }
    bool ArrastaJanela = false;
    Evento MouseDown;

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;

private:
    QPixmap imagem;
};

// What labels and images share: a Click event. One that answers clicks keeps the press to
// itself; the others let it reach the face below, which drags the window.
class ControleClicavel : public QLabel {
public:
    using QLabel::QLabel;
    Evento Click;

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
};

// Image control: a picture that answers clicks.
class Imagem : public ControleClicavel {
public:
    explicit Imagem(QWidget *parent, const QPixmap &imagem = {});
    void DefinirImagem(const QPixmap &imagem);
};

// Label with a transparent background.
class Rotulo : public ControleClicavel {
public:
    Rotulo(QWidget *parent, const QString &caption);
};

// Text box: maximum length, password character, and a key-press filter that returns the code to
// keep (0 drops the key; another code types that character instead).
class CaixaTexto : public QLineEdit {
public:
    explicit CaixaTexto(QWidget *parent, int maximo = 0);
    void DefinirCaractereSenha(QChar c);
    std::function<int(int)> KeyPress;
    Evento Change;

protected:
    void keyPressEvent(QKeyEvent *e) override;
};

// Button: Enter presses it while it has the focus, as Space does.
class Botao : public QPushButton {
public:
    Botao(QWidget *parent, const QString &caption);
    Evento Click;

protected:
    void keyPressEvent(QKeyEvent *e) override;
};

// Picture button: a flat button showing a picture instead of a caption.
class BotaoFigura : public Botao {
public:
    BotaoFigura(QWidget *parent, const QPixmap &figura, const QString &dica);
};

class CaixaSelecao : public QCheckBox {
public:
    CaixaSelecao(QWidget *parent, const QString &caption);
    Evento Click;
};

class BotaoOpcao : public QRadioButton {
public:
    BotaoOpcao(QWidget *parent, const QString &caption);
    Evento Click;
};

// Drop-down list that cannot be typed into.
class CaixaCombinacao : public QComboBox {
public:
    CaixaCombinacao(QWidget *parent, const QStringList &itens);
    Evento Click;  // a choice was made
};

// Frame: a plain container (panels of the main window).
class Moldura : public QFrame {
public:
    explicit Moldura(QWidget *parent);
};

// Timer with the toolkit's Interval/Enabled properties; Timer runs on each tick.
class Temporizador : public QObject {
public:
    explicit Temporizador(QObject *parent, int intervalo = 0);
    void DefinirIntervalo(int ms);
    int Intervalo() const { return intervalo; }
    void DefinirAtivo(bool ativo);
    bool Ativo() const { return ativo; }
    // The next tick comes ms from now, to the millisecond, instead of a whole interval later
    // (a clock keeping to the minute); the ticks after it keep the interval. Nothing while off.
    void ProximoDisparoEm(int ms);
    Evento Timer;

private:
    QTimer relogio;
    int intervalo;
    bool ativo = false;
};

// The screen.
namespace Tela {
int AlturaPixels();
QPoint PosicaoMouse();
// The whole screen's pointer: the hourglass while true, the normal pointer after.
void Ampulheta(bool ligada);
bool AmpulhetaLigada();
} // namespace Tela

// The whole screen's hourglass for the life of a handler, put back even when it fails; inside
// another one (the grid rebuilt by a save) it leaves the outer one's hourglass on.
class EsperaNaTela {
public:
    EsperaNaTela() : anterior(Tela::AmpulhetaLigada()) { Tela::Ampulheta(true); }
    ~EsperaNaTela() { Tela::Ampulheta(anterior); }
    EsperaNaTela(const EsperaNaTela &) = delete;
    EsperaNaTela &operator=(const EsperaNaTela &) = delete;

private:
    bool anterior;
};

// A form's own pointer.
void AmpulhetaNoFormulario(QWidget &w, bool ligada);

// The hourglass on a form for the life of a handler, put back even when the handler fails.
class EsperaNoFormulario {
public:
    explicit EsperaNoFormulario(QWidget &w) : w(w) { AmpulhetaNoFormulario(w, true); }
    ~EsperaNoFormulario() { AmpulhetaNoFormulario(w, false); }
    EsperaNoFormulario(const EsperaNoFormulario &) = delete;
    EsperaNoFormulario &operator=(const EsperaNoFormulario &) = delete;

private:
    QWidget &w;
};

// Sounds the system beep; counted, so a test can see that it happened.
void Bipe();
int BipesEmitidos();

} // namespace tk
