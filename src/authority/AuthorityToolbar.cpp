// The authority editor's toolbar: add a row, delete a row, help, exit.
#include "FrmAuthority.h"

#include "data/Catalogue.h"
#include "suite/controls/GridColors.h"
#include "suite/controls/SuperGrid.h"
#include "suite/modal/ModalSeam.h"

#include <QAction>
#include <QTableView>
#include <QToolBar>
#include <QTreeWidget>

using namespace depotbase;

namespace {

struct Button {
    const char *key;   // "" for the third button, which has no key
    int image;         // 1-based index into ImageList1; 0 for none
    int caption;       // catalogue id; 0 for none
};

constexpr Button Buttons[] = {
    {"addbut", 3, 63}, {"delbut", 4, 9}, {"", 0, 0}, {"helpbut", 5, 14}, {"exitbut", 6, 15},
};

} // namespace

void FrmAuthority::buildToolbar()
{
    const QList<QAction *> old = m_toolbar->actions();
    m_toolbar->clear();
    qDeleteAll(old);
    QWidget *previous = m_grid->view();
    QWidget::setTabOrder(m_tree, previous);
    for (const Button &b : Buttons) {
        const QString key = QLatin1String(b.key);
        auto *action = new QAction(m_toolbar);
        action->setObjectName(key);
        if (b.image > 0)
            action->setIcon(ImageList1.at(b.image - 1));
        if (b.caption > 0) {
            action->setText(LoadResString(b.caption));
            action->setToolTip(LoadResString(b.caption));
        }
        // The third button does nothing, as it never has.
        action->setEnabled(!key.isEmpty());
        connect(action, &QAction::triggered, this, [this, key] {
            if (!key.isEmpty())
                TbarClick(key);
        });
        m_toolbar->addAction(action);
        if (QWidget *button = m_toolbar->widgetForAction(action); button && !key.isEmpty()) {
            button->setObjectName(key + QStringLiteral("Button"));
            // Tab reaches every button; Space presses it.
            button->setFocusPolicy(Qt::TabFocus);
            QWidget::setTabOrder(previous, button);
            previous = button;
        }
    }
}

QAction *FrmAuthority::toolbarButton(const QString &key) const
{
    for (QAction *action : m_toolbar->actions())
        if (!key.isEmpty() && action->objectName() == key)
            return action;
    return nullptr;
}

// The three checks a row must pass before the user leaves it by a command.
bool FrmAuthority::checkRowBeforeLeaving()
{
    bool otherSideFailed = false;
    const bool passed = trap([&] {
        if (!CheckOtherSide(curRow)) {
            otherSideFailed = true;
            return false;
        }
        return CheckShowMoney(curRow) && CheckNoOverlap(curRow);
    });
    if (otherSideFailed)
        m_grid->setRow(curRow);
    return passed;
}

void FrmAuthority::TbarClick(const QString &key)
{
    // A button pressed with the mouse leaves the cell editor open: what was
    // typed is committed first, as leaving the cell would.
    m_grid->EndEdit();
    if (key == QLatin1String("addbut")) {
        if (refuseWhenReadOnly() || !checkRowBeforeLeaving())
            return;
        AddGridRow();
        m_grid->setFinishSetup(false);
        m_grid->setFocus();
    } else if (key == QLatin1String("delbut")) {
        if (refuseWhenReadOnly())
            return;
        if (trap([this] { return DeleteRight(); })) {
            --lastSavedRow;
            curRow = 1;
            if (m_grid->Rows() > 1)
                m_grid->setRow(1);
        }
        toolbarButton(QStringLiteral("delbut"))->setEnabled(false);
    } else if (key == QLatin1String("helpbut")) {
        showHelp();
    } else if (key == QLatin1String("exitbut")) {
        if (checkRowBeforeLeaving())
            accept();
    }
}

void FrmAuthority::AddGridRow()
{
    // An unfinished last row is not doubled.
    if (cell(lastRow(), ColOther).isEmpty())
        return;
    if (m_grid->Rows() > 1 && !CheckRowUnique(curRow)) {
        modal::message(this, QStringLiteral("设置权限重复！"), modal::Icon::None,
                       modal::Buttons::Ok, QString());
        return;
    }
    m_grid->setRows(m_grid->Rows() + 1);
    const int added = lastRow();
    m_grid->setTopRow(added);
    m_grid->setCol(ColOtherName);
    m_grid->setRow(added);
    for (int c : NameColumns) {
        m_grid->setCol(c);
        m_grid->setCellBackColor(controls::nameCellColor);
    }
    m_grid->setCol(ColOther);
}
