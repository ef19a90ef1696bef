// The output command's file dialog, Qt's own, reads in Chinese on a computer
// whose locale is English: the type, size and date of the files it lists
// too, and the application's locale is what it was once the dialog closes.
#include "forms/QtTranslations.h"
#include "suite/modal/ModalSeam.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

// The texts of the dialog's detail view in the row of `name`.
QStringList rowTexts(QFileDialog *dialog, const QString &name)
{
    auto *view = dialog->findChild<QTreeView *>(QStringLiteral("treeView"));
    if (!view)
        return {};
    QAbstractItemModel *model = view->model();
    const QModelIndex folder = view->rootIndex();
    QStringList texts;
    const bool read = QTest::qWaitFor([&] {
        for (int row = 0; row < model->rowCount(folder); ++row) {
            if (model->index(row, 0, folder).data().toString() != name)
                continue;
            texts.clear();
            for (int column = 0; column < model->columnCount(folder); ++column)
                texts << model->index(row, column, folder).data().toString();
            // The type and date come from a thread reading the folder.
            return !texts.value(2).isEmpty() && !texts.value(3).isEmpty();
        }
        return false;
    });
    return read ? texts : QStringList();
}

TEST(QtTranslationTest, TheOutputFileDialogReadsInChinese)
{
    ASSERT_TRUE(depotbase::installQtChineseTranslation())
        << "Qt's Chinese translation (qt6-translations-l10n) is not installed";
    const QLocale before;
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("账目")));
    QFile pdf(folder.filePath(QStringLiteral("清单.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::WriteOnly) && pdf.write("%PDF-1.4\n") == 9);
    pdf.close();

    QStringList folderRow;
    QStringList fileRow;
    QString header;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        folderRow = rowTexts(dialog, QStringLiteral("账目"));
        fileRow = rowTexts(dialog, QStringLiteral("清单.pdf"));
        auto *view = dialog->findChild<QTreeView *>(QStringLiteral("treeView"));
        header = view->model()->headerData(3, Qt::Horizontal).toString();
        dialog->reject();
    });
    const QString chosen = modal::seam().saveFileName(
        nullptr, QStringLiteral("输出到文件"), folder.filePath(QStringLiteral("仓库档案.pdf")),
        QStringLiteral("PDF (*.pdf)"));
    EXPECT_EQ(chosen.toStdString(), "");

    ASSERT_EQ(folderRow.size(), 4) << folderRow.join('|').toStdString();
    ASSERT_EQ(fileRow.size(), 4) << fileRow.join('|').toStdString();
    EXPECT_EQ(folderRow[2].toStdString(), "文件夹");
    EXPECT_EQ(fileRow[2].toStdString(), "PDF 文档");
    EXPECT_EQ(fileRow[1].toStdString(), "9 字节");
    // 2026/12/9 14:05, not 9 Dec 2026 14:05:00 or 12/9/26 2:05 PM.
    static const QRegularExpression chineseDate(
        QStringLiteral("^\\d{4}/\\d{1,2}/\\d{1,2} \\d{1,2}:\\d{2}$"));
    EXPECT_TRUE(chineseDate.match(folderRow[3]).hasMatch()) << folderRow[3].toStdString();
    EXPECT_EQ(header.toStdString(), "修改日期");
    EXPECT_EQ(QLocale(), before);
}

} // namespace
