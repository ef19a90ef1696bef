#pragma once

#include <QStyledItemDelegate>

class EditBox;
class SuperGrid;

namespace controls {

// Paints cells (without the focus rectangle when the grid hides it) and
// creates the cell editors by the column's edit style: a line edit limited to
// the column's length, the same with a reference button, or a drop-down list
// filled by the grid's ComboDropDown handler. A finished edit is handed to the
// grid, which stores it and sends AfterEdit.
class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(SuperGrid *grid);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    EditBox *createTextEditor(QWidget *parent, int col) const;
    QWidget *createButtonEditor(QWidget *parent, int row, int col) const;
    SuperGrid *m_grid;
};

} // namespace controls
