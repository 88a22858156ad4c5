#pragma once

#include <QAbstractNativeEventFilter>

#include <functional>

class QWidget;

// What the program's own windows need from Qt's X11 connection. Both do nothing on
// other platforms.

// Sets the window's WM_CLASS, through Qt's connection so it follows Qt's own setting.
void setWindowClass(QWidget *window, const char *instance, const char *className);

// Calls back when another program maps the window: Qt does not notice that its hidden
// window was shown from outside, so the program catches up itself.
class MapWatch : public QAbstractNativeEventFilter {
public:
    MapWatch(QWidget *window, std::function<void()> mapped);
    ~MapWatch() override;
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    QWidget *window_;
    std::function<void()> mapped_;
};
