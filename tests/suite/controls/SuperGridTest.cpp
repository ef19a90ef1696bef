// The grid's rows, cells, columns, colours, redraw, keyboard and mouse.
#include "suite/controls/GridColors.h"
#include "suite/controls/SuperGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QPalette>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A shown grid with `cols` columns and `rows` data rows "r<row>c<col>".
std::unique_ptr<SuperGrid> makeGrid(int rows, int cols = 3)
{
    auto grid = std::make_unique<SuperGrid>();
    grid->resize(600, 300);
    grid->setCols(cols);
    for (int c = 0; c < cols; ++c)
        grid->setTextMatrix(0, c, QString("title%1").arg(c));
    for (int r = 1; r <= rows; ++r) {
        grid->setRows(grid->Rows() + 1);
        for (int c = 0; c < cols; ++c)
            grid->setTextMatrix(r, c, QString("r%1c%2").arg(r).arg(c));
    }
    grid->show();
    return grid;
}

QAbstractItemModel *model(SuperGrid &grid)
{
    return grid.view()->model();
}

QPoint cellCenter(SuperGrid &grid, int row, int col)
{
    return grid.view()->visualRect(model(grid)->index(row - 1, col)).center();
}

} // namespace

TEST(SuperGrid, TitleRowIsTheHeaderAndRowsCountIt)
{
    SuperGrid grid;
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.Row(), 0);
    grid.setCols(3);
    grid.setTextMatrix(0, 1, "仓库名称");
    EXPECT_EQ(model(grid)->headerData(1, Qt::Horizontal).toString(), "仓库名称");
    EXPECT_EQ(model(grid)->rowCount(), 0);

    grid.setRows(grid.Rows() + 1);
    grid.setRows(grid.Rows() + 1);
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(model(grid)->rowCount(), 2);
    EXPECT_EQ(grid.Row(), 1) << "the first data row becomes current";
    grid.setTextMatrix(2, 2, "x");
    EXPECT_EQ(grid.TextMatrix(2, 2), "x");
    EXPECT_EQ(model(grid)->index(1, 2).data().toString(), "x");
    EXPECT_EQ(grid.TextMatrix(1, 2), "");

    // Outside the grid: nothing is read or written.
    grid.setTextMatrix(3, 0, "lost");
    grid.setTextMatrix(1, 3, "lost");
    EXPECT_EQ(grid.TextMatrix(3, 0), "");
    EXPECT_EQ(grid.Rows(), 3);
}

TEST(SuperGrid, RemoveItemMovesRowsUpAndRowsOneEmpties)
{
    auto grid = makeGrid(3);
    grid->setRow(3);
    grid->RemoveItem(1);
    EXPECT_EQ(grid->Rows(), 3);
    EXPECT_EQ(grid->TextMatrix(1, 0), "r2c0");
    EXPECT_EQ(grid->TextMatrix(2, 1), "r3c1");
    EXPECT_EQ(grid->Row(), 2) << "the current row stays on an existing row";
    grid->RemoveItem(0);   // the title row cannot be removed
    EXPECT_EQ(grid->TextMatrix(0, 0), "title0");
    grid->RemoveItem(2);
    grid->RemoveItem(1);
    EXPECT_EQ(grid->Rows(), 1);
    EXPECT_EQ(grid->Row(), 0);
    EXPECT_EQ(grid->RowSel(), 0);
    EXPECT_EQ(model(*grid)->rowCount(), 0);

    auto other = makeGrid(5);
    other->setRows(1);
    EXPECT_EQ(other->Rows(), 1);
    EXPECT_EQ(other->TextMatrix(0, 2), "title2") << "titles stay";
    other->setRows(2);
    EXPECT_EQ(other->TextMatrix(1, 0), "") << "a row added again starts empty";
}

TEST(SuperGrid, CuttingALongListKeepsTheFirstRowsAndTheViewFollows)
{
    // A filter cuts thousands of rows at once; those are freed off the UI
    // thread, and what stays must be the rows that were first.
    auto grid = makeGrid(3);
    grid->setRows(5001);
    grid->setTextMatrix(5000, 1, "last");
    grid->setRow(4000);
    grid->setRows(3);
    EXPECT_EQ(grid->Rows(), 3);
    EXPECT_EQ(model(*grid)->rowCount(), 2);
    EXPECT_EQ(grid->TextMatrix(0, 1), "title1");
    EXPECT_EQ(grid->TextMatrix(2, 2), "r2c2");
    EXPECT_EQ(grid->Row(), 2) << "the current row moves onto an existing row";
    grid->setRows(5001);
    EXPECT_EQ(grid->TextMatrix(5000, 1), "") << "dropped rows do not come back";
    EXPECT_EQ(model(*grid)->rowCount(), 5000);
}

