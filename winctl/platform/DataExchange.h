#pragma once

#include <QString>

#include <optional>

class QLineEdit;

// Reads a number box as the framework's data exchange does: a text that is no integer,
// or one outside min..max, is refused with the framework's standard message, and the
// box takes the focus with its text selected.
std::optional<int> readIntegerBox(QLineEdit *box, int min, int max, const QString &caption);
// Only digits can be typed into the box.
void acceptDigitsOnly(QLineEdit *box);
