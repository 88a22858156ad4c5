#pragma once

#include <QPixmap>
#include <QWidget>

// Lets the user click the window to act on: covers the whole screen, above every other
// window, with a picture of the screen taken just before, so the desktop looks frozen.
// A left click picks its point, any key cancels.
class CScreenPicker : public QWidget {
    Q_OBJECT
public:
    explicit CScreenPicker(QWidget *parent = nullptr);

    // The whole primary screen as it is now; null when it cannot be read.
    static QPixmap grabScreen();
    void showFrozen(const QPixmap &screenshot);

signals:
    // In the screen's device pixels, as window places are; the picker has already closed.
    void pointPicked(QPoint point);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QPixmap screenshot_;
};
