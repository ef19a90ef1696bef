// The lookup window over a real data set: search, choose, cancel.
#include "suite/controls/RefDialog.h"
#include "support/SeamScript.h"
#include "support/TestDatabases.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using testsupport::TempDatabase;
using testsupport::TestEngine;

namespace {

class RefDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        login = db.connect();
        login->Execute("create table Dept (cDepCode varchar(12) primary key, "
                       "cDepName varchar(40), cDepPerson varchar(20))");
        login->Execute("insert into Dept values ('01', '财务部', '张三')");
        login->Execute("insert into Dept values ('02', '销售部', '李四')");
        login->Execute("insert into Dept values ('0201', '销售一部', null)");
        login->Execute("insert into Dept values ('03', 'Warehouse Team', '王五')");
        data = login->OpenDataSet("select cDepCode, cDepName, cDepPerson from Dept "
                                  "order by cDepCode");
        ref.setRefData(data);
        ref.setRefCaption("部门参照");
        ref.setRefColumnTitle(0, "部门编号");
        ref.setRefColumnTitle(1, "部门名称");
        ref.setRefColumnTitle(2, "负责人");
        ref.setRefOption1(0);
        ref.setRefOption2(0);
        ref.setRefOption3(0);
        ref.setRefColumnWidth(0, 1500);
        ref.setRefColumnWidth(1, 2000);
        ref.RefPrepare();
    }

    // Types text the way an input method hands it over, Chinese included.
    static void typeText(QWidget *w, const QString &text)
    {
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &press);
        }
    }
    static QLineEdit *searchBox(QDialog *d) { return d->findChild<QLineEdit *>("txtSearch"); }
    static QTableView *table(QDialog *d) { return d->findChild<QTableView *>("tblRef"); }

    TempDatabase db{TestEngine::SQLite};
    dbkit::DbLoginPtr login;
    dbkit::DbDataSetPtr data;
    testsupport::SeamScript seam;
    RefDialog ref;
};

} // namespace

TEST_F(RefDialogTest, TypingFiltersArrowsMoveAndEnterChooses)
{
    seam->expectWindow("RefDialog", [](QDialog *d) {
        EXPECT_EQ(d->windowTitle(), "部门参照");
        QTableView *tbl = table(d);
        ASSERT_NE(tbl, nullptr);
        EXPECT_EQ(tbl->model()->rowCount(), 4);
        EXPECT_EQ(tbl->model()->headerData(2, Qt::Horizontal).toString(), "负责人");
        EXPECT_EQ(tbl->columnWidth(0), 100);
        EXPECT_EQ(tbl->model()->index(2, 2).data().toString(), "") << "Null shows empty";
        typeText(searchBox(d), "销售");
        EXPECT_EQ(tbl->model()->rowCount(), 2);
        EXPECT_EQ(tbl->currentIndex().row(), 0);
        QTest::keyClick(searchBox(d), Qt::Key_Down);
        QTest::keyClick(searchBox(d), Qt::Key_Down);   // stays on the last match
        EXPECT_EQ(tbl->currentIndex().row(), 1);
        QTest::keyClick(searchBox(d), Qt::Key_Return);
    });
    ref.RefShow();
    ASSERT_TRUE(ref.RefChosen());
    EXPECT_EQ(data->Fields(0).toString(), "0201");
    EXPECT_EQ(data->Fields(1).toString(), "销售一部");
    EXPECT_EQ(ref.RefData()->Fields(0).toString(), "0201") << "RefData is the same data set";
}

TEST_F(RefDialogTest, DoubleClickChoosesAndSearchIgnoresCase)
{
    seam->expectWindow("RefDialog", [](QDialog *d) {
        QTest::keyClicks(searchBox(d), "TEAM");
        QTableView *tbl = table(d);
        ASSERT_EQ(tbl->model()->rowCount(), 1);
        const QPoint p = tbl->visualRect(tbl->model()->index(0, 1)).center();
        // A user's double click: press and release, then the double click.
        QTest::mouseClick(tbl->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(tbl->viewport(), Qt::LeftButton, {}, p);
    });
    ref.RefShow();
    ASSERT_TRUE(ref.RefChosen());
    EXPECT_EQ(data->Fields(0).toString(), "03");
    EXPECT_EQ(data->Fields(2).toString(), "王五");
}

TEST_F(RefDialogTest, EscapeAndEmptyResultsChangeNothing)
{
    data->MoveFirst();
    data->MoveNext();   // on "02"
    ref.RefPrepare();   // reading the rows leaves the data set where it was
    EXPECT_EQ(data->Fields(0).toString(), "02");

    seam->expectWindow("RefDialog", [](QDialog *d) {
        QTest::keyClicks(searchBox(d), "03");
        QTest::keyClick(searchBox(d), Qt::Key_Escape);
        EXPECT_FALSE(d->isVisible());
    });
    ref.RefShow();
    EXPECT_FALSE(ref.RefChosen());
    EXPECT_EQ(data->Fields(0).toString(), "02");

    // Enter with nothing matching: a beep, the window stays open.
    seam->expectWindow("RefDialog", [&](QDialog *d) {
        EXPECT_EQ(searchBox(d)->text(), "") << "each showing starts a new search";
        QTest::keyClicks(searchBox(d), "zzz");
        QTest::keyClick(searchBox(d), Qt::Key_Return);
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(seam->beeps(), 1);
    });
    ref.RefShow();
    EXPECT_FALSE(ref.RefChosen());
    EXPECT_EQ(data->Fields(0).toString(), "02");

    // A new data set (after a requery) is read again when shown.
    login->Execute("insert into Dept values ('04', '新部门', null)");
    data->Requery();
    ref.setRefData(data);
    seam->expectWindow("RefDialog", [](QDialog *d) {
        typeText(searchBox(d), "新");
        QTest::keyClick(searchBox(d), Qt::Key_Return);
    });
    ref.RefShow();
    ASSERT_TRUE(ref.RefChosen());
    EXPECT_EQ(data->Fields(0).toString(), "04");
}

// The buttons answer to Alt+C and Alt+O from the search box (a pressed
// mnemonic clicks its button a moment later, as a mouse click shows).
TEST_F(RefDialogTest, AltKeysPressTheButtons)
{
    auto pressAlt = [](QDialog *d, Qt::Key key) {
        QApplication::setActiveWindow(d);   // shortcuts reach the active window only
        typeText(searchBox(d), "财务");
        QTest::keyClick(searchBox(d), key, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([d] { return !d->isVisible(); }, 2000));
    };
    seam->expectWindow("RefDialog", [&](QDialog *d) { pressAlt(d, Qt::Key_C); });
    ref.RefShow();
    EXPECT_FALSE(ref.RefChosen());
    seam->expectWindow("RefDialog", [&](QDialog *d) { pressAlt(d, Qt::Key_O); });
    ref.RefShow();
    ASSERT_TRUE(ref.RefChosen());
    EXPECT_EQ(data->Fields(0).toString(), "01");
}

TEST(RefDialogLifetime, WindowOwnerMayGoFirst)
{
    auto *owner = new QWidget;
    auto *ref = new RefDialog(owner);
    ref->RefPrepare();
    ASSERT_NE(ref->window(), nullptr);
    EXPECT_EQ(ref->window()->objectName(), "RefDialog");
    delete owner;   // takes the window and the dialog object with it, once each
}
