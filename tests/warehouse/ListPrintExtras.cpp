// Run by hand, never as part of the suite:
//   DEPOTBASE_DOCS_DIR=docs xvfb-run -a test_warehouse -platform xcb
//     --gtest_also_run_disabled_tests --gtest_filter='*ListPrintDocs*'
// (one command line) writes the demo list's PDF and a picture of its print
// preview into docs/.
#include "ListPrintFixture.h"

#include "suite/modal/QtModalSeam.h"
#include "suite/report/RTPrn.h"

#include <QDir>
#include <QPixmap>
#include <QPrintPreviewDialog>
#include <QTimer>

using namespace whtest;

namespace {

using ListPrintDocs = ListPrintFixture;

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

INSTANTIATE_TEST_SUITE_P(SQLite, ListPrintDocs,
                         ::testing::Values(testsupport::TestEngine::SQLite), engineLabel);

} // namespace
