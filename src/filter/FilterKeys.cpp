#include "FilterKeys.h"

#include "suite/modal/ModalSeam.h"

#include <QKeyEvent>

namespace filterkeys {

bool isEnter(const QKeyEvent &event)
{
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}

bool isRefused(const QKeyEvent &event, bool quotaBox)
{
    const QString text = event.text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return false;  // Backspace, Tab, navigation and Ctrl combinations
    if (!quotaBox)
        return text.contains(QLatin1Char('\'')) || text.contains(QLatin1Char('|'));
    for (const QChar c : text) {
        if (!(c >= QLatin1Char('0') && c <= QLatin1Char('9')) && c != QLatin1Char('.'))
            return true;
    }
    return false;
}

QuotaValidator::QuotaValidator(QObject *parent) : QValidator(parent) {}

QValidator::State QuotaValidator::validate(QString &input, int &) const
{
    for (qsizetype i = 0; i < input.size(); ++i) {
        const QChar c = input.at(i);
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        if (!digit && c != QLatin1Char('.') && !(i == 0 && c == QLatin1Char('-')))
            return Invalid;
    }
    return Acceptable;
}

TextValidator::TextValidator(QObject *parent) : QValidator(parent) {}

QValidator::State TextValidator::validate(QString &input, int &pos) const
{
    const qsizetype nul = input.indexOf(QChar(0));
    if (nul < 0)
        return Acceptable;
    pos -= int(input.left(pos).count(QChar(0)));
    input.remove(QChar(0));
    modal::beep();
    return Acceptable;
}

} // namespace filterkeys
