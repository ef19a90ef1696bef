#pragma once

#include <QString>
#include <QStringList>

// The item list of a drop-down cell. The grid empties it and hands it to the
// ComboDropDown handler, which adds the items; after the edit, ListIndex()
// tells which item was chosen (0 = first, -1 = none). An item may carry a
// name: the list then shows the code with its name, a typed name finds it,
// and the cell still takes the code.
class GridDropDown {
public:
    void AddItem(const QString &text, const QString &name = QString());
    void Clear();
    int ListCount() const { return int(m_items.size()); }
    QString List(int index) const;
    QString ItemName(int index) const;
    int ListIndex() const { return m_index; }
    void setListIndex(int index);
    const QStringList &items() const { return m_items; }

private:
    QStringList m_items;
    QStringList m_names;
    int m_index = -1;
};
