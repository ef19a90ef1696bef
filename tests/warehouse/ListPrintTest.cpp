// The warehouse list's print commands as a user runs them. What the layout
// rows hold is checked in tests/print, the file formats in tests/suite/report
// and the page set-up there too; here: which commands run, what the user is
// told, and that the output holds the list as shown. None of it depends on
// the engine, so it runs on SQLite.
#include "ListPrintFixture.h"
#include "support/SheetReader.h"

#include "print/PrintWorkDb.h"
#include "suite/report/RTPrn.h"

#include <QFile>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>

using namespace depotbase;

using namespace whtest;
using modal::Answer;
using modal::Buttons;
using modal::Icon;
using testsupport::readSheet;
using testsupport::SheetCell;

namespace {

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
    runList([&](frmWHBrowse &) {
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

        // The page set-up is never refused; each one writes a table of its own.
        m_seam->expectPageSetup(false);
        click("TlbPSetup");
        m_seam->expectPageSetup(true);
        click("TlbPSetup");
        const QStringList tables = layoutTables();
        ASSERT_EQ(tables.size(), 2);
        EXPECT_NE(tables[0], tables[1]);  // even within one second
        EXPECT_EQ(layoutRows(tables[1]).size(), 6);
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
        const QStringList rows = layoutRows(tables[0]);
        ASSERT_EQ(rows.size(), 6);
        EXPECT_TRUE(rows[2].contains("|仓库档案|")) << rows[2].toStdString();
        EXPECT_EQ(l.RTPrn1().DatabasePath(), printFile());
    });
    // The list let go of its file when it unloaded.
    PrintWorkDbPtr next = OpenPrintWorkDb(m_folder.path(), "LxInit9.mdb");
    ASSERT_NE(next, nullptr);
    EXPECT_TRUE(next->holdsFile());
}

// Without a printer the preview still opens (its title says why printing
// refuses); printing tells that there is no printer.
TEST_P(ListPrintTest, WithoutPrinterPreviewOpensAndPrintTellsIt)
{
    if (!QPrinterInfo::defaultPrinterName().isEmpty())
        GTEST_SKIP() << "this computer has a default printer";
    runList([&](frmWHBrowse &l) {
        const QString text = "没有默认打印机，请安装打印机后再试一次！";
        m_seam->expectPreview();
        QTest::keyClick(&l, Qt::Key_L, Qt::ControlModifier);
        EXPECT_EQ(l.RTPrn1().LastPageCount(), 1);
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

TEST_P(ListPrintTest, OutputWritesTheVisibleList)
{
    blnBasicVersion = true;  // hides the position column
    runList([&](frmWHBrowse &) {
        const QList<QStringList> expected = visibleGrid();
        ASSERT_EQ(expected.size(), 13);
        ASSERT_EQ(expected[0].size(), 9);
        ASSERT_FALSE(expected[0].contains("是否货位管理"));

        const QString csv = m_folder.filePath("仓库档案.csv");
        output(csv);
        EXPECT_EQ(readCsv(csv), expected);
    });
}

TEST_P(ListPrintTest, OutputThatCannotBeWrittenIsTold)
{
    runList([&](frmWHBrowse &l) {
        m_seam->expectSaveFile(m_folder.filePath("no-such-folder/仓库档案.csv"));
        m_seam->expectMessage(QString(), modal::Icon::Critical, modal::Buttons::Ok, caption(),
                              modal::Answer::Ok);
        click("TlbOutput");
        EXPECT_TRUE(m_seam->verifyDone());
        EXPECT_TRUE(m_seam->shownMessages().last().startsWith("输出失败："));
        l.OnToolbarCommand("TlbExit");
    });
}

// Ctrl+P prints a one-page list at once and asks before a longer one; the
// toolbar button never asks.
TEST_P(ListPrintTest, CtrlPAsksOnlyBeforeMoreThanOnePage)
{
    const QString pdf = m_folder.filePath("printer.pdf");
    runList([&](frmWHBrowse &l) {
        l.RTPrn1().SetPrintToFile(pdf);
        pressKey(&l, Qt::Key_P, Qt::ControlModifier);
        EXPECT_TRUE(QFile::exists(pdf));
        l.OnToolbarCommand("TlbExit");
    });
    QFile::remove(pdf);
    GenerateWarehouses(*m_login, 200, 100);
    openListDataSet(false);
    runList([&](frmWHBrowse &l) {
        l.RTPrn1().SetPrintToFile(pdf);
        m_seam->expectMessage(QString(), Icon::Question, Buttons::YesNo, caption(), Answer::No);
        pressKey(&l, Qt::Key_P, Qt::ControlModifier);
        EXPECT_TRUE(m_seam->verifyDone());
        EXPECT_TRUE(m_seam->shownMessages().last().startsWith("仓库列表共 "));
        EXPECT_FALSE(QFile::exists(pdf));
        click("TlbPrint");
        EXPECT_TRUE(QFile::exists(pdf));
        l.OnToolbarCommand("TlbExit");
    });
}

INSTANTIATE_TEST_SUITE_P(SQLite, ListPrintTest, ::testing::Values(testsupport::TestEngine::SQLite),
                         engineLabel);

} // namespace
