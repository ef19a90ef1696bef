// The print procedures over a real grid, a real print-work file and the
// report-print control: the layout rows they write, the control's settings,
// and what the user is told.
#include "print/LayoutTable.h"
#include "print/PrintList.h"
#include "print/PrintWorkDb.h"
#include "print/RunReport.h"
#include "print/GridReportSource.h"
#include "support/SeamScript.h"
#include "support/TestDatabases.h"
#include "suite/dbkit/DbDataSet.h"
#include "suite/controls/SuperGrid.h"
#include "suite/report/RTPrn.h"

#include <QDate>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>


using namespace depotbase;

namespace {

using modal::Answer;
using modal::Buttons;
using modal::Icon;

class PrintProceduresTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_db = OpenPrintWorkDb(m_dir.path(), "LxInit9.mdb");
        ASSERT_NE(m_db, nullptr);
        m_window.resize(600, 400);
        m_title.move(200, 10);
        m_year.move(210, 40);
        // Code, name, a hidden column, quota.
        m_grid.setCols(4);
        const int widths[] = {850, 2000, 0, 1000};
        const char *titles[] = {"仓库编码", "仓库名称", "", "资金定额"};
        for (int col = 0; col < 4; ++col) {
            m_grid.setColWidth(col, widths[col]);
            m_grid.setTextMatrix(0, col, QString::fromUtf8(titles[col]));
        }
        m_grid.setRows(3);
        const char *cells[2][4] = {{"01", "原材料库", "x", "50000"}, {"02", "成品库", "y", ""}};
        for (int row = 1; row < 3; ++row)
            for (int col = 0; col < 4; ++col)
                m_grid.setTextMatrix(row, col, QString::fromUtf8(cells[row - 1][col]));
    }

    ReportHost host() { return ReportHost{&m_rt, &m_window, nullptr}; }

    QString printWarehouses(short mode, const QString &title = QStringLiteral("仓库档案"))
    {
        return PrintWarehouseList(m_db.get(), m_grid, title, mode, m_window, m_title, m_year,
                                  host());
    }

    // The rows of a layout table, each as its eleven values joined by "|".
    QStringList rowsOf(const QString &table)
    {
        QSqlQuery query(m_db->database());
        EXPECT_TRUE(query.exec("SELECT * FROM " + table + " ORDER BY rowid"));
        QStringList rows;
        while (query.next()) {
            QStringList values;
            for (int i = 0; i < 11; ++i)
                values << query.value(i).toString();
            rows << values.join('|');
        }
        return rows;
    }

    static QString today(const char *format)
    {
        return QDate::currentDate().toString(QString::fromLatin1(format));
    }

    testsupport::SeamScript m_seam;
    QTemporaryDir m_dir;
    PrintWorkDbPtr m_db;
    QWidget m_window;
    QLabel m_title{&m_window};
    QLabel m_year{&m_window};
    SuperGrid m_grid;
    report::RTPrn m_rt;
};

TEST_F(PrintProceduresTest, WarehouseListWritesTheSixLayoutRows)
{
    // Page set-up cancelled: the table is written, the command ends there.
    m_rt.ColumnWidth(0, 7, report::RTPrn::Twips);
    m_seam->expectPageSetup(false);
    const QString table = printWarehouses(PrintMode::PageSetup, "仓库'档案");
    ASSERT_FALSE(table.isEmpty());
    EXPECT_EQ(rowsOf(table),
              QStringList({"2|0|0|9000|2252| |10| |0|0| ",
                           "2|0|100|9000|500| |0| |1|0| ",
                           "0|3000|1550|3000|300|宋体|15|仓库'档案|0|0|BU",
                           "0|3150|2050|3000|200|宋体|10|" + today("yyyy") + "年度|0|0| ",
                           "0|7000|50|2252|300|宋体|10|打印日期：" + today("yyyy.MM.dd")
                               + "|1|0| ",
                           "0|100|50|2252|300|宋体|10|制表人：|1|0| "}));
    EXPECT_EQ(m_rt.LayoutTable(), table);
    EXPECT_EQ(m_rt.ColumnWidthTwips(0), 7);
    EXPECT_EQ(m_rt.SourceGrid(), nullptr);
}

