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
        bool ok = m_box->filterInput(input, pos, refused);
        if (ok && m_box->cutToMaxLength(input, pos)) {
            refused = true;
            // Nothing of the edit fits: the text stays as it was.
            ok = input != m_box->acceptedText();
        }
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

int EditBox::characterCount(const QString &text)
{
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        ++count;
    }
    return count;
}

bool EditBox::cutToMaxLength(QString &text, int &cursor) const
{
    const int total = characterCount(text);
    if (total <= m_maxChars)
        return false;
    // What the edit inserted: the part between what it kept of the old text
    // in front and behind, widened so that no surrogate pair is split.
    const QString &old = m_accepted;
    qsizetype front = 0;
    while (front < old.size() && front < text.size() && old.at(front) == text.at(front))
        ++front;
    if (front > 0 && text.at(front - 1).isHighSurrogate())
        --front;
    qsizetype back = 0;
    while (back < old.size() - front && back < text.size() - front
           && old.at(old.size() - 1 - back) == text.at(text.size() - 1 - back))
        ++back;
    if (back > 0 && text.at(text.size() - back).isLowSurrogate())
        --back;
    const QString inserted = text.mid(front, text.size() - front - back);
    const int room = m_maxChars - (total - characterCount(inserted));
    qsizetype keep = 0;
    for (int n = 0; n < room && keep < inserted.size(); ++n) {
        const bool pair = inserted.at(keep).isHighSurrogate() && keep + 1 < inserted.size()
                          && inserted.at(keep + 1).isLowSurrogate();
        keep += pair ? 2 : 1;
    }
    text = text.left(front) + inserted.left(keep) + text.right(back);
    cursor = int(front + keep);
    return true;
}

bool EditBox::allowed(QChar c) const
{
    if (c.isNull() || m_refused.contains(c))
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
    if (!number.match(text).hasMatch())
        return false;
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    return m_decimals < 0 || dot < 0 || text.size() - dot - 1 <= m_decimals;
}

void EditBox::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    emit LostFocus();
}
