#pragma once

// A demo account on one engine with the warehouse list set up as the
// component's Init does, plus helpers to drive the list and its card the way
// a user does: controls by name, typed keys, dialogs answered by the seam.

#include "data/AccountSetup.h"
#include "forms/FormSlot.h"
#include "forms/ListDataSet.h"
#include "testdata/GenerateWarehouses.h"
#include "data/Catalogue.h"
#include "data/DataHelpers.h"
#include "data/ModuleState.h"
#include "support/DemoAccount.h"
#include "support/SeamScript.h"
#include "support/TestDatabases.h"
#include "suite/controls/SuperGrid.h"
#include "suite/dbkit/DbError.h"
#include "suite/dbkit/SqlDialect.h"
#include "services/WarehouseQueries.h"
#include "warehouse/WarehouseList.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSqlQuery>
#include <QString>
#include <QTest>
#include <QToolBar>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

namespace whtest {
using namespace depotbase;

using ListScript = std::function<void(frmWHBrowse &)>;
using WindowScript = std::function<void(QDialog *)>;

inline std::string engineLabel(const ::testing::TestParamInfo<testsupport::TestEngine> &info)
{
    return testsupport::engineName(info.param);
}

inline QString caption() { return LoadResString(17); }

using testsupport::typeText;

// A child control of a window by its name; fails the test when missing.
template <typename T = QWidget>
T *control(QWidget *window, const QString &name)
{
    T *found = window->findChild<T *>(name);
    EXPECT_NE(found, nullptr) << "no control " << name.toStdString();
    return found;
}

// Empties an edit box and types the text into it, as a user selecting all
// and typing over it.
inline void retype(QWidget *window, const QString &name, const QString &text)
{
    auto *box = control<QLineEdit>(window, name);
    if (!box)
        return;
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    typeText(box, text);
}

inline QString textOf(QWidget *window, const QString &name)
{
    auto *box = control<QLineEdit>(window, name);
    return box ? box->text() : QString();
}

// A toolbar button of a window by its key (an action named by the key).
inline QAction *button(QWidget *window, const QString &key)
{
    auto *toolbar = control<QToolBar>(window, QStringLiteral("Toolbar1"));
    if (!toolbar)
        return nullptr;
    auto *action = toolbar->findChild<QAction *>(key);
    EXPECT_NE(action, nullptr) << "no toolbar button " << key.toStdString();
    return action;
}

// Sends a key to whatever widget of the window has the focus (the window
// itself when none).
inline void pressKey(QWidget *window, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget *target = QApplication::focusWidget();
    if (!target || target->window() != window)
        target = window;
    QTest::keyClick(target, key, mods);
}

class WarehouseFixture : public ::testing::TestWithParam<testsupport::TestEngine> {
protected:
    void SetUp() override
    {
        m_login = testsupport::openDemoAccount(GetParam(), m_db);
        openListDataSet(false);
    }

    void TearDown() override
    {
        // The list goes with its card and filter dialog, and lets the login go.
        m_list.unload();
        blnBasicVersion = false;
    }

    // What the component's Init does: the list gets the login and the list's
    // data set (read-only when asked).
    void openListDataSet(bool readOnly)
    {
        frmWHBrowse &l = list();
        l.dbs = m_login;
        l.mRecObject = OpenListDataSet(*m_login, services::WarehouseQueries::listStatement(),
                                       readOnly, LoadResString(51));
        ASSERT_NE(l.mRecObject, nullptr);
        m_readOnly = readOnly;
    }

    // Shows the list modally (through the seam) and runs the script while it
    // is shown. The list drops its data set when it unloads, so a second run
    // opens it again.
    void runList(const ListScript &script)
    {
        frmWHBrowse &l = list();
        if (!l.mRecObject)
            openListDataSet(m_readOnly);
        m_seam->expectWindow(QStringLiteral("frmWHBrowse"), [&](QDialog *) { script(l); });
        l.ShowList();
    }

    // The list as the component holds it: made on first use in a test.
    frmWHBrowse &list() { return m_list.get(); }
    SuperGrid &grid() { return *list().SpGrdWH(); }

    // The grid row showing a warehouse code; -1 when none does.
    int rowOf(const QString &code)
    {
        SuperGrid &g = grid();
        for (int row = 1; row < g.Rows(); ++row)
            if (g.TextMatrix(row, 0) == code)
                return row;
        return -1;
    }

    // Selects grid rows from `row` to `rowSel` as a user does.
    void select(int row, int rowSel = -1)
    {
        grid().setRow(row);
        grid().setRowSel(rowSel < 0 ? row : rowSel);
    }

    void selectCode(const QString &code)
    {
        const int row = rowOf(code);
        ASSERT_GT(row, 0) << "no grid row for " << code.toStdString();
        select(row);
    }

    // Runs a list command through its toolbar button.
    void click(const QString &key)
    {
        QAction *action = list().toolbarButton(key);
        ASSERT_NE(action, nullptr);
        action->trigger();
    }

    // Expects the card to open and runs the script in it.
    void expectCard(const WindowScript &script)
    {
        m_seam->expectWindow(QStringLiteral("frmWHCard"), script);
    }

    // Opens the card on a warehouse with a double click on its row.
    void editCode(const QString &code, const WindowScript &script)
    {
        selectCode(code);
        expectCard(script);
        emit grid().DblClick();
    }

    // Expects a refusal: a critical message with the usual caption.
    void expectRefusal(const QString &text)
    {
        m_seam->expectMessage(text, modal::Icon::Critical, modal::Buttons::Ok, caption(),
                              modal::Answer::Ok);
    }

    QVariant value(const QString &sql)
    {
        dbkit::DbDataSetPtr ds = m_login->OpenDataSet(sql);
        return ds->Eof() ? QVariant() : ds->Fields(0);
    }

    long long count(const QString &sql) { return value(sql).toLongLong(); }

    bool warehouseExists(const QString &code)
    {
        return count("SELECT COUNT(*) FROM Warehouse WHERE cWhCode='" + dbkit::quoted(code)
                     + "'") > 0;
    }

    QString warehouseField(const QString &code, const QString &column)
    {
        return NullToEmpty(value("SELECT " + column + " FROM Warehouse WHERE cWhCode='"
                                 + dbkit::quoted(code) + "'"));
    }

    long long locksHeld()
    {
        return count(QStringLiteral("SELECT COUNT(*) FROM LockRecords WHERE cKind='BJ'"));
    }

    // Sets an account option (AccInformation row) for the test.
    void setOption(const QString &system, const QString &name, const QString &val)
    {
        m_login->Execute("UPDATE AccInformation SET cValue='" + dbkit::quoted(val)
                         + "' WHERE cSysID='" + system + "' AND cName='" + name + "'");
    }

    testsupport::SeamScript m_seam;
    std::unique_ptr<testsupport::TempDatabase> m_db;
    dbkit::DbLoginPtr m_login;
    bool m_readOnly = false;
    FormSlot<frmWHBrowse> m_list;
};

} // namespace whtest
