// The demo list on paper, read back from the printed PDF with pdftotext: every
// figure, phone number, address and column title whole, and nothing past the
// frame, on A4 portrait and landscape.
#include "ListPrintFixture.h"

#include "suite/report/RTPrn.h"

#include <QDate>
#include <QPageLayout>
#include <QPageSize>
#include <QProcess>
#include <QRegularExpression>

using namespace whtest;

namespace {

using ListPrintPdf = ListPrintFixture;

// The text of a PDF as poppler reads it; a PDF it has to mend (a wrong
// cross-reference table) fails the test.
QString pdftotext(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), arguments + QStringList{QStringLiteral("-")});
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext (poppler-utils) failed: "
                      << tool.readAllStandardError().toStdString();
        return QString();
    }
    const QByteArray complaints = tool.readAllStandardError();
    EXPECT_TRUE(complaints.isEmpty()) << complaints.toStdString();
    return QString::fromUtf8(tool.readAllStandardOutput());
}

// Text as compared: canonically composed, so that only a different character,
// never a different encoding of the same one, tells.
QString composed(const QString &text)
{
    return text.normalized(QString::NormalizationForm_C);
}

// A CJK radical (U+2E80–U+2FDF) in text read back from a PDF, or "".
QString radicalIn(const QString &text)
{
    for (const char32_t c : text.toUcs4()) {
        if (c >= 0x2E80 && c <= 0x2FDF)
            return QString::fromUcs4(&c, 1);
    }
    return QString();
}

TEST_P(ListPrintPdf, DemoListPrintsEveryFigureWholeInsideTheFrame)
{
    const QStringList whole = {"20000.5", "1500.25", "100000", "3.14159", "0512-62581001",
        "0512-65102206", "021-64301010", "苏州市工业园区星湖街88号", "苏州市吴中区东吴南路12号",
        "上海市闵行区七莘路1888号", "仓库编码", "仓库名称", "所属部门", "仓库地址", "电话",
        "负责人", "计价方式", "是否货位管理", "资金定额", "备注", "钢材及化工原料",
        "打印日期：" + QDate::currentDate().toString("yyyy.MM.dd")};
    runList([&](frmWHBrowse &l) {
        for (const auto orientation : {QPageLayout::Portrait, QPageLayout::Landscape}) {
            SCOPED_TRACE(orientation == QPageLayout::Portrait ? "portrait" : "landscape");
            const QString pdf = m_folder.filePath(QStringLiteral("list%1.pdf").arg(orientation));
            const QMarginsF margins(5, 5, 5, 5);
            l.RTPrn1().SetPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientation,
                                                 margins, QPageLayout::Millimeter));
            l.RTPrn1().SetPrintToFile(pdf);
            click("TlbPrint");
            ASSERT_EQ(l.RTPrn1().LastPageCount(), 1);

            const QString text = composed(pdftotext({"-layout", pdf}));
            for (const QString &expected : whole)
                EXPECT_TRUE(text.contains(composed(expected))) << expected.toStdString();
            EXPECT_FALSE(text.contains(QChar(0x2026))) << "an elided text";

            // Every word's box lies within the frame, 5 mm from the paper's edges.
            const qreal right = l.RTPrn1().PageLayout().fullRect(QPageLayout::Point).width()
                                - margins.right() * 72 / 25.4;
            static const QRegularExpression word(
                "<word xMin=\"([\\d.]+)\" yMin=\"[\\d.]+\" xMax=\"([\\d.]+)\"[^>]*>([^<]*)<");
            auto words = word.globalMatch(pdftotext({"-bbox", pdf}));
            int count = 0;
            while (words.hasNext()) {
                const auto match = words.next();
                ++count;
                EXPECT_GE(match.captured(1).toDouble(), margins.left() * 72 / 25.4 - 0.5)
                    << match.captured(3).toStdString();
                EXPECT_LE(match.captured(2).toDouble(), right + 0.5)
                    << match.captured(3).toStdString();
            }
            EXPECT_GT(count, 100);
        }
        l.RTPrn1().SetPageLayout(QPageLayout());
    });
}

// Ideographs the CJK fonts draw with the glyph of a radical (日 and ⽇ share
// one) read back as printed, from the printer's PDF file and from the output
// command's PDF alike.
TEST_P(ListPrintPdf, IdeographsSharingARadicalsGlyphReadBackAsPrinted)
{
    const QString name = QStringLiteral("日门人目金库");
    m_login->Execute("UPDATE Warehouse SET cWhName='" + name + "' WHERE cWhCode='01'");
    openListDataSet(false);
    runList([&](frmWHBrowse &l) {
        const QString printed = m_folder.filePath(QStringLiteral("printed.pdf"));
        l.RTPrn1().SetPrintToFile(printed);
        click("TlbPrint");
        const QString output = m_folder.filePath(QStringLiteral("output.pdf"));
        m_seam->expectSaveFile(output);
        click("TlbOutput");
        for (const QString &pdf : {printed, output}) {
            SCOPED_TRACE(pdf.toStdString());
            const QString text = composed(pdftotext({pdf}));
            EXPECT_TRUE(text.contains(name));
            EXPECT_TRUE(text.contains(QStringLiteral("打印日期")));
            EXPECT_EQ(radicalIn(text).toStdString(), "");
        }
    });
}

INSTANTIATE_TEST_SUITE_P(SQLite, ListPrintPdf,
                         ::testing::Values(testsupport::TestEngine::SQLite), engineLabel);

} // namespace
