#include "platform/toolkit.h"

#include "platform/modal.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <stdexcept>

namespace tk {

namespace {

std::function<void(const QString &)> tratadorErro;
int bipes = 0;
bool ampulhetaLigada = false;

// Moves a window by its face: the window manager takes over the drag, as with a caption.
void arrastar(QWidget &alvo, QMouseEvent *e)
{
    QWidget *janela = alvo.window();
    if (e->button() != Qt::LeftButton || !janela->windowHandle())
        return;
    janela->windowHandle()->startSystemMove();
}

} // namespace

void Disparar(const Evento &evento)
{
    if (!evento)
        return;
    try {
        evento();
    } catch (const std::exception &erro) {
        if (tratadorErro)
            tratadorErro(QString::fromUtf8(erro.what()));
        else
            qWarning("Operação interrompida: %s", erro.what());
    }
}

void DefinirTratadorErro(std::function<void(const QString &)> tratador)
{
    tratadorErro = std::move(tratador);
}

void ProcessarEventos()
{
    // Events handled here could show a window or start the reminder scan inside the transaction.
    if (modal::Impedido())
        throw std::logic_error("eventos processados dentro de uma transação");
    QCoreApplication::processEvents();
}

// Twips do not all fall on whole pixels: the value set is remembered, so reading a property back
// gives what was set as long as the widget still stands where that value put it.
namespace {

int lerTwips(const QWidget &w, const char *nome, int pixels)
{
    const QVariant guardado = w.property(nome);
    return guardado.isValid() && Px(guardado.toInt()) == pixels ? guardado.toInt() : Twips(pixels);
}

} // namespace

void Posicionar(QWidget &w, int left, int top, int width, int height)
{
    w.setGeometry(Px(left), Px(top), Px(width), Px(height));
    w.setProperty("tkLeft", left);
    w.setProperty("tkTop", top);
    w.setProperty("tkWidth", width);
    w.setProperty("tkHeight", height);
}

int Left(const QWidget &w) { return lerTwips(w, "tkLeft", w.x()); }
int Top(const QWidget &w) { return lerTwips(w, "tkTop", w.y()); }
int Width(const QWidget &w) { return lerTwips(w, "tkWidth", w.width()); }
int Height(const QWidget &w) { return lerTwips(w, "tkHeight", w.height()); }

void DefinirLeft(QWidget &w, int twips)
{
    w.move(Px(twips), w.y());
    w.setProperty("tkLeft", twips);
}

void DefinirTop(QWidget &w, int twips)
{
    w.move(w.x(), Px(twips));
    w.setProperty("tkTop", twips);
}

void DefinirWidth(QWidget &w, int twips)
{
    w.resize(Px(twips), w.height());
    w.setProperty("tkWidth", twips);
}

void DefinirHeight(QWidget &w, int twips)
{
    w.resize(w.width(), Px(twips));
    w.setProperty("tkHeight", twips);
}

int CodigoTecla(const QKeyEvent &e)
{
    switch (e.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Delete:
        return 0;
    default:
        break;
    }
    if ((e.modifiers() & Qt::ControlModifier) && e.key() >= Qt::Key_A && e.key() <= Qt::Key_Z)
        return e.key() - Qt::Key_A + 1;
    const QString texto = e.text();
    if (texto.isEmpty() || (e.modifiers() & Qt::ControlModifier))
        return 0;
    return texto.at(0).unicode();
}

Formulario::Formulario(const QString &caption, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setWindowTitle(caption);
}

void Formulario::DefinirFace(const QPixmap &f)
{
    face = f;
    setFixedSize(face.size());
    update();
}

void Formulario::paintEvent(QPaintEvent *)
{
    if (!face.isNull()) {
        QPainter p(this);
        p.drawPixmap(0, 0, face);
    }
}

void Formulario::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    // Shown again while the system still counts it as its focus window (nothing took the
    // focus while it was hidden): no activation change will come, yet the form is activated.
    if (isActiveWindow() || (windowHandle() && QGuiApplication::focusWindow() == windowHandle()))
        Disparar(Activate);
}

void Formulario::changeEvent(QEvent *e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        Disparar(Activate);
}

void Formulario::closeEvent(QCloseEvent *e)
{
    // Forms are never destroyed by closing: the system's close only hides them.
    e->ignore();
    if (QueryUnload)
        Disparar(QueryUnload);
    else
        hide();
}

void Formulario::mousePressEvent(QMouseEvent *e)
{
    if (!face.isNull())
        arrastar(*this, e);
}

Figura::Figura(QWidget *parent) : QWidget(parent) {}

void Figura::DefinirImagem(const QPixmap &i)
{
    imagem = i;
    resize(imagem.size());
    update();
}

void Figura::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawPixmap(0, 0, imagem);
}

void Figura::mousePressEvent(QMouseEvent *e)
{
    Disparar(MouseDown);
    if (ArrastaJanela)
        arrastar(*this, e);
}

void ControleClicavel::mousePressEvent(QMouseEvent *e)
{
    Click || DblClick ? e->accept() : QLabel::mousePressEvent(e);
}

void ControleClicavel::mouseDoubleClickEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && DblClick)
        Disparar(DblClick);
    else
        QLabel::mouseDoubleClickEvent(e);
}

void ControleClicavel::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        Disparar(Click);
}

Imagem::Imagem(QWidget *parent, const QPixmap &imagem) : ControleClicavel(parent)
{
    DefinirImagem(imagem);
}

