#pragma once

// The authority editor on a demo account, driven as a user drives it: tree
// nodes clicked, grid cells typed and committed with the keyboard, toolbar
// buttons pressed, dialogs answered through the scripted seam.

#include "authority/AuthorityEditor.h"
#include "data/Catalogue.h"
#include "support/DemoAccount.h"
#include "support/SeamScript.h"
#include "suite/controls/SuperGrid.h"
#include "suite/controls/TypeAhead.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

namespace authtest {

using EditorScript = std::function<void(FrmAuthority &)>;
using testsupport::typeText;

inline std::string engineLabel(const ::testing::TestParamInfo<testsupport::TestEngine> &info)
{
    return testsupport::engineName(info.param);
}

class AuthorityFixture : public ::testing::TestWithParam<testsupport::TestEngine> {
protected:
    void SetUp() override { m_login = testsupport::openDemoAccount(GetParam(), m_db); }

    // Opens the editor on `login` (the test's own by default), runs the
    // script while it is shown, and destroys it when it has unloaded.
    void runEditor(const EditorScript &script, bool readOnly = false,
                   const dbkit::DbLoginPtr &login = nullptr)
    {
        FrmAuthority editor({login ? login : m_login, readOnly});
        m_seam->expectWindow(QStringLiteral("FrmAuthority"),
                             [&](QDialog *) { script(editor); });
        editor.ShowEditor();
    }

    // Clicks a tree node with the mouse and waits for its rights, which
    // are read off the window's thread.
    static void clickNode(FrmAuthority &editor, const QString &key)
    {
        QTreeWidgetItem *item = editor.node(key);
        ASSERT_NE(item, nullptr) << "no node " << key.toStdString();
        QTreeWidget *tree = editor.authTree();
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(item).center());
        editor.waitForNode();
    }

    // Clicks a grid cell with the mouse.
    static void clickCell(FrmAuthority &editor, int row, int col)
    {
        QTableView *view = editor.authGrid()->view();
        const QRect cell = view->visualRect(view->model()->index(row - 1, col));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    }

    // Types into the grid's current cell, which opens its editor, and
    // commits with Enter.
    static void typeIntoCell(FrmAuthority &editor, int row, int col, const QString &text)
    {
        SuperGrid *grid = editor.authGrid();
        grid->setRow(row);
        grid->setCol(col);
        grid->view()->setFocus();
        typeText(grid->view(), text.left(1));
        QWidget *cellEditor = grid->editor();
        ASSERT_NE(cellEditor, nullptr) << "no editor in " << row << "," << col;
        typeText(cellEditor, text.mid(1));
        QTest::keyClick(cellEditor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }

    // Opens a drop-down cell with Enter, picks the item with the arrows and
    // commits it with Enter. -1 picks nothing.
    static void pickInCell(FrmAuthority &editor, int row, int col, const QString &item)
    {
        SuperGrid *grid = editor.authGrid();
        grid->setRow(row);
        grid->setCol(col);
        grid->view()->setFocus();
        QTest::keyClick(grid->view(), Qt::Key_Return);
        ASSERT_NE(qobject_cast<QComboBox *>(grid->editor()), nullptr)
            << "no drop-down in " << row << "," << col;
        pickInOpenCell(editor, item);
    }

    // Picks the item in the drop-down open in the grid and commits it.
    static void pickInOpenCell(FrmAuthority &editor, const QString &item)
    {
        auto *combo = qobject_cast<QComboBox *>(editor.authGrid()->editor());
        ASSERT_NE(combo, nullptr);
        const int target = combo->findData(item, controls::CodeRole);
        ASSERT_GE(target, 0) << "no item " << item.toStdString();
        QTest::keyClick(combo, Qt::Key_Home);
        for (int i = 0; i < target; ++i)
            QTest::keyClick(combo, Qt::Key_Down);
        QTest::keyClick(combo, Qt::Key_Return);
        QCoreApplication::processEvents();
    }

    static void press(FrmAuthority &editor, const QString &key)
    {
        QAction *action = editor.toolbarButton(key);
        ASSERT_NE(action, nullptr);
        action->trigger();
    }

    static QStringList rowTexts(FrmAuthority &editor, int row)
    {
        QStringList cells;
        for (int c = 0; c < FrmAuthority::ColumnCount; ++c)
            cells << editor.authGrid()->TextMatrix(row, c);
        return cells;
    }

    QVariant value(const QString &sql)
    {
        dbkit::DbDataSetPtr ds = m_login->OpenDataSet(sql);
        return ds->Eof() ? QVariant() : ds->Fields(0);
    }

    long long count(const QString &where)
    {
        return value(QStringLiteral("select count(*) from WarehAuth where ") + where)
            .toLongLong();
    }

    void expectStop(const QString &text)
    {
        m_seam->expectMessage(text, modal::Icon::Critical, modal::Buttons::Ok,
                              depotbase::LoadResString(140), modal::Answer::Ok);
    }

    testsupport::SeamScript m_seam;
    std::unique_ptr<testsupport::TempDatabase> m_db;
    dbkit::DbLoginPtr m_login;
};

} // namespace authtest
