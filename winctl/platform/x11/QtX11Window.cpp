#include "platform/x11/QtX11Window.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <string>

namespace {

xcb_connection_t *qtConnection()
{
    auto *x11 = qApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

} // namespace

void setWindowClass(QWidget *window, const char *instance, const char *className)
{
    xcb_connection_t *c = qtConnection();
    if (!c)
        return;
    const std::string value = std::string(instance) + '\0' + className + '\0';
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, xcb_window_t(window->winId()), XCB_ATOM_WM_CLASS, XCB_ATOM_STRING,
                        8, std::uint32_t(value.size()), value.data());
    xcb_flush(c);
}

MapWatch::MapWatch(QWidget *window, std::function<void()> mapped) : window_(window), mapped_(std::move(mapped))
{
    if (qtConnection())
        QCoreApplication::instance()->installNativeEventFilter(this);
}

MapWatch::~MapWatch()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool MapWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    auto *event = static_cast<xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY &&
        reinterpret_cast<xcb_map_notify_event_t *>(event)->window == xcb_window_t(window_->winId()) &&
        !window_->isVisible())
        QMetaObject::invokeMethod(QCoreApplication::instance(), mapped_, Qt::QueuedConnection);
    return false;
}
