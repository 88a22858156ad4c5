#include "shell/CAboutDialog.h"

#include "platform/DialogTemplate.h"
#include "platform/OpenLink.h"
#include "resources/Resources.h"

#include <QLabel>
#include <QPushButton>

CAboutDialog::CAboutDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About PaneKeeper"));
    DialogTemplate t(this, 200, 76);
    auto *icon = t.place(0, new QLabel, {7, 7, 20, 20});
    icon->setPixmap(resources::programIcon().pixmap(icon->size()));
    t.place(0, new QLabel(QStringLiteral("PaneKeeper Version 1.0")), {35, 7, 158, 10});
    t.place(0, new QLabel(QStringLiteral("Kesto@Utilities")), {35, 19, 158, 10});
    auto *link = t.place(0, new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(QLatin1String(homePage))),
                         {35, 31, 158, 10});
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(link, &QLabel::linkActivated, this, [this](const QString &url) { openLink(this, url); });
    auto *ok = t.place(1, new QPushButton(QStringLiteral("OK")), {143, 55, 50, 14});
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