void Imagem::DefinirImagem(const QPixmap &imagem)
{
    setPixmap(imagem);
    if (!imagem.isNull())
        resize(imagem.size());
}

Rotulo::Rotulo(QWidget *parent, const QString &caption) : ControleClicavel(caption, parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

Rotulo::Rotulo(QWidget *parent, const QString &caption, int x, int y, int w) : Rotulo(parent, caption)
{
    setGeometry(x, y, w, 21);
}

CaixaTexto::CaixaTexto(QWidget *parent, int maximo) : QLineEdit(parent)
{
    if (maximo > 0)
        setMaxLength(maximo);
    connect(this, &QLineEdit::textChanged, this, [this] { Disparar(Change); });
}

void CaixaTexto::DefinirCaractereSenha(QChar c)
{
    setEchoMode(QLineEdit::Password);
    setStyleSheet(QStringLiteral("lineedit-password-character: %1").arg(int(c.unicode())));
}

void CaixaTexto::keyPressEvent(QKeyEvent *e)
{
    const int codigo = CodigoTecla(*e);
    if (codigo == 0 || !KeyPress)
        return QLineEdit::keyPressEvent(e);
    int mantida = 0;
    Disparar([&] { mantida = KeyPress(codigo); });
    if (mantida == codigo)
        QLineEdit::keyPressEvent(e);
    else if (mantida != 0)
        insert(QString(QChar(char16_t(mantida))));
    e->accept();
}

void CaixaTexto::focusOutEvent(QFocusEvent *e)
{
    QLineEdit::focusOutEvent(e);
    // A popup whose list then takes the focus (a combo box's) sends a second focus-out with
    // another reason; the focus is then in the popup's window, not in this one.
    const QWidget *nova = QApplication::focusWidget();
    if (e->reason() != Qt::PopupFocusReason && e->reason() != Qt::ActiveWindowFocusReason && (!nova || nova->window() == window()))
        Disparar(LostFocus);
}

Botao::Botao(QWidget *parent, const QString &caption) : QPushButton(caption, parent)
{
    connect(this, &QPushButton::clicked, this, [this] { Disparar(Click); });
}

void Botao::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        click();
    else
        QPushButton::keyPressEvent(e);
}

BotaoFigura::BotaoFigura(QWidget *parent, const QPixmap &figura, const QString &dica) : Botao(parent, QString())
{
    setIcon(QIcon(figura));
    setIconSize(figura.size());
    setFlat(true);
    setToolTip(dica);
    setCursor(Qt::PointingHandCursor);
    resize(figura.size() + QSize(6, 6));
}

CaixaSelecao::CaixaSelecao(QWidget *parent, const QString &caption) : QCheckBox(caption, parent)
{
    connect(this, &QCheckBox::clicked, this, [this] { Disparar(Click); });
}

BotaoOpcao::BotaoOpcao(QWidget *parent, const QString &caption) : QRadioButton(caption, parent)
{
    connect(this, &QRadioButton::clicked, this, [this] { Disparar(Click); });
}

CaixaCombinacao::CaixaCombinacao(QWidget *parent, const QStringList &itens) : QComboBox(parent)
{
    setEditable(false);
    addItems(itens);
    connect(this, &QComboBox::activated, this, [this] { Disparar(Click); });
}

Moldura::Moldura(QWidget *parent) : QFrame(parent) {}

Moldura::Moldura(QWidget *parent, const QColor &fundo) : QFrame(parent)
{
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, fundo);
    setPalette(p);
    setFrameShape(QFrame::StyledPanel);
    hide();
}

Temporizador::Temporizador(QObject *parent, int ms) : QObject(parent), intervalo(ms)
{
    relogio.setInterval(ms);
    connect(&relogio, &QTimer::timeout, this, [this] {
        // A shortened first wait is over: back to the whole interval.
        if (relogio.interval() != intervalo)
            relogio.setInterval(intervalo);
        Disparar(Timer);
    });
}

void Temporizador::DefinirIntervalo(int ms)
{
    intervalo = ms;
    relogio.setInterval(ms);
    DefinirAtivo(ativo);
}

void Temporizador::ProximoDisparoEm(int ms)
{
    if (!ativo || intervalo <= 0)
        return;
    relogio.setTimerType(Qt::PreciseTimer);
    relogio.start(ms);
}

void Temporizador::DefinirAtivo(bool a)
{
    ativo = a;
    // A timer with interval 0 never ticks.
    if (ativo && intervalo > 0)
        relogio.start(intervalo);
    else
        relogio.stop();
}

namespace Tela {

int AlturaPixels()
{
    const QScreen *tela = QGuiApplication::primaryScreen();
    return tela ? tela->geometry().height() : 0;
}

QPoint PosicaoMouse()
{
    return QCursor::pos();
}

void Ampulheta(bool ligada)
{
    if (ligada && !ampulhetaLigada)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (!ligada && ampulhetaLigada)
        QApplication::restoreOverrideCursor();
    ampulhetaLigada = ligada;
}

bool AmpulhetaLigada()
{
    return ampulhetaLigada;
}

} // namespace Tela

void AmpulhetaNoFormulario(QWidget &w, bool ligada)
{
    if (ligada)
        w.setCursor(Qt::WaitCursor);
    else
        w.unsetCursor();
}

void Bipe()
{
    ++bipes;
    QApplication::beep();
}

int BipesEmitidos()
{
    return bipes;
}

} // namespace tk
