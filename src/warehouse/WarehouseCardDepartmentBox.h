#pragma once

#include "WarehouseCardDepartments.h"

#include <QString>

class EditBox;
class QWidget;

// The card's department box: which leaf department its text names, checked
// when the focus leaves the box and again before a save, and the reference
// dialog its button (and F2) opens. Every refusal is told over the card.
class WarehouseCardDepartmentBox {
public:
    // Reads the leaf departments for `box` on `card`. The box of a
    // read-only card holds what is stored: it is not checked on leaving and
    // offers no reference.
    void open(dbkit::DbLogin &login, QWidget *card, EditBox *box, bool readOnly);
    void close();

    // The box shows a stored warehouse's department, or none.
    void remember(const QString &code, const QString &name)
    {
        m_departments.remember(code, name);
    }
    // The focus moved from a non-empty box to another control of the card:
    // a text that names no leaf department is refused and the box emptied.
    void checkOnLeaving();
    // Shows the reference dialog; the box takes the chosen department's name.
    void chooseFromReference();
    // Before a save: the box's text resolved by code or name. A text that
    // names no leaf department stops the save, as leaving the box does, so a
    // typo never stores the warehouse without its department; an empty box
    // means none, which by-department accounting refuses. False after
    // telling the user, with the focus in the box.
    bool checkForSave(bool byDepartment);

    // The code of the department the box was last resolved to: what a save
    // stores.
    QString code() const { return m_departments.code(); }

private:
    // True when the box names a leaf department by code or name; the box
    // then shows the name, and the departments hold the code.
    bool find();

    QWidget *m_card = nullptr;
    EditBox *m_box = nullptr;
    bool m_readOnly = false;
    WarehouseCardDepartments m_departments;
};
