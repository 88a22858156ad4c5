#include "platform/ModalDialogs.h"

#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <deque>

namespace modal {

namespace {

struct Scripting {
    bool on = false;
    std::deque<Script> scripts;
    QStringList faults;
};

Scripting &scripting()
{
    static Scripting state;
    return state;
}

QString describe(const QDialog &dialog)
{
    return QStringLiteral("%1 \"%2\"").arg(QString::fromLatin1(dialog.metaObject()->className()), dialog.windowTitle());
}

} // namespace

int run(QDialog &dialog)
{
    Scripting &s = scripting();
    if (!s.on)
        return dialog.exec();
    if (s.scripts.empty()) {
        s.faults << QStringLiteral("no script for ") + describe(dialog);
        return QDialog::Rejected;
    }
    Script script = std::move(s.scripts.front());
    s.scripts.pop_front();
    QPointer<QDialog> open(&dialog);
    QTimer::singleShot(0, &dialog, [open, script = std::move(script)] {
        script(*open);
        if (open && open->isVisible()) {
            scripting().faults << QStringLiteral("still open after its script: ") + describe(*open);
            open->reject();
        }
    });
    return dialog.exec();
}

void message(QWidget *parent, const QString &text, const QString &caption, Icon icon)
{
    QMessageBox box(parent);
    box.setWindowTitle(caption);
    box.setText(text);
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Stop: box.setIcon(QMessageBox::Critical); break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    run(box);
}

void startScripting()
{
    scripting().on = true;
}

void expect(Script script)
{
    scripting().scripts.push_back(std::move(script));
}

QStringList takeFaults()
{
    Scripting &s = scripting();
    QStringList faults;
    faults.swap(s.faults);
    for (std::size_t i = 0; i < s.scripts.size(); ++i)
        faults << QStringLiteral("a script that no dialog took");
    s.scripts.clear();
    return faults;
}

} // namespace modal
