// The filter dialog as a user drives it, on a demo account per engine.
#include "data/ModuleState.h"
#include "filter/FilterDialog.h"
#include "forms/FormSlot.h"
#include "services/WarehouseQueries.h"
#include "support/DemoAccount.h"
#include "support/SeamScript.h"
#include "support/TestDatabases.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QAbstractItemView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

using namespace depotbase;

using testsupport::TestEngine;
using testsupport::typeText;

namespace {

using Script = std::function<void(QDialog *)>;

QComboBox *box(QDialog *w, const char *name)
{
    auto *found = w->findChild<QComboBox *>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QPushButton *button(QDialog *w, const char *name)
{
    auto *found = w->findChild<QPushButton *>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QStringList items(QComboBox *b)
{
    QStringList list;
    for (int i = 0; i < b->count(); ++i)
        list << b->itemText(i);
    return list;
}

void click(QDialog *w, const char *name)
{
    QTest::mouseClick(button(w, name), Qt::LeftButton);
}

class FilterDialogTest : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override
    {
        m_login = testsupport::openDemoAccount(GetParam(), m_db);
    }

    void TearDown() override
    {
        m_filter.unload();
        blnBasicVersion = false;
    }

    // Shows the dialog as the list does and runs the script in it; returns
    // the condition of the filter confirmed, or `cancelled`.
    QString run(const Script &script, const QString &cancelled = QString())
    {
        frmFilter &f = m_filter.get();
        services::WarehouseQueries queries(*m_login);
        f.queries = &queries;
        m_seam->expectWindow(QStringLiteral("frmFilter"), script);
        const bool confirmed = f.ShowFilter(QStringLiteral("过滤条件"));
        f.queries = nullptr;
        EXPECT_TRUE(m_seam->verifyDone());
        EXPECT_FALSE(f.isVisible());
        return confirmed ? services::filterCondition(f.choice()) : cancelled;
    }

    long long matches(const QString &condition)
    {
        auto ds = m_login->OpenDataSet("SELECT COUNT(*) FROM Department RIGHT JOIN Warehouse "
                                       "ON Department.cDepCode = Warehouse.cDepCode WHERE "
                                       + condition);
        return ds->Fields(0).toLongLong();
    }

    testsupport::SeamScript m_seam;
    std::unique_ptr<testsupport::TempDatabase> m_db;
    dbkit::DbLoginPtr m_login;
    FormSlot<frmFilter> m_filter;
};

TEST_P(FilterDialogTest, LoadsCaptionsAndStartsEmptyEveryTime)
{
    auto check = [](QDialog *w) {
        EXPECT_EQ(w->windowTitle(), "过滤条件");
        EXPECT_EQ(w->property("HelpContextID").toInt(), 31100041);
        const QStringList labels{"lblWHCode",  "lblWHName",      "lblWHDep",
                                 "lblWHPerson", "lblWHPhone",     "lblWHFundQuota",
                                 "lblWHValueStyle", "lblWHAddress", "lblWHMemo"};
        const QStringList captions{"仓库编码", "仓库名称", "所属部门", "负责人", "电话",
                                   "资金定额", "计价方式", "仓库地址", "备注"};
        for (int i = 0; i < labels.size(); ++i) {
            auto *label = w->findChild<QLabel *>(labels[i]);
            ASSERT_NE(label, nullptr) << labels[i].toStdString();
            EXPECT_EQ(label->text(), captions[i]);
            auto *value = w->findChild<QPushButton *>(QStringLiteral("cmdValue%1").arg(i + 1));
            ASSERT_NE(value, nullptr);
            EXPECT_EQ(value->text(), "可能取值");
        }
        for (const char *name : {"cboWHCode", "cboWHMemo", "cboWHFundQuota"}) {
            EXPECT_TRUE(box(w, name)->isEditable());
            EXPECT_EQ(box(w, name)->currentText(), "");
            EXPECT_EQ(box(w, name)->count(), 0);
        }
        auto *chk = w->findChild<QCheckBox *>("chkWHPos");
        ASSERT_NE(chk, nullptr);
        EXPECT_EQ(chk->text(), "是否货位管理");
        EXPECT_EQ(chk->checkState(), Qt::PartiallyChecked);
        EXPECT_TRUE(chk->isVisible());
    };
    // First showing: fill it, then confirm.
    const QString first = run([&](QDialog *w) {
        check(w);
        typeText(box(w, "cboWHCode"), "01");
        click(w, "cmdValue2");
        w->findChild<QCheckBox *>("chkWHPos")->setChecked(true);
        click(w, "cmdYes");
    });
    EXPECT_EQ(first, "cWHCode='01' And bWHPos=1");
    // The next showing starts empty again.
    run([&](QDialog *w) { check(w); });
}

TEST_P(FilterDialogTest, BasicVersionHidesThePositionBox)
{
    blnBasicVersion = true;
    const QString sel = run([](QDialog *w) {
        EXPECT_FALSE(w->findChild<QCheckBox *>("chkWHPos")->isVisible());
        click(w, "cmdYes");
    });
    EXPECT_EQ(sel, "");
}

TEST_P(FilterDialogTest, ConfirmBuildsAConditionTheDatabaseAccepts)
{
    const QString both = run([](QDialog *w) {
        typeText(box(w, "cboWHCode"), "03");
        typeText(box(w, "cboWHName"), "半成品库");
        click(w, "cmdYes");
    });
    EXPECT_EQ(both, "cWHCode='03' And cWHName='半成品库'");
    EXPECT_EQ(matches(both), 1);

    const QString quota = run([](QDialog *w) {
        typeText(box(w, "cboWHFundQuota"), "3.14");
        typeText(box(w, "cboWHDep"), "生产部");
        w->findChild<QCheckBox *>("chkWHPos")->setCheckState(Qt::Unchecked);
        click(w, "cmdYes");
    });
    EXPECT_EQ(quota, "cDepName='生产部' And round(iWHFundQuota,2) =3.14 And "
                     "(bWHPos=0 Or bWHPos Is Null)");
    EXPECT_EQ(matches(quota), 1);
}

TEST_P(FilterDialogTest, CancelConfirmsNothingAndEscIsCancel)
{
    const QString sel = run(
        [](QDialog *w) {
            typeText(box(w, "cboWHCode"), "01");
            w->findChild<QCheckBox *>("chkWHPos")->setChecked(true);
            click(w, "cmdNo");
        },
        QStringLiteral("cancelled"));
    EXPECT_EQ(sel, "cancelled");

    const QString esc = run(
        [](QDialog *w) {
            typeText(box(w, "cboWHName"), "x");
            QTest::keyClick(box(w, "cboWHName"), Qt::Key_Escape);
            EXPECT_FALSE(w->isVisible());
        },
        QStringLiteral("cancelled"));
    EXPECT_EQ(esc, "cancelled");
}

TEST_P(FilterDialogTest, KeyRulesRefuseQuotesAndBarsAndKeepTheQuotaNumeric)
{
    const QString sel = run([&](QDialog *w) {
        typeText(box(w, "cboWHName"), "a'b|c d");
        EXPECT_EQ(box(w, "cboWHName")->currentText(), "abc d");
        EXPECT_EQ(m_seam->beeps(), 2);

        QComboBox *quota = box(w, "cboWHFundQuota");
        typeText(quota, "1x2 .5-");
        EXPECT_EQ(quota->currentText(), "12.5");
        EXPECT_EQ(m_seam->beeps(), 5);
        typeText(quota, "9");
        QTest::keyClick(quota, Qt::Key_Backspace);
        EXPECT_EQ(quota->currentText(), "12.5");
        EXPECT_EQ(m_seam->beeps(), 5);

        // Pasting gets round the keys: a quote in a text box stays and is
        // doubled in the condition; a quota box refuses anything but a number.
        QApplication::clipboard()->setText(QStringLiteral("O'Brien"));
        QComboBox *person = box(w, "cboWHPerson");
        person->lineEdit()->paste();
        EXPECT_EQ(person->currentText(), "O'Brien");
        QApplication::clipboard()->setText(QStringLiteral("1 Or 1=1"));
        quota->lineEdit()->paste();
        EXPECT_EQ(quota->currentText(), "12.5");
        click(w, "cmdYes");
    });
    EXPECT_EQ(sel, "cWHName='abc d' And cWHPerson='O''Brien' And round(iWHFundQuota,1) =12.5");
    EXPECT_EQ(matches(sel), 0);
}

// Enter moves on as Tab does, picks a value in an open value list, and
// presses a focused 确定.
TEST_P(FilterDialogTest, EnterMovesOnPicksFromTheListAndConfirmsOnYes)
{
    const QString sel = run([](QDialog *w) {
        QComboBox *code = box(w, "cboWHCode");
        code->setFocus();
        QTest::keyClick(code, Qt::Key_Return);
        EXPECT_EQ(w->focusWidget(), button(w, "cmdValue1"));
        QTest::keyClick(button(w, "cmdValue1"), Qt::Key_Enter);
        EXPECT_EQ(w->focusWidget(), box(w, "cboWHName"));
        typeText(box(w, "cboWHName"), "x");
        QTest::keyClick(box(w, "cboWHName"), Qt::Key_Return);
        // The typed text is not added to the list.
        EXPECT_EQ(box(w, "cboWHName")->count(), 0);

        // The listed values open with F4; Down and Enter pick the second.
        click(w, "cmdValue1");
        code->setFocus();
        QTest::keyClick(code, Qt::Key_F4);
        QWidget *popup = code->view();
        ASSERT_TRUE(popup->isVisible());
        QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
        EXPECT_FALSE(popup->isVisible());
        EXPECT_EQ(code->currentText(), "02");
        EXPECT_EQ(w->focusWidget(), code) << "picking does not move on";
        // A platform that hands Enter to the box behind the open list
        // picks too, rather than moving on.
        QTest::keyClick(code, Qt::Key_F4);
        QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(code->lineEdit(), Qt::Key_Return);
        EXPECT_FALSE(popup->isVisible());
        EXPECT_EQ(code->currentText(), "03");
        EXPECT_EQ(w->focusWidget(), code);
        EXPECT_TRUE(w->isVisible());

        QPushButton *yes = button(w, "cmdYes");
        yes->setFocus();
        QTest::keyClick(yes, Qt::Key_Return);
        EXPECT_FALSE(w->isVisible());
    });
    EXPECT_EQ(sel, "cWHCode='03' And cWHName='x'");
}

TEST_P(FilterDialogTest, ValueButtonsListEachValueOnce)
{
    const QString sel = run([&](QDialog *w) {
        QComboBox *code = box(w, "cboWHCode");
        typeText(code, "0");
        click(w, "cmdValue1");
        EXPECT_EQ(items(code), QStringList({"01", "02", "03", "04", "05", "06", "07", "08",
                                            "09", "10", "11", "12"}));
        EXPECT_EQ(code->currentText(), "0");  // the typed text stays

        // Department names in the grid's order (pinyin), not by code point;
        // warehouses without a department (or with a vanished one) add nothing.
        QComboBox *dep = box(w, "cboWHDep");
        click(w, "cmdValue3");
        EXPECT_EQ(items(dep), QStringList({"人事科", "设备采购组", "生产部", "销售部", "行政科",
                                           "原料采购组"}));
        EXPECT_EQ(dep->currentText(), "");

        // An address of warehouses in three departments is listed once.
        QComboBox *address = box(w, "cboWHAddress");
        click(w, "cmdValue8");
        EXPECT_EQ(items(address).count("苏州市工业园区星湖街90号"), 1);

        QComboBox *quota = box(w, "cboWHFundQuota");
        click(w, "cmdValue6");
        // 0 is the quota of two warehouses in 原料采购组 and one in 销售部.
        EXPECT_EQ(items(quota).count("0"), 1) << items(quota).join(',').toStdString();
        EXPECT_TRUE(items(quota).contains("1500.25"));
        EXPECT_TRUE(items(quota).contains("50000"));

        // Pressed again, the list is read afresh: another operator's new
        // warehouse appears, nothing is listed twice.
        auto other = m_db->connect("other", "PC2");
        other->Execute("INSERT INTO Warehouse (cWhCode, cWhName, cDepCode, bWhPos) "
                       "VALUES ('13', 'New', '03', 0)");
        click(w, "cmdValue1");
        EXPECT_EQ(code->count(), 13);
        EXPECT_EQ(code->itemText(12), "13");
        EXPECT_EQ(code->currentText(), "0");

        // Picking a listed value puts it into the condition.
        dep->setCurrentIndex(dep->findText("生产部"));
        click(w, "cmdYes");
    });
    EXPECT_EQ(sel, "cWHCode='0' And cDepName='生产部'");
}

INSTANTIATE_TEST_SUITE_P(Engines, FilterDialogTest,
                         ::testing::ValuesIn(testsupport::allEngines()),
                         [](const auto &engine) { return testsupport::engineName(engine.param); });

} // namespace
