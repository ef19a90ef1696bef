// Run by hand, never as part of the suite:
//   DEPOTBASE_DOCS_DIR=docs xvfb-run -a test_warehouse -platform xcb
//     --gtest_also_run_disabled_tests --gtest_filter='*ListPrintDocs*'
// (one command line) writes the demo list's PDF, a picture of its print
// preview and pictures of the list, the card, the filter dialog, the page
// set-up and the authority editor into docs/.
#include "ListPrintFixture.h"

#include "authority/AuthorityEditor.h"
#include "authority/AuthorityList.h"
#include "forms/QtTranslations.h"
#include "suite/modal/QtModalSeam.h"
#include "suite/report/RTPrn.h"

#include <QApplication>
#include <QDir>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPixmap>
#include <QPrintPreviewDialog>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

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

// Draws a shown window into a picture of docs/.
void photograph(QWidget *window, const QString &docs, const QString &name)
{
    QApplication::processEvents();
    EXPECT_TRUE(window->grab().save(QDir(docs).absoluteFilePath(name), "PNG"))
        << name.toStdString();
}

TEST_P(ListPrintDocs, DISABLED_WindowPictures)
{
    const QString docs = qEnvironmentVariable("DEPOTBASE_DOCS_DIR");
    if (docs.isEmpty())
        GTEST_SKIP() << "DEPOTBASE_DOCS_DIR names the folder to write into";
    QDir().mkpath(docs);
    depotbase::installQtChineseTranslation();
    runList([&](frmWHBrowse &l) {
        photograph(&l, docs, "warehouse-list.png");
        editCode("05", [&](QDialog *card) { photograph(card, docs, "warehouse-card.png"); });
        m_seam->expectWindow("frmFilter",
                             [&](QDialog *filter) { photograph(filter, docs, "filter.png"); });
        click("TlbFilter");

        QPrinter printer(QPrinter::HighResolution);
        printer.setPageLayout(l.RTPrn1().PageLayout());
        QPageSetupDialog pageSetup(&printer, &l);
        pageSetup.show();
        photograph(&pageSetup, docs, "page-setup.png");
        pageSetup.reject();

        m_seam->expectWindow("FrmWHAuth", [&](QDialog *window) {
            m_seam->expectWindow("FrmAuthority", [&](QDialog *editorWindow) {
                auto *editor = static_cast<FrmAuthority *>(editorWindow);
                // The rights of operator 001 in the grid.
                QTreeWidget *tree = editor->authTree();
                QTreeWidgetItem *node = editor->node("c001");
                ASSERT_NE(node, nullptr);
                QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                                  tree->visualItemRect(node).center());
                editor->waitForNode();
                photograph(editor, docs, "authority-editor.png");
            });
            static_cast<FrmWHAuth *>(window)->toolbarButton("TlbEdit")->trigger();
        });
        click("TlbAuth");
    });
}

INSTANTIATE_TEST_SUITE_P(SQLite, ListPrintDocs,
                         ::testing::Values(testsupport::TestEngine::SQLite), engineLabel);

} // namespace
