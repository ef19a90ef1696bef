#pragma once

#include <QFrame>

class QLabel;
class QPushButton;

// The bar above the card's boxes that tells that another seat changed or
// deleted the warehouse the card shows. Hidden until told. Its button
// (重新读取, Alt+R) takes no focus, so neither the bar appearing nor a click
// on it moves the user away from the box being typed in.
class WarehouseCardBar : public QFrame {
public:
    explicit WarehouseCardBar(QWidget *parent);

    // Shows `text`; the button is offered only when there is something to
    // read again (not for a deleted warehouse).
    void tell(const QString &text, bool canReload);
    // Hides the bar; the card gives back the height it grew by for it.
    void dismiss();

    QPushButton *reloadButton() const { return m_reload; }

private:
    QLabel *m_text;
    QPushButton *m_reload;
    int m_cardHeight = 0;  // the card's height before the bar showed; 0: not shown
};
