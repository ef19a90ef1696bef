#include "ReportFixture.h"
#include "support/SeamScript.h"
#include "suite/report/ReportColumns.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

using namespace reporttest;
using report::RTPrn;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

using OutputTest = ReportFixture;

TEST_F(OutputTest, XlsxKeepsTypesWidthsAndSkipsHiddenColumns)
{
    testsupport::SeamScript seam;
    seam->expectSaveFile(path("list.xlsx"));
    MemorySource grid = warehouseSource(20);
    RTPrn rt;
    configure(rt, grid);
    ASSERT_EQ(output(rt), 0) << rt.LastError().toStdString();

    const QString sheet = QString::fromUtf8(unzipEntry(path("list.xlsx"),
                                                       "xl/worksheets/sheet1.xml"));
    ASSERT_FALSE(sheet.isEmpty());
    EXPECT_FALSE(sheet.contains("SECRET"));
    EXPECT_TRUE(sheet.contains("仓库名称"));
    EXPECT_TRUE(sheet.contains("第7仓库"));
    // Codes stay text with their zeros; quantities and amounts are numbers.
    EXPECT_TRUE(sheet.contains(QRegularExpression("<c r=\"A3\"[^>]*t=\"(inlineStr|s)\"")));
    EXPECT_TRUE(sheet.contains("<t>002</t>") || sheet.contains("002"));
    EXPECT_TRUE(sheet.contains(QRegularExpression("<c r=\"C3\"( s=\"\\d+\")?><v>20</v></c>")));
    EXPECT_TRUE(sheet.contains(QRegularExpression("<c r=\"D3\"( s=\"\\d+\")?><v>2.5</v></c>")));
    // Dates are serial numbers with a date format.
    EXPECT_TRUE(sheet.contains(QRegularExpression("<c r=\"E3\" s=\"\\d+\"><v>\\d+</v></c>")));
    // Five visible columns, each with a width from the page.
    EXPECT_EQ(sheet.count("<col "), 5);
    EXPECT_FALSE(sheet.contains("<c r=\"F"));

    const QString book = QString::fromUtf8(unzipEntry(path("list.xlsx"), "xl/workbook.xml"));
    EXPECT_TRUE(book.contains("name=\"仓库档案\""));
}

TEST_F(OutputTest, CsvIsUtf8WithQuotingWhereNeeded)
{
    testsupport::SeamScript seam;
    seam->expectSaveFile(path("list.csv"));
    MemorySource grid({{"编码", "名称", "ID", "备注"},
                       {"001", "中心仓库", "x", "A, \"B\""},
                       {"002", "二号\n仓库", "y", ""}},
                      {850, 2000, 0, 900});
    RTPrn rt;
    configure(rt, grid);
    rt.OutputStep(-1, "", 0, 3);
    ASSERT_EQ(rt.OutputStep(-2, "", 0, 0), 0);

    const QByteArray csv = readAll(path("list.csv"));
    EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(csv.mid(3), QByteArray("编码,名称,备注\r\n"
                                     "001,中心仓库,\"A, \"\"B\"\"\"\r\n"
                                     "002,\"二号\n仓库\",\r\n"));
}

TEST_F(OutputTest, HtmlEscapesTextAndKeepsChinese)
{
    testsupport::SeamScript seam;
    seam->expectSaveFile(path("list.html"));
    MemorySource grid({{"编码", "名称"}, {"<b>", "中心仓库 & 分库"}}, {850, 2000});
    RTPrn rt;
    configure(rt, grid);
    ASSERT_EQ(output(rt), 0);
    const QString html = QString::fromUtf8(readAll(path("list.html")));
    EXPECT_TRUE(html.contains("<title>仓库档案</title>"));
    EXPECT_TRUE(html.contains("<td>&lt;b&gt;</td>"));
    EXPECT_TRUE(html.contains("中心仓库 &amp; 分库"));
    EXPECT_EQ(html.count("<tr>"), 2);
}

TEST_F(OutputTest, PdfHoldsEveryPageWithChineseGlyphs)
{
    testsupport::SeamScript seam;
    seam->expectSaveFile(path("list.pdf"));
    MemorySource grid = warehouseSource(500);
    RTPrn rt;
    configure(rt, grid);
    ASSERT_EQ(output(rt), 0) << rt.LastError().toStdString();
    // Every data row once, the titles on each page: more than ten pages of
    // A4 for 500 rows, and the file holds exactly the composed pages.
    EXPECT_GE(rt.LastPageCount(), 10);
    EXPECT_EQ(pdfPageCount(path("list.pdf")), rt.LastPageCount());
    EXPECT_TRUE(readAll(path("list.pdf")).contains("CJK"));
}

TEST_F(OutputTest, CancelUnknownTypeAndFailedWritesAreReported)
{
    testsupport::SeamScript seam;
    seam->expectSaveFile("")
        .expectSaveFile(path("list.txt"))
        .expectSaveFile(path("no/such/folder/list.xlsx"))
        .expectSaveFile(path("no/such/folder/list.csv"))
        .expectSaveFile(path("plain"));
    MemorySource grid = warehouseSource(3);
    RTPrn rt;
    configure(rt, grid);
    EXPECT_EQ(output(rt), RTPrn::Cancelled);
    EXPECT_EQ(output(rt), RTPrn::UnknownFileType);
    EXPECT_EQ(output(rt), RTPrn::WriteFailed);
    EXPECT_EQ(output(rt), RTPrn::WriteFailed);
    EXPECT_FALSE(QFileInfo::exists(path("no/such/folder/list.xlsx.part")));
    // A name without a type becomes a spreadsheet.
    EXPECT_EQ(output(rt), 0);
    EXPECT_TRUE(QFileInfo::exists(path("plain.xlsx")));
    EXPECT_EQ(rt.OutputStep(-3, "", 0, 0), RTPrn::UnknownStep);
}

TEST(CellKinds, TextIsTypedOnlyWhereKindAndTextAgree)
{
    using report::CellValue;
    using report::ColumnKind;
    using report::classifyCell;
    EXPECT_EQ(classifyCell("", ColumnKind::Integer).type, CellValue::Empty);
    EXPECT_EQ(classifyCell("001", ColumnKind::Text).type, CellValue::Text);
    const CellValue amount = classifyCell("1,234.50", ColumnKind::Currency);
    EXPECT_EQ(amount.type, CellValue::Number);
    EXPECT_DOUBLE_EQ(amount.number, 1234.5);
    EXPECT_EQ(classifyCell("1,2", ColumnKind::Double).type, CellValue::Text);
    EXPECT_EQ(classifyCell("nan", ColumnKind::Double).type, CellValue::Text);
    EXPECT_EQ(classifyCell("abc", ColumnKind::Long).type, CellValue::Text);
    EXPECT_EQ(classifyCell(" -7 ", ColumnKind::Integer).number, -7);
    EXPECT_EQ(classifyCell("2024.03.05", ColumnKind::Date).type, CellValue::Date);
    const CellValue stamp = classifyCell("2024-03-05 14:30:00", ColumnKind::Date);
    EXPECT_EQ(stamp.type, CellValue::DateTime);
    EXPECT_EQ(stamp.dateTime.time().hour(), 14);
    EXPECT_EQ(classifyCell("2024-02-30", ColumnKind::Date).type, CellValue::Text);
    EXPECT_TRUE(classifyCell("是", ColumnKind::Boolean).flag);
    EXPECT_EQ(classifyCell("否", ColumnKind::Boolean).type, CellValue::Boolean);
    EXPECT_EQ(classifyCell("maybe", ColumnKind::Boolean).type, CellValue::Text);
}
