#include "ReportFixture.h"
#include "support/SeamScript.h"
#include "suite/report/LayoutItems.h"

#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>

using namespace reporttest;
using report::RTPrn;

namespace {

// Page set-up where the user turns the paper to landscape and accepts.
class LandscapeSeam : public modal::ScriptedModalSeam {
public:
    LandscapeSeam()
        : ScriptedModalSeam([](const QString &why) { ADD_FAILURE() << why.toStdString(); })
    {
    }
    bool pageSetup(QWidget *parent, QPrinter *printer) override
    {
        const bool accepted = ScriptedModalSeam::pageSetup(parent, printer);
        if (accepted)
            printer->setPageOrientation(QPageLayout::Landscape);
        return accepted;
    }
};

// Preview that notes how the dialog was about to open.
class PreviewLookSeam : public modal::ScriptedModalSeam {
public:
    PreviewLookSeam()
        : ScriptedModalSeam([](const QString &why) { ADD_FAILURE() << why.toStdString(); })
    {
    }
    int printPreview(QPrintPreviewDialog *preview) override
    {
        maximised = preview->windowState().testFlag(Qt::WindowMaximized);
        const auto *pages = preview->findChild<QPrintPreviewWidget *>();
        fitWidth = pages && pages->zoomMode() == QPrintPreviewWidget::FitToWidth;
        title = preview->windowTitle();
        paper = preview->printer()->pageLayout().pageSize().id();
        return ScriptedModalSeam::printPreview(preview);
    }
    bool maximised = false;
    bool fitWidth = false;
    QString title;
    QPageSize::PageSizeId paper = QPageSize::Custom;
};

} // namespace

using RTPrnTest = ReportFixture;

TEST_F(RTPrnTest, WidthsAndMarginsReachThePage)
{
    MemorySource grid = warehouseSource(3);
    RTPrn rt;
    configure(rt, grid);
    // 850 twips arrive as 150 hundredths of a centimetre: 851 twips on the page.
    EXPECT_EQ(rt.ColumnWidthTwips(0), 851);
    EXPECT_EQ(rt.ColumnWidthTwips(2), 0);
    EXPECT_EQ(rt.ColumnWidthTwips(1), 2002);
    EXPECT_EQ(rt.ColumnWidthTwips(9), -1);
    EXPECT_TRUE(rt.ColumnWidth(9, 1000, RTPrn::Twips));
    EXPECT_EQ(rt.ColumnWidthTwips(9), 1000);
    EXPECT_FALSE(rt.ColumnWidth(9, 100, 7));
    EXPECT_FALSE(rt.ColumnWidth(-1, 100, 2));
    // Margins are hundredths of a centimetre: 50 is 5 mm.
    const QMarginsF margins = rt.PageLayout().margins(QPageLayout::Millimeter);
    EXPECT_NEAR(margins.left(), 5.0, 0.01);
    EXPECT_NEAR(margins.bottom(), 5.0, 0.01);
    EXPECT_EQ(rt.PageLayout().pageSize().id(), QPageSize::A4);
}

TEST_F(RTPrnTest, PrinterNameIsTheDefaultPrinterOrEmpty)
{
    RTPrn rt;
    EXPECT_EQ(rt.PrinterName(), QPrinterInfo::defaultPrinterName());
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        EXPECT_EQ(rt.PrinterName(), "");
        MemorySource grid = warehouseSource(3);
        configure(rt, grid);
        rt.SetPrintNow(true);
        EXPECT_EQ(rt.PrintReport(), RTPrn::NoPrinter);
    }
}

TEST_F(RTPrnTest, PageSetupCancelReturns1002AndKeepsTheLayout)
{
    testsupport::SeamScript seam;
    seam->expectPageSetup(false).expectPageSetup(true);
    RTPrn rt;
    const QPageLayout before = rt.PageLayout();
    int n1 = 0, n2 = 0;
    QString text;
    EXPECT_EQ(rt.PageSetupDialog(n1, n2, text), RTPrn::PageSetupCancelled);
    EXPECT_TRUE(rt.PageLayout().isEquivalentTo(before));
    EXPECT_EQ(rt.PageSetupDialog(n1, n2, text), 0);
    EXPECT_EQ(n1, int(QPageSize::A4));
    EXPECT_EQ(n2, 0);
    EXPECT_FALSE(text.isEmpty());
}

