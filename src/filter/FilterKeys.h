#pragma once

#include <QValidator>

class QKeyEvent;
class QObject;

// Key rules of the filter dialog's value boxes.
namespace filterkeys {

// True for Enter and Return: in the dialog they move on as Tab does.
bool isEnter(const QKeyEvent &event);

// True when a typed key must be refused (with a beep). Text boxes refuse the
// quote and "|"; the fund quota box takes only digits, "." and Backspace.
// Keys that type nothing (arrows, Delete, Tab, shortcuts) are never refused.
bool isRefused(const QKeyEvent &event, bool quotaBox);

// Keeps pasted or dropped text out of the fund quota box unless it is a
// number made of digits and "." (an optional leading "-" as listed values
// can carry one).
class QuotaValidator : public QValidator {
public:
    explicit QuotaValidator(QObject *parent);
    State validate(QString &input, int &pos) const override;
};

// Leaves the NUL character out of typed, pasted or dropped text (with a
// beep): it would cut the condition short in the statement.
class TextValidator : public QValidator {
public:
    explicit TextValidator(QObject *parent);
    State validate(QString &input, int &pos) const override;
};

} // namespace filterkeys