TEST(SuperGrid, ClearEmptiesCellsTitlesAndColoursButKeepsTheSize)
{
    auto grid = makeGrid(2);
    grid->setCellBackColorAt(1, 1, controls::rgbValue(255, 255, 200));
    grid->Clear();
    EXPECT_EQ(grid->Rows(), 3);
    EXPECT_EQ(grid->Cols(), 3);
    EXPECT_EQ(grid->TextMatrix(0, 0), "");
    EXPECT_EQ(grid->TextMatrix(2, 2), "");
    EXPECT_EQ(grid->cellBackColorAt(1, 1), 0x80000005u);
}

TEST(SuperGrid, ColumnWidthsAreTwipsAndZeroHides)
{
    auto grid = makeGrid(2, 10);
    grid->setColWidth(1, 1500);
    EXPECT_EQ(grid->ColWidth(1), 1500);
    EXPECT_EQ(grid->view()->columnWidth(1), 100);
    grid->setColWidth(7, 0);
    EXPECT_EQ(grid->ColWidth(7), 0);
    EXPECT_TRUE(grid->view()->isColumnHidden(7));
    EXPECT_EQ(grid->TextMatrix(2, 7), "r2c7") << "a hidden column keeps its cells";
    grid->setColWidth(7, 1200);
    EXPECT_FALSE(grid->view()->isColumnHidden(7));
    EXPECT_EQ(grid->view()->columnWidth(7), 80);

    // Widths set while Redraw is off are shown when it comes back on.
    grid->setRedraw(false);
    grid->setColWidth(2, 3000);
    grid->setColWidth(3, 0);
    grid->setRedraw(true);
    EXPECT_EQ(grid->view()->columnWidth(2), 200);
    EXPECT_TRUE(grid->view()->isColumnHidden(3));

    // A width the user drags is read back in twips.
    grid->view()->horizontalHeader()->resizeSection(4, 90);
    EXPECT_EQ(grid->ColWidth(4), 1350);

    grid->setColKind(8, SuperGrid::KindNumeric);
    const int align = model(*grid)->index(0, 8).data(Qt::TextAlignmentRole).toInt();
    EXPECT_TRUE(align & Qt::AlignRight);
    EXPECT_FALSE(model(*grid)->index(0, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
}

TEST(SuperGrid, ColoursFollowTheRgbAndSystemEncodings)
{
    const QPalette pal = QApplication::palette();
    EXPECT_EQ(controls::toQColor(0x000000FFu), QColor(255, 0, 0)) << "0x00BBGGRR";
    EXPECT_EQ(controls::toQColor(controls::rgbValue(255, 255, 200)), QColor(255, 255, 200));
    EXPECT_EQ(controls::toQColor(0x8000000Du), pal.color(QPalette::Highlight));
    EXPECT_EQ(controls::toQColor(0x8000000Eu), pal.color(QPalette::HighlightedText));
    EXPECT_EQ(controls::toQColor(0x80000012u), pal.color(QPalette::ButtonText));
    EXPECT_EQ(controls::toQColor(0x8000000Bu), pal.color(QPalette::Window));

    auto grid = makeGrid(4);
    grid->setBackColorSel(0x8000000D);
    grid->setForeColorSel(0x8000000E);
    grid->setRow(2);
    grid->setRowSel(3);
    auto back = [&](int row) {
        return model(*grid)->index(row - 1, 0).data(Qt::BackgroundRole).value<QBrush>().color();
    };
    auto fore = [&](int row) {
        return model(*grid)->index(row - 1, 1).data(Qt::ForegroundRole).value<QBrush>().color();
    };
    EXPECT_EQ(back(2), pal.color(QPalette::Highlight));
    EXPECT_EQ(back(3), pal.color(QPalette::Highlight));
    EXPECT_EQ(fore(3), pal.color(QPalette::HighlightedText));
    EXPECT_FALSE(model(*grid)->index(0, 0).data(Qt::BackgroundRole).isValid());

    grid->setBackColorSel(controls::rgbValue(0, 0, 255));
    EXPECT_EQ(back(2), QColor(0, 0, 255));

    // HighLight 0: no selection shows; a cell's own colour shows instead.
    grid->setCellBackColorAt(2, 0, controls::rgbValue(255, 255, 200));
    grid->setHighLight(0);
    EXPECT_EQ(back(2), QColor(255, 255, 200));
    EXPECT_FALSE(model(*grid)->index(2, 1).data(Qt::ForegroundRole).isValid());

    // CellBackColor works on the current cell.
    grid->setRow(4);
    grid->setCol(2);
    grid->setCellBackColor(controls::rgbValue(1, 2, 3));
    EXPECT_EQ(grid->CellBackColor(), controls::rgbValue(1, 2, 3));
    EXPECT_EQ(grid->cellBackColorAt(4, 1), 0x80000005u);
}

TEST(SuperGrid, RedrawOffSendsNoSignalsAndOneResetAfter)
{
    auto grid = makeGrid(0);
    QAbstractItemModel *m = model(*grid);
    QSignalSpy changed(m, &QAbstractItemModel::dataChanged);
    QSignalSpy inserted(m, &QAbstractItemModel::rowsInserted);
    QSignalSpy header(m, &QAbstractItemModel::headerDataChanged);
    QSignalSpy reset(m, &QAbstractItemModel::modelReset);
    QSignalSpy cell(grid.get(), &SuperGrid::EnterCell);

    grid->setRedraw(false);
    for (int r = 1; r <= 50; ++r) {
        grid->setRows(grid->Rows() + 1);
        for (int c = 0; c < 3; ++c)
            grid->setTextMatrix(r, c, "v");
    }
    grid->setTextMatrix(0, 0, "new title");
    grid->setSort(1);
    EXPECT_EQ(changed.count() + inserted.count() + header.count() + reset.count(), 0);
    EXPECT_EQ(cell.count(), 0);
    grid->setRedraw(true);
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(m->rowCount(), 50);
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), "new title");
    EXPECT_EQ(grid->view()->currentIndex(), m->index(0, 0));

    grid->setTextMatrix(3, 1, "w");
    EXPECT_EQ(changed.count(), 1) << "with Redraw on a cell write is shown at once";
}

