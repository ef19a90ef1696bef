// Editing in the grid: editors by edit style and the editing notifications.
#include "suite/controls/EditBox.h"
#include "suite/controls/GridColors.h"
#include "suite/controls/SuperGrid.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

std::unique_ptr<SuperGrid> editableGrid(int rows)
{
    auto grid = std::make_unique<SuperGrid>();
    grid->resize(600, 300);
    grid->setCols(4);
    grid->setRows(rows + 1);
    grid->setEditable(true);
    grid->show();
    return grid;
}

} // namespace

TEST(SuperGridEdit, ReadOnlyGridNeverEdits)
{
    SuperGrid grid;
    grid.setCols(2);
    grid.setRows(3);
    grid.show();
    EXPECT_FALSE(grid.EditCell());
    QTest::keyClick(grid.view(), Qt::Key_A);
    EXPECT_EQ(grid.editor(), nullptr);
    EXPECT_EQ(grid.TextMatrix(1, 0), "");
}

TEST(SuperGridEdit, TextEditCommitsThroughAfterEdit)
{
    auto grid = editableGrid(3);
    grid->setColLength(0, 5);
    std::vector<QString> seen;
    QObject::connect(grid.get(), &SuperGrid::AfterEdit, grid.get(),
                     [&](int row, int col, QString &text) {
                         // The cell already holds the committed text.
                         seen.push_back(grid->TextMatrix(row, col));
                         if (text == "bad")
                             text.clear();
                     });
    grid->setRow(2);
    ASSERT_TRUE(grid->EditCell());
    auto *line = qobject_cast<QLineEdit *>(grid->editor());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(qobject_cast<EditBox *>(line)->maxLength(), 5);
    QTest::keyClicks(line, "ABCDEFG");
    QTest::keyClick(line, Qt::Key_Return);
    QCoreApplication::processEvents();   // the view commits on Enter, queued
    EXPECT_EQ(grid->TextMatrix(2, 0), "ABCDE");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], "ABCDE");

    // A typed character opens the editor with that character.
    QTest::keyClick(grid->view(), Qt::Key_B);
    ASSERT_NE(grid->editor(), nullptr);
    QTest::keyClicks(grid->editor(), "ad");
    QTest::keyClick(grid->editor(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->TextMatrix(2, 0), "") << "the handler emptied the committed text";

    // Moving to another row commits an open editor first.
    ASSERT_TRUE(grid->EditCell());
    QTest::keyClicks(grid->editor(), "X1");
    grid->setRow(3);
    EXPECT_EQ(grid->TextMatrix(2, 0), "X1");
    EXPECT_EQ(seen.size(), 3u);
}

TEST(SuperGridEdit, BeforeEditKeyPressEditAndLockedCells)
{
    auto grid = editableGrid(2);
    QObject::connect(grid.get(), &SuperGrid::BeforeEdit, grid.get(),
                     [](int, int col, bool &cancel) { cancel = col == 3; });
    QObject::connect(grid.get(), &SuperGrid::KeyPressEdit, grid.get(),
                     [](int, int, int &key) {
                         if (key == '\'')
                             key = 0;
                     });
    grid->setCol(3);
    EXPECT_FALSE(grid->EditCell());

    const uint32_t locked = controls::rgbValue(255, 255, 200);
    grid->setLockBackColor(locked);
    grid->setCol(1);
    grid->setCellBackColor(locked);
    EXPECT_FALSE(grid->EditCell()) << "a cell in the lock colour is read-only";
    grid->setRow(2);
    ASSERT_TRUE(grid->EditCell());
    QTest::keyClicks(grid->editor(), "a'b");
    QTest::keyClick(grid->editor(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->TextMatrix(2, 1), "ab");
}

TEST(SuperGridEdit, DropDownCellOffersTheHandlersItems)
{
    auto grid = editableGrid(2);
    grid->setColEditStyle(3, SuperGrid::EditDropDown);
    int requests = 0;
    QObject::connect(grid.get(), &SuperGrid::ComboDropDown, grid.get(),
                     [&](int row, int col, GridDropDown *list) {
                         ++requests;
                         EXPECT_EQ(row, 1);
                         EXPECT_EQ(col, 3);
                         EXPECT_EQ(list->ListCount(), 0) << "emptied before each request";
                         list->AddItem("是");
                         list->AddItem("否");
                     });
    grid->setCol(3);
    ASSERT_TRUE(grid->EditCell());
    auto *combo = qobject_cast<QComboBox *>(grid->editor());
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 2);
    combo->setCurrentIndex(1);
    grid->setRow(2);   // leaving the cell commits the choice
    EXPECT_EQ(grid->TextMatrix(1, 3), "否");
    EXPECT_EQ(grid->dropDown()->ListIndex(), 1);

    grid->setRow(1);
    ASSERT_TRUE(grid->EditCell());
    combo = qobject_cast<QComboBox *>(grid->editor());
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->currentText(), "否") << "the cell's value is preselected";
    EXPECT_EQ(requests, 2);
}

