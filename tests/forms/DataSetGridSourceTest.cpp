// A list shown straight from its data set: the grid shows, sorts and writes
// the rows without a copy of its own, and keeps showing them as they were
// read whatever the data set does next.
#include "data/DataTestSupport.h"

#include "forms/DataSetGridSource.h"
#include "suite/controls/SuperGrid.h"

using namespace depotbase;

namespace {

QString flagText(const QVariant &value)
{
    return value.isNull() ? QStringLiteral("-") : value.toInt() != 0 ? QStringLiteral("是")
                                                                     : QStringLiteral("否");
}

QStringList column(const SuperGrid &grid, int col)
{
    QStringList texts;
    for (int row = 1; row < grid.Rows(); ++row)
        texts << grid.TextMatrix(row, col);
    return texts;
}

} // namespace

class DataSetGridSourceTest : public datatest::DemoAccount {};

TEST_P(DataSetGridSourceTest, TheGridShowsSortsAndWritesTheRowsAsTheyWereRead)
{
    dbkit::DbDataSetPtr data = m_login->OpenDataSet(
        QStringLiteral("SELECT cWhCode, cWhName, bWhPos, CASE WHEN cWhCode < '02' THEN 'b' "
                       "ELSE 'a' END AS grp FROM Warehouse WHERE cWhCode < '04' "
                       "ORDER BY cWhCode"),
        dbkit::OpenMode::Default);
    SuperGrid grid;
    grid.setCols(4);
    grid.setRows(2);
    grid.setTextMatrix(1, 0, "own row");
    grid.setRows(2 + int(data->RecordCount()));
    grid.showSource(2, std::make_shared<DataSetGridSource>(
                           *data, std::vector<DataSetGridSource::Column>{
                                      {0, nullptr}, {1, nullptr}, {2, &flagText}, {3, nullptr}}));
    const QStringList read{"own row", "01", "02", "03"};
    ASSERT_EQ(column(grid, 0), read);
    EXPECT_EQ(column(grid, 2), QStringList({"", "是", "是", "否"}));

    // Another operator's change, a requery and a write of the data set leave
    // the rows shown as they were read.
    m_login->Execute("UPDATE Warehouse SET cWhName='改名' WHERE cWhCode='02'");
    data->Requery();
    data->MoveFirst();
    data->Edit();
    data->Collect(QStringLiteral("cWhName"), QStringLiteral("又改名"));
    data->Update();
    EXPECT_EQ(grid.TextMatrix(3, 1), "成品库");

    // A cell written by the window is the grid's own, and a sort moves it
    // with its row.
    grid.setTextMatrix(3, 1, "写入");
    grid.setCol(0);
    grid.setRow(2);
    grid.setRowSel(grid.Rows() - 1);
    grid.setSort(2);   // descending
    EXPECT_EQ(column(grid, 0), QStringList({"own row", "03", "02", "01"}));
    EXPECT_EQ(column(grid, 1).mid(1), QStringList({"半成品库", "写入", "原材料库"}));

    // Rows that hold one stored text, and a row whose own cells hold it,
    // sort as equals and keep their order.
    grid.setCol(0);
    grid.setSort(1);
    grid.setCol(3);
    grid.setSort(1);
    EXPECT_EQ(column(grid, 0), QStringList({"own row", "02", "03", "01"}));

    // Dropping the rows lets go of the data set's rows; new ones come in.
    grid.setRows(1);
    grid.setRows(2);
    EXPECT_EQ(grid.TextMatrix(1, 0), "");
}

INSTANTIATE_TEST_SUITE_P(Engines, DataSetGridSourceTest,
                         ::testing::ValuesIn(testsupport::allEngines()), datatest::engineLabel);
