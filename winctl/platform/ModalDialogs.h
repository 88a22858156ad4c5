#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QDialog;
class QWidget;

// Every modal dialog of the program opens here, in a nested event loop. Under test,
// scripts answer the dialogs in the order they open, and a dialog that nobody answers
// is refused and reported instead of waiting for a person who never comes.
namespace modal {

// Runs the dialog modally; its result as QDialog::exec gives it.
int run(QDialog &dialog);

enum class Icon { None, Information, Exclamation, Stop };
// A message box with an "OK" button.
void message(QWidget *parent, const QString &text, const QString &caption, Icon icon);

using Script = std::function<void(QDialog &)>;
// From now on a dialog opens only when a script waits for it.
void startScripting();
// The script for the next dialog to open: it runs once the dialog is open and must close it.
void expect(Script script);
// The dialogs that opened without a script or stayed open after theirs, and the scripts
// that no dialog took; all forgotten by the call.
QStringList takeFaults();

} // namespace modal