TEST(SuperGridEdit, ReferenceButtonReportsTheCellAndDropsTheTyping)
{
    auto grid = editableGrid(2);
    grid->setColEditStyle(2, SuperGrid::EditButton);
    QSignalSpy button(grid.get(), &SuperGrid::ButtonClick);
    int after = 0;
    QObject::connect(grid.get(), &SuperGrid::AfterEdit, grid.get(),
                     [&](int, int, QString &) { ++after; });
    QObject::connect(grid.get(), &SuperGrid::ButtonClick, grid.get(), [&](int row, int) {
        grid->setTextMatrix(row, 2, "INV01");
        grid->setTextMatrix(row, 3, "螺丝");
    });
    grid->setRow(2);
    grid->setCol(2);
    ASSERT_TRUE(grid->EditCell());
    auto *line = qobject_cast<QLineEdit *>(grid->editor());
    ASSERT_NE(line, nullptr);
    QTest::keyClicks(line, "typed");
    const QList<QAction *> actions = line->actions();
    ASSERT_FALSE(actions.isEmpty());
    actions.first()->trigger();
    ASSERT_EQ(button.count(), 1);
    EXPECT_EQ(button.at(0).at(0).toInt(), 2);
    EXPECT_EQ(button.at(0).at(1).toInt(), 2);
    EXPECT_EQ(after, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->editor(), nullptr);
    EXPECT_EQ(grid->TextMatrix(2, 2), "INV01");
    EXPECT_EQ(grid->TextMatrix(2, 3), "螺丝");
}

TEST(SuperGridEdit, KeysForDropDownsReferencesAndNewRows)
{
    auto grid = editableGrid(2);
    grid->setColEditStyle(1, SuperGrid::EditDropDown);
    grid->setColEditStyle(2, SuperGrid::EditButton);
    QObject::connect(grid.get(), &SuperGrid::ComboDropDown, grid.get(),
                     [](int, int, GridDropDown *list) {
                         list->AddItem("是");
                         list->AddItem("否");
                     });
    QSignalSpy button(grid.get(), &SuperGrid::ButtonClick);
    QSignalSpy clicks(grid.get(), &SuperGrid::Click);
    QSignalSpy newRows(grid.get(), &SuperGrid::EnterNewRow);
    std::vector<QString> committed;
    QObject::connect(grid.get(), &SuperGrid::AfterEdit, grid.get(),
                     [&](int, int, QString &text) { committed.push_back(text); });
    grid->setTextMatrix(1, 0, "filled");

    // F4 opens the list; an item picked in it commits at once.
    grid->setCol(1);
    QTest::keyClick(grid->view(), Qt::Key_F4);
    auto *combo = qobject_cast<QComboBox *>(grid->editor());
    ASSERT_NE(combo, nullptr);
    EXPECT_TRUE(combo->view()->isVisible());
    combo->view()->setCurrentIndex(combo->model()->index(1, 0));
    QTest::keyClick(combo->view(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->editor(), nullptr);
    EXPECT_EQ(committed, std::vector<QString>{"否"});
    // Arrows on the closed list only move the choice; Esc drops it.
    QTest::keyClick(grid->view(), Qt::Key_Down, Qt::AltModifier);
    combo = qobject_cast<QComboBox *>(grid->editor());
    ASSERT_NE(combo, nullptr);
    combo->hidePopup();
    QTest::keyClick(combo, Qt::Key_Up);
    EXPECT_EQ(committed.size(), 1u);
    QTest::keyClick(combo, Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->TextMatrix(1, 1), "否");

    // Ctrl+R presses the reference button, from the cell or its editor.
    grid->setCol(2);
    EXPECT_TRUE(grid->view()->model()->index(0, 2).data(Qt::ToolTipRole).toString()
                    .contains("Ctrl+R"));
    QTest::keyClick(grid->view(), Qt::Key_R, Qt::ControlModifier);
    QTest::keyClick(grid->view(), Qt::Key_X);
    ASSERT_NE(grid->editor(), nullptr);
    QTest::keyClick(grid->editor(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(button.count(), 2);

    // The keys choosing another row count as a click; an empty row is told.
    QCoreApplication::processEvents();
    QTest::keyClick(grid->view(), Qt::Key_Down);
    EXPECT_EQ(clicks.count(), 1);
    ASSERT_EQ(newRows.count(), 1);
    EXPECT_EQ(newRows.at(0).at(0).toInt(), 2);
    EXPECT_EQ(newRows.at(0).at(2).toInt(), 1);
    QTest::keyClick(grid->view(), Qt::Key_Up);
    EXPECT_EQ(newRows.count(), 1) << "row 1 holds a cell";
}
