// Run by hand, never as part of the suite:
//   test_warehouse --gtest_also_run_disabled_tests --gtest_filter='*ListOutputBench*'
// prints the time and peak memory of writing 100,000 warehouses from the list
// to .xlsx and .csv;
//   DEPOTBASE_DOCS_DIR=docs xvfb-run -a test_warehouse -platform xcb
//     --gtest_also_run_disabled_tests --gtest_filter='*ListPrintDocs*'
// (one command line)
// writes the demo list's PDF and a picture of its print preview into docs/.
#include "ListPrintFixture.h"

#include "suite/modal/QtModalSeam.h"
#include "suite/report/RTPrn.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QPrintPreviewDialog>
#include <QTimer>

#include <cstdio>

using namespace whtest;

namespace {

long statusKb(const char *field)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toLong();
    return -1;
}

void resetPeak()
{
    QFile refs("/proc/self/clear_refs");
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

using ListOutputBench = ListPrintFixture;
using ListPrintDocs = ListPrintFixture;

TEST_P(ListOutputBench, DISABLED_OutputOfAHundredThousandWarehouses)
{
    constexpr int count = 100000;
    GenerateWarehouses(*m_login, count - 12, 1);
    openListDataSet(false);
    runList([&](frmWHBrowse &) {
        ASSERT_EQ(grid().Rows(), count + 1);
        const long listKb = statusKb("VmRSS:");
        std::printf("list of %d warehouses loaded (%s): resident %.1f MB\n", count,
                    testsupport::engineName(GetParam()).c_str(), listKb / 1024.0);
        for (const char *type : {"xlsx", "csv"}) {
            const QString path = m_folder.filePath(QStringLiteral("list.") + type);
            m_seam->expectSaveFile(path);
            resetPeak();
            QElapsedTimer timer;
            timer.start();
            click("TlbOutput");
            const qint64 ms = timer.elapsed();
            const long peakKb = statusKb("VmHWM:");
            std::printf("output of %d warehouses to .%s: %lld ms, peak resident %.1f MB "
                        "(+%.1f MB over the loaded list), file %.1f MB\n",
                        count, type, static_cast<long long>(ms), peakKb / 1024.0,
                        (peakKb - listKb) / 1024.0, QFileInfo(path).size() / 1048576.0);
            EXPECT_GT(QFileInfo(path).size(), 1000000);
        }
    });
}

// The Qt seam, except that the print preview is photographed once its pages
// are drawn and then closed.
class PhotographingSeam : public modal::QtModalSeam {
public:
    explicit PhotographingSeam(QString picture) : m_picture(std::move(picture)) {}
    int printPreview(QPrintPreviewDialog *preview) override
    {
        preview->resize(1100, 820);
        QTimer::singleShot(1500, preview, [this, preview] {
            m_saved = preview->grab().save(m_picture, "PNG");
            preview->reject();
        });
        return QtModalSeam::printPreview(preview);
    }
    bool saved() const { return m_saved; }

private:
    QString m_picture;
    bool m_saved = false;
};

TEST_P(ListPrintDocs, DISABLED_DemoListPdfAndPreviewPicture)
{
    const QString docs = qEnvironmentVariable("DEPOTBASE_DOCS_DIR");
    if (docs.isEmpty())
        GTEST_SKIP() << "DEPOTBASE_DOCS_DIR names the folder to write into";
    QDir().mkpath(docs);
    runList([&](frmWHBrowse &l) {
        m_seam->expectSaveFile(QDir(docs).absoluteFilePath("demo-list.pdf"));
        click("TlbOutput");
        EXPECT_EQ(l.RTPrn1().LastPageCount(), 1);

        // A computer without a printer previews through a PDF "printer".
        l.RTPrn1().SetPrintToFile(m_folder.filePath("printer.pdf"));
        auto photographer =
            std::make_unique<PhotographingSeam>(QDir(docs).absoluteFilePath("preview.png"));
        PhotographingSeam *seam = photographer.get();
        auto scripted = modal::installSeam(std::move(photographer));
        click("TlbPreview");
        EXPECT_TRUE(seam->saved());
        modal::installSeam(std::move(scripted));
    });
}

INSTANTIATE_TEST_SUITE_P(SQLite, ListOutputBench,
                         ::testing::Values(testsupport::TestEngine::SQLite), engineLabel);
INSTANTIATE_TEST_SUITE_P(SQLite, ListPrintDocs,
                         ::testing::Values(testsupport::TestEngine::SQLite), engineLabel);

} // namespace
