// The warehouse list's print commands as a user runs them: page set-up,
// preview, print and output of the demo list, read back from the files.
#include "ListPrintFixture.h"
#include "support/SheetReader.h"

#include "print/PrintWorkDb.h"
#include "print/RunReport.h"
#include "suite/report/RTPrn.h"

#include <QDate>
#include <QFile>
#include <QLabel>
#include <QMap>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>
#include <QXmlStreamReader>

#include <cmath>

using namespace whtest;
using modal::Answer;
using modal::Buttons;
using modal::Icon;
using testsupport::readSheet;
using testsupport::SheetCell;

namespace {

QString cellRef(int row, int col)
{
    return QChar('A' + col) + QString::number(row + 1);
}

// The records of a UTF-8 CSV file, quoted fields unquoted.
QList<QStringList> readCsv(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QString text = QString::fromUtf8(bytes.mid(3));
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (quoted) {
            if (ch == '"' && i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else if (ch == '"')
                quoted = false;
            else
                field += ch;
        } else if (ch == '"') {
            quoted = true;
        } else if (ch == ',') {
            record << field;
            field.clear();
        } else if (ch == '\n') {
            record << field;
            records << record;
            record.clear();
            field.clear();
        } else if (ch != '\r') {
            field += ch;
        }
    }
    if (!field.isEmpty() || !record.isEmpty())
        records << (record << field);
    return records;
}

class ListPrintTest : public ListPrintFixture {
protected:
    QString printFile() const { return m_folder.filePath("LxInit9.mdb"); }

    // Runs a query on the print-work file through a connection of the test's own.
    QList<QStringList> readPrintWork(const QString &sql, int columns)
    {
        const QString name = QUuid::createUuid().toString();
        QList<QStringList> rows;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
            db.setDatabaseName(printFile());
            EXPECT_TRUE(db.open());
            QSqlQuery query(db);
            EXPECT_TRUE(query.exec(sql)) << sql.toStdString();
            while (query.next()) {
                QStringList row;
                for (int i = 0; i < columns; ++i)
                    row << query.value(i).toString();
                rows << row;
            }
        }
        QSqlDatabase::removeDatabase(name);
        return rows;
    }

    QStringList layoutTables()
    {
        QStringList names;
        for (const QStringList &row : readPrintWork(
                 "SELECT name FROM sqlite_master WHERE name LIKE 'TempPrint%' ORDER BY rowid", 1))
            names << row[0];
        return names;
    }

    QStringList layoutRows(const QString &table)
    {
        QStringList rows;
        for (const QStringList &row : readPrintWork("SELECT * FROM " + table, 11))
            rows << row.join('|');
        return rows;
    }

    // Asks for an output file and runs the output command.
    void output(const QString &path)
    {
        m_seam->expectSaveFile(path);
        click("TlbOutput");
    }

    // The grid's visible columns and their cells, as the output should hold them.
    QList<QStringList> visibleGrid()
    {
        QList<QStringList> rows;
        for (int row = 0; row < grid().Rows(); ++row) {
            QStringList cells;
            for (int col = 0; col < grid().Cols(); ++col)
                if (grid().ColWidth(col) > 0)
                    cells << grid().TextMatrix(row, col);
            rows << cells;
        }
        return rows;
    }
};

TEST_P(ListPrintTest, EmptyListRefusesPreviewPrintAndOutputButSetsUpThePage)
{
    runList([&](frmWHBrowse &l) {
        grid().setRows(1);  // as a filter that matched nothing leaves it
        const QList<std::pair<QString, QString>> refusals{
            {"TlbPreview", "没有可供预览的记录！"},
            {"TlbPrint", "没有可供打印的记录！"},
            {"TlbOutput", "没有可供输出的记录！"}};
        for (const auto &[key, text] : refusals) {
            m_seam->expectMessage(text, Icon::Information, Buttons::Ok, "提示信息", Answer::Ok);
            click(key);
        }
        EXPECT_TRUE(layoutTables().isEmpty());

        // Cancelling the page set-up ends the command after its layout table.
        l.RTPrn1().ColumnWidth(0, 7, report::RTPrn::Twips);
        m_seam->expectPageSetup(false);
        click("TlbPSetup");
        ASSERT_EQ(layoutTables().size(), 1);
        EXPECT_EQ(l.RTPrn1().ColumnWidthTwips(0), 7);

        m_seam->expectPageSetup(true);
        click("TlbPSetup");
        const QStringList tables = layoutTables();
        ASSERT_EQ(tables.size(), 2);
        EXPECT_NE(tables[0], tables[1]);  // even within one second
        EXPECT_EQ(layoutRows(tables[1]).size(), 6);
        EXPECT_EQ(l.RTPrn1().ColumnWidthTwips(0),
                  int(std::lround(twipsToHundredthsCm(1200) * 5.67)));
    });
}

