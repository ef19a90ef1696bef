// The authority editor's toolbar (add a row, delete a row, history, help,
// exit) and the ways of leaving the window.
#include "AuthorityEditor.h"

#include "AuthorityEditorToolbar.h"
#include "RightsGrid.h"
#include "data/Catalogue.h"
#include "history/HistoryWindow.h"
#include "suite/controls/SuperGrid.h"
#include "suite/modal/ModalSeam.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QTableView>

namespace text = depotbase::text;

QAction *FrmAuthority::toolbarButton(const QString &key) const
{
    return editortoolbar::button(*m_widgets.toolbar, key);
}

void FrmAuthority::enableCommand(const QString &key, bool enabled)
{
    if (QAction *button = toolbarButton(key))
        button->setEnabled(enabled && !m_rows.readOnly());
}

// The three checks a row must pass before the user leaves it by a command.
bool FrmAuthority::checkRowBeforeLeaving()
{
    // The other side is checked on the grid alone; the cursor goes back to it.
    if (!CheckOtherSide(m_rows.curRow)) {
        m_widgets.grid->setRow(m_rows.curRow);
        return false;
    }
    // A row that cannot be stored says why before it asks for show money:
    // a whole warehouse beside narrowed rights is to be narrowed or deleted.
    return trap([this] {
        return m_rows.fitsStored(m_rows.curRow) && m_rows.saysShowMoney(m_rows.curRow);
    });
}

bool FrmAuthority::mayClose()
{
    // A cell still open is committed first, as leaving it would.
    m_widgets.grid->EndEdit();
    return checkRowBeforeLeaving() && mayDropUnstoredRows();
}

bool FrmAuthority::mayDropUnstoredRows()
{
    // A row with a code but no stored right (its right refused, not yet
    // stored, or deleted meanwhile by another administrator) is lost on
    // closing: the user decides, and "否" goes back to it.
    const std::vector<int> rows = rightsgrid::unstoredRowsWithCode(*m_widgets.grid);
    if (rows.empty())
        return true;
    const int row = rows.front();
    const QString code = m_rows.cell(row, ColOther);
    const QString which =
        rows.size() == 1 ? QStringLiteral("第 %1 行（%2）").arg(QString::number(row), code)
                         : QStringLiteral("第 %1 行（%2）等 %3 行")
                               .arg(QString::number(row), code, QString::number(rows.size()));
    const QString question = which + QStringLiteral("的权限尚未保存，退出后不会保存。")
                             + QChar(13) + QStringLiteral("是否放弃并退出？");
    if (modal::message(this, question, modal::Icon::Question, modal::Buttons::YesNo,
                       depotbase::LoadResString(text::WarehouseRights))
        == modal::Answer::Yes)
        return true;
    m_widgets.grid->setRow(row);
    m_rows.curRow = row;
    m_widgets.grid->setFocus();
    return false;
}

void FrmAuthority::TbarClick(const QString &key)
{
    // A button pressed with the mouse leaves the cell editor open: what was
    // typed is committed first, as leaving the cell would.
    SuperGrid &grid = *m_widgets.grid;
    grid.EndEdit();
    if (key == QLatin1String("addbut")) {
        if (m_rows.refusesWrites() || !checkRowBeforeLeaving())
            return;
        AddGridRow();
        grid.setFinishSetup(false);
        grid.setFocus();
    } else if (key == QLatin1String("delbut")) {
        if (m_rows.refusesWrites())
            return;
        if (trap([this] { return DeleteRight(); })) {
            m_rows.curRow = 1;
            if (grid.Rows() > 1)
                grid.setRow(1);
        }
        enableCommand(QStringLiteral("delbut"), false);
    } else if (key == QLatin1String("histbut")) {
        showHistory();
    } else if (key == QLatin1String("helpbut")) {
        showHelp();
    } else if (key == QLatin1String("exitbut")) {
        if (mayClose())
            accept();
    }
}

void FrmAuthority::AddGridRow()
{
    // An unfinished last row is not doubled.
    if (m_rows.cell(m_rows.lastRow(), ColOther).isEmpty())
        return;
    if (m_widgets.grid->Rows() > 1 && !m_rows.listedOnce(m_rows.curRow)) {
        modal::message(this, QStringLiteral("设置权限重复！"), modal::Icon::None,
                       modal::Buttons::Ok, QString());
        return;
    }
    rightsgrid::appendRow(*m_widgets.grid);
    rightsgrid::markStoreState(*m_widgets.grid, m_rows.lastRow());
}

bool FrmAuthority::DeleteRight()
{
    if (m_rows.refusesWrites())
        return false;
    const int row = m_widgets.grid->Row();
    if (row < 1 || row > m_rows.lastRow()) {
        modal::message(this, QStringLiteral("请选择一行删除!"), modal::Icon::Critical,
                       modal::Buttons::Ok, depotbase::LoadResString(text::MessageCaption));
        return false;
    }
    return m_rows.remove(row);
}

void FrmAuthority::keyPressEvent(QKeyEvent *event)
{
    // The keys run their buttons, and only while those are enabled: Esc
    // leaves as the exit button does.
    const QString command = editortoolbar::commandOfKey(*event);
    QAction *button = command.isEmpty() ? nullptr : toolbarButton(command);
    if (!button) {
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
    if (button->isEnabled())
        TbarClick(command);
}

bool FrmAuthority::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && watched == m_widgets.grid->view()
        && m_widgets.grid->Rows() > 1)
        enableCommand(QStringLiteral("delbut"), true);
    return QDialog::eventFilter(watched, event);
}

void FrmAuthority::closeEvent(QCloseEvent *event)
{
    if (m_loaded && !mayClose()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

// The change history of the selected node: the rights of the operator, or
// the warehouse and its rights; without a node, every change.
void FrmAuthority::showHistory()
{
    HistorySubject subject;
    subject.title = QStringLiteral("全部");
    const RightsNode &shown = m_rows.node;
    if (!shown.code.isEmpty() && shown.kind == services::NodeKind::Operator) {
        subject.filter.rightUser = shown.code;
        subject.title = QStringLiteral("操作员 %1 %2 的权限").arg(shown.code, shown.name);
    } else if (!shown.code.isEmpty()) {
        subject.filter.warehouse = shown.code;
        subject.title = QStringLiteral("仓库 %1 %2").arg(shown.code, shown.name);
    }
    ShowChangeHistory(this, m_account, subject, m_rows.readOnly());
}
