#include "suite/report/RTPrn.h"

#include "suite/modal/ModalSeam.h"
#include "suite/report/PageComposer.h"
#include "suite/report/PdfTextLayer.h"
#include "suite/report/ReportOutput.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

namespace report {

namespace {

QString safeFileName(const QString &title)
{
    static const QRegularExpression refused(QStringLiteral("[\\\\/:*?\"<>|]"));
    QString name = title.trimmed();
    name.replace(refused, QStringLiteral("_"));
    return name.isEmpty() ? QStringLiteral("report") : name;
}

} // namespace

QString RTPrn::outputFilter()
{
    return QStringLiteral("Excel (*.xlsx);;CSV (*.csv);;PDF (*.pdf);;HTML (*.html)");
}

int RTPrn::OutputStep(int column, const QString &text, int a, int b)
{
    Q_UNUSED(text);
    if (column == -1) {
        m_outputStarted = true;
        m_outputLastCol = b;
        m_outputKinds.clear();
        return Done;
    }
    if (column >= 0) {
        m_outputKinds[column] = columnKindFromCode(a);
        return Done;
    }
    if (column != -2)
        return fail(UnknownStep, QStringLiteral("unknown output step %1").arg(column));

    m_lastError.clear();
    const ReportView view = buildView(true);
    if (!view.source || view.columns.empty())
        return fail(NothingToReport, QStringLiteral("no grid or no visible column"));
    LayoutItems items;
    // The title only names the file here; a PDF reports an unreadable layout.
    const bool layoutRead = loadLayout(items);
    const QString title = reportTitle(items);
    QString dir = m_lastDir;
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString path = modal::seam().saveFileName(m_owner, QStringLiteral("输出到文件"),
                                              QDir(dir).filePath(safeFileName(title) + ".xlsx"),
                                              outputFilter());
    if (path.isEmpty())
        return fail(Cancelled, QStringLiteral("cancelled"));
    QFileInfo info(path);
    if (info.suffix().isEmpty()) {
        path += QStringLiteral(".xlsx");
        info.setFile(path);
    }
    m_lastDir = info.absolutePath();

    const QString suffix = info.suffix().toLower();
    bool written = false;
    if (suffix == QLatin1String("xlsx")) {
        written = writeXlsx(path, view, title, &m_lastError);
    } else if (suffix == QLatin1String("csv")) {
        written = writeCsv(path, view, &m_lastError);
    } else if (suffix == QLatin1String("html") || suffix == QLatin1String("htm")) {
        written = writeHtml(path, view, title, &m_lastError);
    } else if (suffix == QLatin1String("pdf")) {
        return layoutRead ? writePdf(path, view, items, title) : PageUnusable;
    } else {
        return fail(UnknownFileType, QStringLiteral("unknown file type: %1").arg(path));
    }
    return written ? Done : WriteFailed;
}

int RTPrn::writePdf(const QString &path, const ReportView &view, const LayoutItems &items,
                    const QString &title)
{
    PageComposer composer(view, items);
    composer.setOffset(m_offset);
    const QPageLayout layout = PageLayout();
    if (!composer.paginate(layout.paintRect(QPageLayout::Point).size() * 20.0))
        return fail(PageUnusable, QStringLiteral("no row fits the page"));
    // The pages are made in memory, their text layer repaired, and only then
    // written: the file is either whole or not there.
    QByteArray pdf;
    bool painted = false;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageLayout(layout);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("depotbase"));
        painted = composer.render(&writer, &m_lastError);
    }
    if (!painted)
        return WriteFailed;
    QString why;
    if (!repairPdfTextLayer(pdf, composer.printedText(), &why))
        qWarning("depotbase: the PDF's text layer was left as written: %s", qPrintable(why));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size() || !file.commit())
        return fail(WriteFailed, file.errorString());
    m_lastPageCount = composer.pageCount();
    return Done;
}

} // namespace report