TEST_P(ListPrintTest, EachCommandWritesTheListsPageIntoAFreshFile)
{
    {
        // Left over from an earlier session: gone once the list loads.
        PrintWorkDbPtr earlier = OpenPrintWorkDb(m_folder.path(), "LxInit9.mdb");
        ASSERT_NE(earlier, nullptr);
        earlier->execute("CREATE TABLE TempPrint_199000000 (iType integer)");
    }
    runList([&](frmWHBrowse &l) {
        EXPECT_TRUE(layoutTables().isEmpty());
        m_seam->expectPageSetup(false);
        click("TlbPSetup");
        const QStringList tables = layoutTables();
        ASSERT_EQ(tables.size(), 1);
        EXPECT_TRUE(QRegularExpression("^TempPrint_1\\d{8}$").match(tables[0]).hasMatch());
        const QString w = QString::number(l.width() * 15);
        const QString x1 = QString::number(control<QLabel>(&l, "lblTitle1")->x() * 15);
        const QString x2 = QString::number(control<QLabel>(&l, "lblTitle2")->x() * 15);
        const QDate today = QDate::currentDate();
        EXPECT_EQ(layoutRows(tables[0]),
                  QStringList({"2|0|0|" + w + "|2252| |10| |0|0| ",
                               "2|0|100|" + w + "|500| |0| |1|0| ",
                               "0|" + x1 + "|1550|3000|300|宋体|15|仓库档案|0|0|BU",
                               "0|" + x2 + "|2050|3000|200|宋体|10|"
                                   + today.toString("yyyy") + "年度|0|0| ",
                               "0|" + QString::number(l.width() * 15 - 2000)
                                   + "|50|2252|300|宋体|10|打印日期："
                                   + today.toString("yyyy.MM.dd") + "|1|0| ",
                               "0|100|50|2252|300|宋体|10|制表人：|1|0| "}));
        EXPECT_EQ(l.RTPrn1().DatabasePath(), printFile());
    });
    // The list let go of its file when it unloaded.
    PrintWorkDbPtr next = OpenPrintWorkDb(m_folder.path(), "LxInit9.mdb");
    ASSERT_NE(next, nullptr);
    EXPECT_TRUE(next->holdsFile());
}

TEST_P(ListPrintTest, PreviewAndPrintTellAComputerWithoutPrinter)
{
    if (!QPrinterInfo::defaultPrinterName().isEmpty())
        GTEST_SKIP() << "this computer has a default printer";
    runList([&](frmWHBrowse &l) {
        const QString text = "没有默认打印机，请安装打印机后再试一次！";
        m_seam->expectMessage(text, Icon::Critical, Buttons::Ok, "提示信息", Answer::Ok);
        click("TlbPreview");
        m_seam->expectMessage(text, Icon::Critical, Buttons::Ok, "提示信息", Answer::Ok);
        click("TlbPrint");
        m_seam->expectMessage(text, Icon::Critical, Buttons::Ok, "提示信息", Answer::Ok);
        QTest::keyClick(&l, Qt::Key_P, Qt::ControlModifier);
        // Each command had made and filled its layout table first.
        const QStringList tables = layoutTables();
        ASSERT_EQ(tables.size(), 3);
        for (const QString &table : tables)
            EXPECT_EQ(layoutRows(table).size(), 6);
    });
}

