#pragma once

#include "StoreFixture.h"

#include "CMainDialog.h"
#include "platform/DialogTemplate.h"
#include "platform/ModalDialogs.h"
#include "platform/fake/FakeDesktop.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>

#include <memory>

// The main dialog over an in-memory desktop, under Qt's offscreen platform, with its
// settings in temporary folders. Modal dialogs are answered by scripts; one that opens
// without a script fails the test.
class DialogFixture : public StoreFixture {
protected:
    FakeDesktop desktop;
    std::unique_ptr<CMainDialog> dialog;

    void TearDown() override
    {
        dialog.reset();
        EXPECT_EQ(modal::takeFaults(), QStringList());
        StoreFixture::TearDown();
    }

    // The dialog as the program starts it: settings read, list filled, in the tray.
    void start()
    {
        dialog = std::make_unique<CMainDialog>(desktop);
        ASSERT_TRUE(dialog->initialise({}));
        dialog->trayPresent = true;
        dialog->startInTray();
    }

    WindowHandle add(const std::string &title, const std::string &className = "App", WindowHandle owner = 0)
    {
        return desktop.addWindow(title, className, owner);
    }

    template <typename T = QWidget>
    T *control(int id)
    {
        return DialogTemplate::control<T>(dialog.get(), id);
    }

    QTreeWidget *list() { return dialog->listView(); }
    QString cell(int row, int column) { return list()->topLevelItem(row)->text(column); }
    QStringList column(int c)
    {
        QStringList texts;
        for (int row = 0; row < list()->topLevelItemCount(); ++row)
            texts << cell(row, c);
        return texts;
    }
    int rowOf(const QString &title)
    {
        for (int row = 0; row < list()->topLevelItemCount(); ++row) {
            if (cell(row, 0) == title)
                return row;
        }
        return -1;
    }
    void select(const QString &title)
    {
        const int row = rowOf(title);
        ASSERT_GE(row, 0) << title.toStdString();
        // As a click on the row: it counts even when the row was selected already.
        list()->setCurrentItem(list()->topLevelItem(row));
        emit list()->itemClicked(list()->topLevelItem(row), 0);
    }
    void click(int id) { control<QPushButton>(id)->click(); }

    // Answers the next "Enter Your Password" (or "Old Password") dialog with the text.
    static void typePassword(const QString &text)
    {
        modal::expect([text](QDialog &d) {
            DialogTemplate::control<QLineEdit>(&d, 1013)->setText(text);
            DialogTemplate::control<QPushButton>(&d, 1)->click();
        });
    }
    // Closes the next password dialog without "OK".
    static void cancelDialog()
    {
        modal::expect([](QDialog &d) { d.reject(); });
    }
    // Takes the next message box's text, caption and icon, and presses "OK".
    struct Message {
        QString text, caption;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
    };
    static std::shared_ptr<Message> expectMessage()
    {
        auto seen = std::make_shared<Message>();
        modal::expect([seen](QDialog &d) {
            auto &box = dynamic_cast<QMessageBox &>(d);
            *seen = {box.text(), box.windowTitle(), box.icon()};
            box.button(QMessageBox::Ok)->click();
        });
        return seen;
    }
};
