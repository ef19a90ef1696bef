#pragma once

// The authority list on a demo account per engine, driven as a user drives
// it: toolbar buttons by key, the locate and filter dialog's boxes typed into,
// modal windows answered by the scripted seam.

#include "authority/AuthorityList.h"
#include "data/ModuleState.h"
#include "support/DemoAccount.h"
#include "support/SeamScript.h"
#include "support/TestDatabases.h"
#include "suite/controls/SuperGrid.h"
#include "suite/report/RTPrn.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

namespace authtest {

using testsupport::TestEngine;

inline std::string engineLabel(const ::testing::TestParamInfo<TestEngine> &info)
{
    return testsupport::engineName(info.param);
}

class AuthListFixture : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override
    {
        m_login = testsupport::openDemoAccount(GetParam(), m_db);
        depotbase::setSystemFolder(m_folder.path());
    }

    void TearDown() override { depotbase::setSystemFolder(QString()); }

    // Opens the list as the warehouse list does, runs the script while it is
    // shown, and closes it.
    void runList(const std::function<void(FrmWHAuth &)> &script)
    {
        FrmWHAuth list(AuthListInputs{{m_login, false}, ReportHost{&m_rtPrn, nullptr, nullptr}});
        m_list = &list;
        m_seam->expectWindow(QStringLiteral("FrmWHAuth"), [&](QDialog *) { script(list); });
        list.ShowList();
        m_list = nullptr;
        // Unloading closes the list's print-work database.
        EXPECT_EQ(list.printWork(), nullptr);
    }

    void click(const QString &key)
    {
        QAction *action = m_list->toolbarButton(key);
        ASSERT_NE(action, nullptr) << key.toStdString();
        action->trigger();
    }

    SuperGrid &grid() { return *m_list->SpGrdWAuth(); }

    // Each data row as "operator|warehouse code|show money".
    QStringList shown()
    {
        QStringList rows;
        for (int row = 1; row < grid().Rows(); ++row)
            rows << grid().TextMatrix(row, 0) + "|" + grid().TextMatrix(row, 1) + "|"
                        + grid().TextMatrix(row, 3);
        return rows;
    }

    // The user types into boxes of the dialog (name -> text), leaving each
    // box in turn, and confirms with Enter, which first moves to the confirm
    // button.
    static void fillDialog(QDialog *dialog, const QList<std::pair<QString, QString>> &entries)
    {
        for (const auto &[name, text] : entries) {
            auto *box = dialog->findChild<QComboBox *>(name);
            ASSERT_NE(box, nullptr) << name.toStdString();
            box->setFocus();
            testsupport::typeText(box->lineEdit(), text);
            QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        }
        auto *confirm = dialog->findChild<QPushButton *>(QStringLiteral("Cmd4"));
        ASSERT_NE(confirm, nullptr);
        if (!entries.isEmpty()) {
            EXPECT_TRUE(confirm->hasFocus());
        }
        confirm->click();
    }

    // The next command shows the dialog, which the user fills like this.
    void expectDialog(const QList<std::pair<QString, QString>> &entries)
    {
        m_seam->expectWindow(QStringLiteral("FrmWAFilter"),
                             [entries](QDialog *dialog) { fillDialog(dialog, entries); });
    }

    testsupport::SeamScript m_seam;
    std::unique_ptr<testsupport::TempDatabase> m_db;
    dbkit::DbLoginPtr m_login;
    QTemporaryDir m_folder;
    report::RTPrn m_rtPrn;
    FrmWHAuth *m_list = nullptr;
};

} // namespace authtest