TEST_P(ListPrintTest, PreviewAndPrintWithAPrinter)
{
    runList([&](frmWHBrowse &l) {
        const QString pdf = m_folder.filePath("printed.pdf");
        l.RTPrn1().SetPrintToFile(pdf);
        m_seam->expectPreview();
        click("TlbPreview");
        EXPECT_EQ(l.RTPrn1().LastPageCount(), 1);
        click("TlbPrint");
        EXPECT_TRUE(l.RTPrn1().PrintNow());
        EXPECT_GT(QFile(pdf).size(), 1000);
    });
}

TEST_P(ListPrintTest, OutputWritesTheVisibleListToEveryFileType)
{
    blnBasicVersion = true;  // hides the position column
    runList([&](frmWHBrowse &l) {
        const QList<QStringList> expected = visibleGrid();
        ASSERT_EQ(expected.size(), 13);
        ASSERT_EQ(expected[0].size(), 9);
        ASSERT_FALSE(expected[0].contains("是否货位管理"));

        const QString csv = m_folder.filePath("仓库档案.csv");
        output(csv);
        EXPECT_EQ(readCsv(csv), expected);

        const QString xlsx = m_folder.filePath("仓库档案.xlsx");
        output(xlsx);
        const QMap<QString, SheetCell> sheet = readSheet(xlsx);
        int numbers = 0;
        for (int row = 0; row < expected.size(); ++row) {
            for (int col = 0; col < expected[row].size(); ++col) {
                const QString text = expected[row][col];
                const SheetCell cell = sheet.value(cellRef(row, col));
                if (text.isEmpty()) {
                    EXPECT_TRUE(cell.text.isEmpty()) << cellRef(row, col).toStdString();
                    continue;
                }
                // The quota (column 8, the eighth visible one) holds numbers.
                if (row > 0 && col == 7) {
                    EXPECT_EQ(cell.type, "") << cellRef(row, col).toStdString();
                    EXPECT_DOUBLE_EQ(cell.text.toDouble(), text.toDouble());
                    ++numbers;
                } else {
                    EXPECT_EQ(cell.text, text) << cellRef(row, col).toStdString();
                }
            }
        }
        EXPECT_GE(numbers, 10);
        EXPECT_FALSE(sheet.contains(cellRef(0, 9)));
        EXPECT_FALSE(sheet.contains(cellRef(13, 0)));

        const QString pdf = m_folder.filePath("仓库档案.pdf");
        output(pdf);
        EXPECT_EQ(l.RTPrn1().LastPageCount(), 1);
        EXPECT_GT(QFile(pdf).size(), 1000);
    });
}

TEST_P(ListPrintTest, PdfOfFiveHundredWarehousesHasItsPages)
{
    GenerateWarehouses(*m_login, 500 - 12, 1);
    openListDataSet(false);
    runList([&](frmWHBrowse &l) {
        ASSERT_EQ(grid().Rows(), 501);
        const QString pdf = m_folder.filePath("list.pdf");
        output(pdf);
        // A page of the layout in use (one chosen in an earlier page set-up
        // stays): the title block (2252 twips) and a gap of 120 at the top,
        // the band (600) and a gap at the foot, rows of 300 twips between,
        // the first of them the column titles.
        const double height = l.RTPrn1().PageLayout().paintRect(QPageLayout::Point).height() * 20;
        const int rowsPerPage = int(std::floor((height - 2252 - 120 - 600 - 120) / 300)) - 1;
        ASSERT_GT(rowsPerPage, 30);  // 42 on A4 with 5 mm margins
        const int pages = (500 + rowsPerPage - 1) / rowsPerPage;
        EXPECT_EQ(l.RTPrn1().LastPageCount(), pages);
        QFile file(pdf);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString content = QString::fromLatin1(file.readAll());
        EXPECT_EQ(content.count(QRegularExpression("/Type\\s*/Page(?![s\\w])")), pages);
    });
}

INSTANTIATE_TEST_SUITE_P(Engines, ListPrintTest, ::testing::ValuesIn(testsupport::allEngines()),
                         engineLabel);

} // namespace
