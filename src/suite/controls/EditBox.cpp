#include "EditBox.h"

#include "suite/modal/ModalSeam.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QValidator>

namespace {

// Runs every user edit (typing, paste, drop, undo) through the box's rules.
class EditBoxValidator : public QValidator {
public:
    explicit EditBoxValidator(EditBox *box) : QValidator(box), m_box(box) {}

    State validate(QString &input, int &pos) const override
    {
        // Text the program sets, and the text as it stands checked again
        // (e.g. on Enter), are no edits: they may hold anything.
        if (m_box->settingText() || input == m_box->acceptedText())
            return Acceptable;
        bool refused = false;
        const bool ok = m_box->filterInput(input, pos, refused);
        if (refused || !ok)
            modal::beep();
        return ok ? Acceptable : Invalid;
    }

private:
    EditBox *m_box;
};

} // namespace

EditBox::EditBox(QWidget *parent)
    : QLineEdit(parent)
{
    setValidator(new EditBoxValidator(this));
    connect(this, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_accepted = text;
        emit Change();
    });
}

void EditBox::setText(const QString &text)
{
    m_settingText = true;
    QLineEdit::setText(text);
    m_settingText = false;
}

void EditBox::keyPressEvent(QKeyEvent *event)
{
    // A refused key is stopped before it reaches the text, so it changes
    // nothing and sends no Change.
    const QString typed = event->text();
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    if (!command && !typed.isEmpty() && typed.at(0).isPrint()) {
        for (QChar c : typed) {
            if (!allowed(c)) {
                modal::beep();
                event->accept();
                return;
            }
        }
    }
    QLineEdit::keyPressEvent(event);
}

bool EditBox::allowed(QChar c) const
{
    if (m_refused.contains(c))
        return false;
    if (m_numbersOnly)
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.')
               || c == QLatin1Char('-');
    return true;
}

bool EditBox::filterInput(QString &text, int &cursor, bool &refused) const
{
    QString kept;
    kept.reserve(text.size());
    int newCursor = cursor;
    for (int i = 0; i < text.size(); ++i) {
        if (allowed(text.at(i)))
            kept.append(text.at(i));
        else if (i < cursor)
            --newCursor;
    }
    refused = kept.size() != text.size();
    text = kept;
    cursor = std::clamp(newCursor, 0, int(text.size()));
    if (!m_numbersOnly)
        return true;
    static const QRegularExpression number(QStringLiteral("^-?[0-9]*(\\.[0-9]*)?$"));
    return number.match(text).hasMatch();
}

void EditBox::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    emit LostFocus();
}