TEST_F(PrintProceduresTest, AuthorityListUsesFixedLeftsAndKeepsANegativeDateLeft)
{
    m_window.resize(100, 400);
    m_seam->expectPageSetup(false);
    const QString table = PrintAuthorityList(m_db.get(), m_grid, "仓库权限设置",
                                             PrintMode::PageSetup, m_window, host());
    const QStringList rows = rowsOf(table);
    ASSERT_EQ(rows.size(), 6);
    EXPECT_EQ(rows[0], "2|0|0|1500|2252| |10| |0|0| ");
    EXPECT_TRUE(rows[2].startsWith("0|2200|1550|3000|300|宋体|15|仓库权限设置|"));
    EXPECT_TRUE(rows[3].startsWith("0|2000|2050|"));
    EXPECT_TRUE(rows[4].startsWith("0|-500|50|2252|300|"));
}

TEST_F(PrintProceduresTest, NoLayoutTableIsReported)
{
    m_seam->expectMessage("意外错误，请稍后再试一次！", Icon::Critical, Buttons::Ok, "提示信息",
                          Answer::Ok);
    EXPECT_EQ(PrintWarehouseList(nullptr, m_grid, "仓库档案", PrintMode::Preview, m_window,
                                 m_title, m_year, host()),
              "");
}

TEST_F(PrintProceduresTest, PreviewShowsThePagesAndPrintWritesThem)
{
    const QString pdf = m_dir.filePath("printed.pdf");
    m_rt.SetPrintToFile(pdf);
    m_seam->expectPreview();
    EXPECT_FALSE(printWarehouses(PrintMode::Preview).isEmpty());
    EXPECT_EQ(m_rt.LastPageCount(), 1);
    EXPECT_FALSE(QFile::exists(pdf));

    EXPECT_FALSE(printWarehouses(PrintMode::Print).isEmpty());
    EXPECT_TRUE(m_rt.PrintNow());
    EXPECT_GT(QFile(pdf).size(), 1000);
}

TEST_F(PrintProceduresTest, UnusableSettingsRefuseThePreview)
{
    m_rt.SetPrintToFile(m_dir.filePath("printed.pdf"));
    m_seam->expectMessage("打印设置不正确，无法预览！", Icon::Exclamation, Buttons::Ok,
                          "提示信息", Answer::Ok);
    GridReportSource source(m_grid);
    // A layout table the file does not hold.
    EXPECT_EQ(RunReport(*m_db, "TempPrint_100000000", source, PrintMode::Preview, host()), 0);
}

TEST_F(PrintProceduresTest, OutputSkipsHiddenColumnsAndReturnsTheResult)
{
    const QString csv = m_dir.filePath("list.csv");
    m_seam->expectSaveFile(csv);
    const QString table = CreateLayoutTable(m_db.get());
    WriteLayoutRows(*m_db, table, "仓库档案", LayoutPlace{&m_window, 0, 0});
    GridReportSource source(m_grid);
    int lastStep = -1;
    EXPECT_EQ(RunReport(*m_db, table, source, PrintMode::Output, host(), &lastStep), 0);
    EXPECT_EQ(lastStep, 0);
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll()).remove(QChar(0xFEFF));
    EXPECT_EQ(text.split(QRegularExpression("\r?\n"), Qt::SkipEmptyParts),
              QStringList({"仓库编码,仓库名称,资金定额", "01,原材料库,50000", "02,成品库,"}));

    // A cancelled file dialog comes back as the control's code; nothing is shown.
    m_seam->expectSaveFile(QString());
    EXPECT_EQ(RunReport(*m_db, table, source, PrintMode::Output, host(), &lastStep),
              report::RTPrn::Cancelled);
    EXPECT_EQ(lastStep, report::RTPrn::Cancelled);
}

TEST_F(PrintProceduresTest, OutputTypesFollowTheListFieldsByVisiblePosition)
{
    // Field i of the list's data set types the i-th grid column; the hidden
    // third column takes no output position, so the quota is the third.
    testsupport::TempDatabase account(testsupport::TestEngine::SQLite);
    dbkit::DbLoginPtr login = account.connect();
    login->Execute("CREATE TABLE W (cCode varchar(10) PRIMARY KEY, cName varchar(20), "
                   "cHidden varchar(5), iQuota numeric(18,2))");
    dbkit::DbDataSetPtr fields = login->OpenDataSet("SELECT * FROM W");
    const QString html = m_dir.filePath("list.html");
    m_seam->expectSaveFile(html);
    const QString table = CreateLayoutTable(m_db.get());
    WriteLayoutRows(*m_db, table, "仓库档案", LayoutPlace{&m_window, 0, 0});
    GridReportSource source(m_grid);
    const ReportHost typed{&m_rt, &m_window, fields.get()};
    EXPECT_EQ(RunReport(*m_db, table, source, PrintMode::Output, typed), 0);
    QFile file(html);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains("<tr><td>01</td><td>原材料库</td><td class=\"n\">50000</td></tr>"))
        << text.toStdString();
}

} // namespace
