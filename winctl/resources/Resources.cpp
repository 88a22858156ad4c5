#include "resources/Resources.h"

#include <QIconEngine>
#include <QPainter>

namespace resources {

QString text(StringId id)
{
    switch (id) {
    case TitleHeading: return QStringLiteral("Title");
    case VisibleHeading: return QStringLiteral("Visible");
    case TopHeading: return QStringLiteral("Top");
    case OpacityHeading: return QStringLiteral("Opacity");
    case HandleHeading: return QStringLiteral("HWND");
    case ProcessHeading: return QStringLiteral("ProcessID");
    case FileHeading: return QStringLiteral("FileName");
    case SettingsCaption: return QStringLiteral("Settings");
    case UnknownError: return QStringLiteral("Unknown error (%1)!");
    case PasswordIncorrect: return QStringLiteral("Password is incorrect!");
    case OldPasswordCaption: return QStringLiteral("Old Password");
    }
    return {};
}

namespace {

class PaneIconEngine : public QIconEngine {
public:
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        const qreal unit = rect.width() / 16.0;
        auto pane = [&](qreal x, qreal y, QColor body, QColor bar) {
            const QRectF frame(rect.x() + x * unit, rect.y() + y * unit, 10 * unit, 9 * unit);
            painter->fillRect(frame, body);
            painter->fillRect(QRectF(frame.topLeft(), QSizeF(frame.width(), 2.5 * unit)), bar);
            painter->setPen(QPen(QColor(20, 30, 60), qMax<qreal>(1, unit * 0.6)));
            painter->drawRect(frame);
        };
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.4);
        pane(1, 1, QColor(200, 210, 225, 150), QColor(120, 130, 150, 150));
        pane(5, 6, QColor(250, 250, 245), QColor(40, 90, 190));
        painter->restore();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap image(size);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return image;
    }

    QIconEngine *clone() const override { return new PaneIconEngine; }
};

} // namespace

QIcon programIcon()
{
    return QIcon(new PaneIconEngine);
}

} // namespace resources
