#pragma once

#include <QSortFilterProxyModel>
#include <QString>

namespace controls {

// Keeps the rows whose code (column 0) or name (column 1) contains the
// search text, case ignored.
class RefFilterModel : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setSearch(const QString &text);
    QString search() const { return m_text; }
    // The first kept row whose code or name equals the search text, case
    // ignored; -1 when there is none.
    int exactRow() const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    QString m_text;
};

} // namespace controls
