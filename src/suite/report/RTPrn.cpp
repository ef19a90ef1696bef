#include "suite/report/RTPrn.h"

#include "suite/modal/ModalSeam.h"
#include "suite/report/PageComposer.h"
#include "suite/report/PdfTextLayer.h"

#include <QAction>
#include <QFileInfo>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cmath>
#include <memory>

namespace report {

RTPrn::RTPrn() = default;
RTPrn::~RTPrn() = default;

void RTPrn::Identify(const QString &system, const QString &report)
{
    m_system = system;
    m_report = report;
}

QString RTPrn::PrinterName() const
{
    // Pages sent to a PDF file have their printer: the file.
    if (!m_printToFile.isEmpty())
        return m_printToFile;
    return QPrinterInfo::defaultPrinterName();
}

int RTPrn::PageSetupDialog(int &paperSize, int &orientation, QString &paperName)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(PageLayout());
    if (!modal::seam().pageSetup(m_owner, &printer))
        return PageSetupCancelled;
    m_chosenLayout = printer.pageLayout();
    m_layoutChosen = true;
    paperSize = int(m_chosenLayout.pageSize().id());
    orientation = m_chosenLayout.orientation() == QPageLayout::Landscape ? 1 : 0;
    paperName = m_chosenLayout.pageSize().name();
    return Done;
}

bool RTPrn::ColumnWidth(int col, int width, int unit)
{
    if (col < 0 || width < 0)
        return false;
    switch (unit) {
    case Twips:
        m_columnTwips[col] = width;
        return true;
    case HundredthsCm:
        m_columnTwips[col] = int(std::lround(width * twipsPerHundredthCm));
        return true;
    default:
        return false;
    }
}

int RTPrn::ColumnWidthTwips(int col) const
{
    const auto found = m_columnTwips.find(col);
    return found == m_columnTwips.end() ? -1 : found->second;
}

void RTPrn::PageMargins(int left, int top, int right, int bottom)
{
    // Hundredths of a centimetre are tenths of a millimetre.
    m_marginsMm = QMarginsF(std::max(0, left) / 10.0, std::max(0, top) / 10.0,
                            std::max(0, right) / 10.0, std::max(0, bottom) / 10.0);
}

QPageLayout RTPrn::PageLayout() const
{
    if (m_layoutChosen)
        return m_chosenLayout;
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, m_marginsMm,
                       QPageLayout::Millimeter);
}

ReportView RTPrn::buildView(bool forOutput) const
{
    ReportView view;
    view.source = m_source;
    if (!m_source)
        return view;
    int lastCol = m_source->Cols() - 1;
    if (forOutput && m_outputStarted && m_outputLastCol >= 0)
        lastCol = std::min(lastCol, m_outputLastCol);
    int visible = 0;
    for (int col = 0; col <= lastCol; ++col) {
        const int set = ColumnWidthTwips(col);
        const int width = set >= 0 ? set : m_source->ColWidth(col);
        if (width <= 0)
            continue;
        const auto kind = m_outputKinds.find(visible++);
        view.columns.push_back({col, width,
                                kind == m_outputKinds.end() ? ColumnKind::Text : kind->second,
                                m_source->ColNumeric(col)});
    }
    view.titleRows = std::clamp(m_lastTitleRow + 1, 0, m_source->Rows());
    return view;
}

bool RTPrn::loadLayout(LayoutItems &items)
{
    items.clear();
    // Without a layout the page holds the table and the page numbers only.
    if (m_databasePath.isEmpty() || m_layoutTable.isEmpty())
        return true;
    QString error;
    if (readLayoutItems(m_databasePath, m_layoutTable, items, &error))
        return true;
    m_lastError = error;
    return false;
}

QString RTPrn::reportTitle(const LayoutItems &items) const
{
    const QString title = layoutTitle(items);
    return title.isEmpty() ? m_report : title;
}

int RTPrn::fail(int code, const QString &why)
{
    m_lastError = why;
    return code;
}

int RTPrn::prepare(const ReportView &view, LayoutItems &items, PageComposer &composer)
{
    m_lastPageCount = 0;
    m_lastError.clear();
    if (!view.source || view.columns.empty())
        return fail(NothingToReport, QStringLiteral("no grid or no visible column"));
    if (!loadLayout(items))
        return PageUnusable;
    composer.setOffset(m_offset);
    const QSizeF printable = PageLayout().paintRect(QPageLayout::Point).size() * 20.0;
    if (!composer.paginate(printable))
        return fail(PageUnusable, QStringLiteral("no row fits the page"));
    return Done;
}

int RTPrn::PreviewReport()
{
    const ReportView view = buildView(false);
    LayoutItems items;
    PageComposer composer(view, items);
    if (const int code = prepare(view, items, composer))
        return code;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(PageLayout());
    printer.setDocName(reportTitle(items));
    QPrintPreviewDialog preview(&printer, m_owner);
    // A computer without a printer still previews, on the page set-up's paper
    // (A4 unless another was chosen); the title says why printing will refuse.
    QString title = reportTitle(items);
    if (PrinterName().isEmpty())
        title += QStringLiteral("（未安装打印机：按页面设置的 %1 纸张排版）")
                     .arg(PageLayout().pageSize().name());
    preview.setWindowTitle(title);
    // Large enough to read a page: the whole screen, the page as wide as the window.
    preview.setWindowState(preview.windowState() | Qt::WindowMaximized);
    if (auto *fitWidth = preview.findChild<QAction *>(QStringLiteral("fitWidthAction")))
        fitWidth->trigger();
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, [&](QPrinter *target) {
        if (composer.render(target, &m_lastError))
            m_lastPageCount = composer.pageCount();
    });
    modal::seam().printPreview(&preview);
    return Done;
}

int RTPrn::PrintReport()
{
    const ReportView view = buildView(false);
    LayoutItems items;
    PageComposer composer(view, items);
    if (const int code = prepare(view, items, composer))
        return code;
    std::unique_ptr<QPrinter> printer;
    if (!m_printToFile.isEmpty()) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(m_printToFile);
    } else {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            return fail(NoPrinter, QStringLiteral("no default printer"));
        printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
    printer->setPageLayout(PageLayout());
    printer->setCopyCount(std::max(1, m_copies));
    printer->setDocName(reportTitle(items));
    if (m_confirmPrint && !m_confirmPrint(composer.pageCount()))
        return Cancelled;
    if (!composer.render(printer.get(), &m_lastError))
        return WriteFailed;
    // The printer finishes and closes a PDF file when painting ends; gone, it
    // holds nothing of it open.
    printer.reset();
    if (!m_printToFile.isEmpty()) {
        const QFileInfo written(m_printToFile);
        if (!written.isFile() || written.size() == 0)
            return fail(WriteFailed, QStringLiteral("the PDF file was not written: %1")
                                         .arg(m_printToFile));
        QString why;
        if (!repairPdfTextLayerFile(m_printToFile, composer.printedText(), &why))
            qWarning("depotbase: the PDF's text layer was left as written: %s", qPrintable(why));
    }
    m_lastPageCount = composer.pageCount();
    return Done;
}

} // namespace report
