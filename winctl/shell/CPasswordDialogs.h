#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

// "Enter Your Password": one masked box. Opening clears it; only "OK" takes its text.
class CEnterPasswordDialog : public QDialog {
    Q_OBJECT
public:
    explicit CEnterPasswordDialog(QWidget *parent = nullptr);

    QString caption;  // replaces the title while not empty
    QString typedText;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *box_;
};

// "Password": the new password twice. It edits the shared password itself, and only "OK"
// with two equal texts replaces it.
class CPasswordDialog : public QDialog {
    Q_OBJECT
public:
    CPasswordDialog(std::string &password, QWidget *parent = nullptr);

    bool passwordSet = false;  // the accepted password is not empty

protected:
    void showEvent(QShowEvent *event) override;

private:
    void onOk();

    std::string &password_;
    QLineEdit *passwordBox_;
    QLineEdit *confirmationBox_;
};

// "Password is incorrect!" with the program's caption and the stop icon.
void tellPasswordIncorrect(QWidget *parent);
