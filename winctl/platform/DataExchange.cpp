#include "platform/DataExchange.h"

#include "platform/ModalDialogs.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

std::optional<int> readIntegerBox(QLineEdit *box, int min, int max, const QString &caption)
{
    bool isNumber = false;
    const int value = box->text().trimmed().toInt(&isNumber);
    QString refusal;
    if (!isNumber)
        refusal = QStringLiteral("Please enter an integer.");
    else if (value < min || value > max)
        refusal = QStringLiteral("Please enter an integer between %1 and %2.").arg(min).arg(max);
    if (refusal.isEmpty())
        return value;
    modal::message(box->window(), refusal, caption, modal::Icon::Exclamation);
    box->setFocus();
    box->selectAll();
    return std::nullopt;
}

void acceptDigitsOnly(QLineEdit *box)
{
    box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
}
