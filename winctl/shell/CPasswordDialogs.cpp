#include "shell/CPasswordDialogs.h"

#include "platform/DialogTemplate.h"
#include "platform/ModalDialogs.h"
#include "resources/Resources.h"
#include "shell/Settings.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLineEdit *passwordBox()
{
    auto *box = new QLineEdit;
    box->setEchoMode(QLineEdit::Password);
    box->setMaxLength(int(maxPasswordLength));
    return box;
}

} // namespace

void tellPasswordIncorrect(QWidget *parent)
{
    modal::message(parent, resources::text(resources::PasswordIncorrect), QLatin1String(resources::programName),
                   modal::Icon::Stop);
}

CEnterPasswordDialog::CEnterPasswordDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Enter Your Password"));
    DialogTemplate t(this, 130, 50);
    box_ = t.place(1013, passwordBox(), {7, 7, 116, 14});
    auto *ok = t.place(1, new QPushButton(QStringLiteral("OK")), {40, 29, 50, 14});
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        typedText = box_->text();
        accept();
    });
}

void CEnterPasswordDialog::showEvent(QShowEvent *event)
{
    setWindowTitle(caption.isEmpty() ? QStringLiteral("Enter Your Password") : caption);
    typedText.clear();
    box_->clear();
    box_->setFocus();
    QDialog::showEvent(event);
}

CPasswordDialog::CPasswordDialog(std::string &password, QWidget *parent) : QDialog(parent), password_(password)
{
    setWindowTitle(QStringLiteral("Password"));
    DialogTemplate t(this, 186, 62);
    t.place(0, new QLabel(QStringLiteral("Password:")), {7, 9, 80, 8});
    passwordBox_ = t.place(1013, passwordBox(), {90, 7, 89, 14});
    t.place(0, new QLabel(QStringLiteral("Password confirmation:")), {7, 27, 80, 8});
    confirmationBox_ = t.place(1014, passwordBox(), {90, 25, 89, 14});
    auto *ok = t.place(1, new QPushButton(QStringLiteral("OK")), {68, 43, 50, 14});
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CPasswordDialog::onOk);
}

void CPasswordDialog::showEvent(QShowEvent *event)
{
    passwordBox_->clear();
    confirmationBox_->clear();
    passwordSet = false;
    passwordBox_->setFocus();
    QDialog::showEvent(event);
}

void CPasswordDialog::onOk()
{
    if (passwordBox_->text() != confirmationBox_->text()) {
        tellPasswordIncorrect(this);
        passwordBox_->clear();
        confirmationBox_->clear();
        passwordBox_->setFocus();
        return;
    }
    password_ = passwordBox_->text().toStdString();
    passwordSet = !password_.empty();
    accept();
}