TEST_F(RTPrnTest, ChosenPageLayoutServesLaterCommands)
{
    MemorySource grid = warehouseSource(200);
    RTPrn rt;
    auto previous = modal::installSeam(std::make_unique<LandscapeSeam>());
    auto &seam = static_cast<LandscapeSeam &>(modal::seam());
    seam.expectSaveFile(path("portrait.pdf"));
    seam.expectPageSetup(true);
    seam.expectSaveFile(path("landscape.pdf"));

    configure(rt, grid);
    ASSERT_EQ(output(rt), 0);
    const int portraitPages = pdfPageCount(path("portrait.pdf"));

    // A set-up command, then a new output command on the same control: the
    // margins sent again by the caller do not undo the chosen layout.
    int n1 = 0, n2 = 0;
    QString text;
    configure(rt, grid);
    ASSERT_EQ(rt.PageSetupDialog(n1, n2, text), 0);
    EXPECT_EQ(n2, 1);
    configure(rt, grid);
    EXPECT_EQ(rt.PageLayout().orientation(), QPageLayout::Landscape);
    ASSERT_EQ(output(rt), 0);
    EXPECT_GT(pdfPageCount(path("landscape.pdf")), portraitPages);

    EXPECT_TRUE(seam.verifyDone());
    modal::installSeam(std::move(previous));
}

// The preview opens over the whole screen with the page as wide as the window,
// on A4 unless the page set-up chose otherwise; a computer without a printer
// previews too, and the title says that none is installed.
TEST_F(RTPrnTest, PreviewShowsComposedPagesLargeEnoughToRead)
{
    auto look = std::make_unique<PreviewLookSeam>();
    PreviewLookSeam &seam = *look;
    auto previous = modal::installSeam(std::move(look));
    seam.expectPreview();
    MemorySource grid = warehouseSource(120);
    RTPrn rt;
    configure(rt, grid);
    EXPECT_EQ(rt.PreviewReport(), 0);
    EXPECT_GE(rt.LastPageCount(), 2);
    EXPECT_TRUE(seam.maximised);
    EXPECT_TRUE(seam.fitWidth);
    EXPECT_EQ(seam.paper, QPageSize::A4);
    EXPECT_EQ(seam.title.contains("未安装打印机：按页面设置的 A4 纸张排版"),
              QPrinterInfo::defaultPrinterName().isEmpty())
        << seam.title.toStdString();
    EXPECT_TRUE(seam.verifyDone());
    modal::installSeam(std::move(previous));
}

TEST_F(RTPrnTest, PreviewRefusesUnusableSettingsWithoutShowing)
{
    testsupport::SeamScript seam;  // no preview expected
    MemorySource grid = warehouseSource(5);
    RTPrn rt;
    configure(rt, grid);
    rt.SetLayoutTable("TempPrint_100000000");
    EXPECT_EQ(rt.PreviewReport(), RTPrn::PageUnusable);

    configure(rt, grid);
    rt.PageMargins(50, 1400, 50, 1400);  // 14 cm top and bottom: no row fits
    EXPECT_EQ(rt.PreviewReport(), RTPrn::PageUnusable);

    RTPrn empty;
    EXPECT_EQ(empty.PreviewReport(), RTPrn::NothingToReport);
}

TEST_F(RTPrnTest, PrintSendsEveryPageToThePrinter)
{
    MemorySource grid = warehouseSource(300);
    RTPrn rt;
    configure(rt, grid);
    rt.SetPrintToFile(path("printed.pdf"));
    rt.SetPrintNow(true);
    ASSERT_EQ(rt.PrintReport(), 0);
    EXPECT_GE(rt.LastPageCount(), 5);
    EXPECT_EQ(pdfPageCount(path("printed.pdf")), rt.LastPageCount());
}

TEST_F(RTPrnTest, LayoutItemsAreReadWithoutTouchingTheFile)
{
    report::LayoutItems items;
    ASSERT_TRUE(report::readLayoutItems(m_dbPath, m_table, items));
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].kind, report::LayoutItem::Frame);
    EXPECT_EQ(items[0].height, 2252);
    EXPECT_TRUE(items[0].text.isEmpty());  // a single space means none
    EXPECT_EQ(items[2].text, "仓库档案");
    EXPECT_TRUE(items[2].bold() && items[2].underline());
    EXPECT_FALSE(items[3].bold());
    EXPECT_EQ(items[4].section, 1);
    EXPECT_EQ(report::layoutTitle(items), "仓库档案");

    // A table name holding a quote is still one name.
    writeLayoutTable(m_dbPath, "Temp\"Print");
    EXPECT_TRUE(report::readLayoutItems(m_dbPath, "Temp\"Print", items));
    EXPECT_EQ(items.size(), 5u);

    QString error;
    EXPECT_FALSE(report::readLayoutItems(m_dbPath, "NoSuchTable", items, &error));
    EXPECT_FALSE(error.isEmpty());
    const QString missing = path("missing.mdb");
    EXPECT_FALSE(report::readLayoutItems(missing, m_table, items));
    EXPECT_FALSE(QFileInfo::exists(missing));
}
