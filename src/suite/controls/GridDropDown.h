#pragma once

#include <QString>
#include <QStringList>

// The item list of a drop-down cell. The grid empties it and hands it to the
// ComboDropDown handler, which adds the items; after the edit, ListIndex()
// tells which item was chosen (0 = first, -1 = none).
class GridDropDown {
public:
    void AddItem(const QString &text);
    void Clear();
    int ListCount() const { return int(m_items.size()); }
    QString List(int index) const;
    int ListIndex() const { return m_index; }
    void setListIndex(int index);
    const QStringList &items() const { return m_items; }

private:
    QStringList m_items;
    int m_index = -1;
};
