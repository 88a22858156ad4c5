#include "platform/DialogTemplate.h"

#include <QFontMetrics>

namespace {

QString controlName(int id)
{
    return QStringLiteral("control%1").arg(id);
}

// Rounds as the integer scaling of dialog units does.
int scale(int value, int base, int divisor)
{
    return int((qint64(value) * base * 2 + divisor) / (2 * divisor));
}

} // namespace

DialogTemplate::DialogTemplate(QWidget *dialog, int width, int height) : dialog_(dialog)
{
    const QFontMetrics metrics(dialog->font());
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    baseWidth_ = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    baseHeight_ = metrics.height();
    const QRect size = toPixels(QRect(0, 0, width, height));
    dialog->setFixedSize(size.size());
}

QRect DialogTemplate::toPixels(const QRect &d) const
{
    return QRect(scale(d.x(), baseWidth_, 4), scale(d.y(), baseHeight_, 8), scale(d.width(), baseWidth_, 4),
                 scale(d.height(), baseHeight_, 8));
}

void DialogTemplate::placeWidget(int id, QWidget *control, const QRect &dialogUnits)
{
    control->setParent(dialog_);
    control->setGeometry(toPixels(dialogUnits));
    if (id != 0)
        control->setObjectName(controlName(id));
}

QWidget *DialogTemplate::control(const QWidget *dialog, int id)
{
    return dialog->findChild<QWidget *>(controlName(id));
}
