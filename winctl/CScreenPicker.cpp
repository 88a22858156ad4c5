#include "CScreenPicker.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

CScreenPicker::CScreenPicker(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setCursor(Qt::CrossCursor);
}

QPixmap CScreenPicker::grabScreen()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->grabWindow(0) : QPixmap();
}

void CScreenPicker::showFrozen(const QPixmap &screenshot)
{
    screenshot_ = screenshot;
    if (QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(QRect(QPoint(0, 0), screen->size()));
    showFullScreen();
    raise();
    activateWindow();
    grabKeyboard();
}

void CScreenPicker::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, screenshot_);
}

void CScreenPicker::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // Windows' places are in the X server's pixels, Qt's points in pixels scaled by the
    // screen's ratio (QT_SCALE_FACTOR) about the screen's corner, which both share.
    const QScreen *shown = screen();
    const QPointF corner = shown->geometry().topLeft();
    const QPoint point = ((event->globalPosition() - corner) * shown->devicePixelRatio() + corner).toPoint();
    hide();
    emit pointPicked(point);
}

void CScreenPicker::keyPressEvent(QKeyEvent *)
{
    hide();
}

void CScreenPicker::hideEvent(QHideEvent *event)
{
    releaseKeyboard();
    screenshot_ = QPixmap();
    QWidget::hideEvent(event);
}
