#include "SaveFileDialog.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

namespace modal {

namespace {

const QLocale &chinese()
{
    static const QLocale locale(QLocale::Chinese, QLocale::China);
    return locale;
}

// The dialog's file list with the size and date columns worded in Chinese;
// Qt's file system model words them in the computer's locale.
class ChineseFileColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || !files || !index.isValid())
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        switch (index.column()) {
        case sizeColumn:
            if (!files->isDir(source))
                return chinese().formattedDataSize(files->size(source));
            break;
        case dateColumn:
            return chinese().toString(files->lastModified(source), QLocale::ShortFormat);
        default:
            break;
        }
        return QIdentityProxyModel::data(index, role);
    }

private:
    // Columns of Qt's file system model.
    static constexpr int sizeColumn = 1;
    static constexpr int dateColumn = 3;
};

// Makes the default locale Chinese until it goes out of scope.
class ChineseDefaultLocale {
public:
    ChineseDefaultLocale() { QLocale::setDefault(chinese()); }
    ~ChineseDefaultLocale() { QLocale::setDefault(m_previous); }
    ChineseDefaultLocale(const ChineseDefaultLocale &) = delete;
    ChineseDefaultLocale &operator=(const ChineseDefaultLocale &) = delete;

private:
    const QLocale m_previous;
};

} // namespace

QString askSaveFileName(QWidget *parent, const QString &caption, const QString &path,
                        const QString &filter)
{
    // Declared first so that the dialog, and the thread reading its folders,
    // are gone before the locale is given back.
    const ChineseDefaultLocale locale;
    QFileDialog dialog(parent, caption, path, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The dialog takes the model as its child.
    dialog.setProxyModel(new ChineseFileColumns(&dialog));
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

} // namespace modal