TEST(SuperGrid, KeyboardMovesRowAndShiftExtendsRowSel)
{
    auto grid = makeGrid(40);
    QSignalSpy rowCol(grid.get(), &SuperGrid::RowColChange);
    QTableView *view = grid->view();
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->RowSel(), 2);
    ASSERT_EQ(rowCol.count(), 1);
    EXPECT_TRUE(rowCol.at(0).at(0).toBool());

    QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->RowSel(), 4);
    QTest::keyClick(view, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(grid->RowSel(), 3);

    QTest::keyClick(view, Qt::Key_End);
    EXPECT_EQ(grid->Row(), 40);
    EXPECT_EQ(grid->RowSel(), 40);
    EXPECT_EQ(view->currentIndex().row(), 39);
    EXPECT_GT(grid->TopRow(), 1) << "the last row was scrolled into view";
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 40) << "no move past the last row";
    QTest::keyClick(view, Qt::Key_PageUp);
    EXPECT_LT(grid->Row(), 39);
    QTest::keyClick(view, Qt::Key_Home);
    EXPECT_EQ(grid->Row(), 1);
    QTest::keyClick(view, Qt::Key_Up);
    EXPECT_EQ(grid->Row(), 1);
    QTest::keyClick(view, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->RowSel(), 40);

    // Left/Right move Col over hidden columns.
    grid->setColWidth(1, 0);
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->RowSel(), 1) << "a plain move collapses the selection";
    QTest::keyClick(view, Qt::Key_Left);
    EXPECT_EQ(grid->Col(), 0);

    grid->setTopRow(20);
    EXPECT_EQ(grid->TopRow(), 20);
}

TEST(SuperGrid, ClicksSetRowAndHeaderClicksReportMouseRowZero)
{
    auto grid = makeGrid(10);
    QSignalSpy down(grid.get(), &SuperGrid::MouseDown);
    QSignalSpy click(grid.get(), &SuperGrid::Click);
    QSignalSpy dbl(grid.get(), &SuperGrid::DblClick);
    QWidget *viewport = grid->view()->viewport();

    QTest::mouseClick(viewport, Qt::LeftButton, {}, cellCenter(*grid, 3, 1));
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->RowSel(), 3);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->MouseRow(), 3);
    ASSERT_EQ(down.count(), 1);
    EXPECT_EQ(down.at(0).at(0).toInt(), 1);
    EXPECT_EQ(down.at(0).at(1).toInt(), 0);
    EXPECT_EQ(click.count(), 1);

    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, cellCenter(*grid, 6, 1));
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->RowSel(), 6);
    EXPECT_EQ(down.at(1).at(1).toInt(), 1) << "shift state";

    // The header: MouseRow 0, Col follows the column, the rows stay.
    QHeaderView *header = grid->view()->horizontalHeader();
    const QPoint onTitle(header->sectionViewportPosition(2) + header->sectionSize(2) / 2,
                         header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, onTitle);
    EXPECT_EQ(grid->MouseRow(), 0);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->RowSel(), 6);
    EXPECT_EQ(down.count(), 3);
    EXPECT_EQ(click.count(), 2) << "a header press is no cell click";

    // Right button reports but does not move.
    QTest::mouseClick(viewport, Qt::RightButton, {}, cellCenter(*grid, 8, 0));
    EXPECT_EQ(grid->MouseRow(), 8);
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(down.last().at(0).toInt(), 2);

    QTest::mouseDClick(viewport, Qt::LeftButton, {}, cellCenter(*grid, 5, 0));
    EXPECT_EQ(dbl.count(), 1);
    EXPECT_EQ(grid->Row(), 5);
    EXPECT_EQ(grid->editor(), nullptr) << "a read-only grid opens no editor";
}
