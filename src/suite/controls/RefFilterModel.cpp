#include "RefFilterModel.h"

namespace controls {

void RefFilterModel::setSearch(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed == m_text)
        return;
    m_text = trimmed;
    invalidateFilter();
}

bool RefFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    if (m_text.isEmpty())
        return true;
    const QAbstractItemModel *src = sourceModel();
    for (int col = 0; col < std::min(2, src->columnCount(sourceParent)); ++col) {
        const QString cell = src->index(sourceRow, col, sourceParent).data().toString();
        if (cell.contains(m_text, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

int RefFilterModel::exactRow() const
{
    if (m_text.isEmpty())
        return -1;
    for (int row = 0; row < rowCount(); ++row) {
        for (int col = 0; col < std::min(2, columnCount()); ++col) {
            if (index(row, col).data().toString().compare(m_text, Qt::CaseInsensitive) == 0)
                return row;
        }
    }
    return -1;
}

} // namespace controls
