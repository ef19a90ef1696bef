#pragma once

#include <QLineEdit>
#include <QString>

class QFocusEvent;
class QKeyEvent;

// The suite's edit box: a line edit with a maximum length, a set of refused
// characters and a numbers-only mode. A refused character, typed or inside
// pasted or dropped text, is left out and the box beeps; the NUL character is
// always refused, since it would cut a statement short. In numbers-only mode
// the text may hold digits, one "." and a leading "-" (put "-" among the
// refused characters to refuse it), and at most the set number of decimals.
// Text set by the program is taken as it is, never cut to the maximum length.
//
// The maximum length counts characters (code points) as the database does,
// not UTF-16 units: a character beyond the Basic Multilingual Plane counts
// once. Text typed or pasted beyond it is cut at a character boundary.
class EditBox : public QLineEdit {
    Q_OBJECT
public:
    explicit EditBox(QWidget *parent = nullptr);

    QString Text() const { return text(); }
    // Sets the text as it is, without the input rules.
    void setText(const QString &text);
    bool settingText() const { return m_settingText; }
    void setRefusedChars(const QString &chars) { m_refused = chars; }
    QString RefusedChars() const { return m_refused; }
    void setNumbersOnly(bool numbersOnly) { m_numbersOnly = numbersOnly; }
    bool NumbersOnly() const { return m_numbersOnly; }
    // Most decimals a number may have in numbers-only mode; -1: no limit.
    void setDecimals(int decimals) { m_decimals = decimals; }
    // In characters; hides QLineEdit's, which counts UTF-16 units and cuts
    // text the program sets.
    void setMaxLength(int characters) { m_maxChars = characters; }
    int maxLength() const { return m_maxChars; }

    // Characters (code points) of a text: a surrogate pair counts once.
    static int characterCount(const QString &text);

    // Applies the box's rules to text being entered: refused characters are
    // removed (`refused` tells whether any were); false when what is left is
    // not acceptable at all (not a number in numbers-only mode).
    bool filterInput(QString &text, int &cursor, bool &refused) const;

    // The text as of the last change, before an edit in progress.
    QString acceptedText() const { return m_accepted; }

    // Cuts what an edit inserted into the accepted text so that the text
    // keeps to the maximum length; true when something had to go.
    bool cutToMaxLength(QString &text, int &cursor) const;

signals:
    // The text changed, by the user or the program.
    void Change();
    // The box lost the keyboard focus.
    void LostFocus();

protected:
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool allowed(QChar c) const;

    QString m_refused;
    QString m_accepted;
    bool m_numbersOnly = false;
    bool m_settingText = false;
    int m_decimals = -1;
    int m_maxChars = 32767;
};
