#include "GridDelegate.h"

#include "EditBox.h"
#include "GridModel.h"
#include "SuperGrid.h"
#include "TypeAhead.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QStyle>

namespace controls {

namespace {
const char *rowProperty = "gridRow";
const char *colProperty = "gridCol";

// A drop-down cell's editor. An item picked from the open list commits the
// cell at once, as a user expects; arrows on the closed list only move the
// choice, and Enter (or leaving the cell) commits it.
class GridComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    bool pickedFromList() const { return m_listShown; }

    void showPopup() override
    {
        m_listShown = true;
        QComboBox::showPopup();
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        m_listShown = false;
        QComboBox::keyPressEvent(event);
    }

private:
    bool m_listShown = false;
};

// Fills a drop-down editor: each item shows its code with its name, carries
// both for the type-ahead, and gives the cell its code.
void fillCombo(QComboBox &combo, const GridDropDown &list)
{
    combo.setView(new TypeAheadView<QListView>(&combo));
    for (int i = 0; i < list.ListCount(); ++i) {
        const QString code = list.List(i);
        const QString name = list.ItemName(i);
        combo.addItem(name.isEmpty() ? code : code + QStringLiteral("  ") + name);
        combo.setItemData(i, code, CodeRole);
        if (!name.isEmpty())
            combo.setItemData(i, name, NameRole);
    }
}

bool isReferenceKey(const QKeyEvent *key)
{
    return key->key() == Qt::Key_R
           && (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
}
} // namespace

GridDelegate::GridDelegate(SuperGrid *grid)
    : QStyledItemDelegate(grid), m_grid(grid)
{
}

void GridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                         const QModelIndex &index) const
{
    QStyleOptionViewItem opt(option);
    if (m_grid->FocusRect() == 0 || m_grid->HighLight() == 0)
        opt.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, opt, index);
}

QWidget *GridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                    const QModelIndex &index) const
{
    const int row = index.row() + 1;
    const int col = index.column();
    QWidget *editor = nullptr;
    switch (m_grid->ColEditStyle(col)) {
    case SuperGrid::EditDropDown: {
        auto *combo = new GridComboBox(parent);
        GridDropDown *list = m_grid->dropDown();
        list->Clear();
        emit m_grid->ComboDropDown(row, col, list);
        fillCombo(*combo, *list);
        auto *self = const_cast<GridDelegate *>(this);
        connect(combo, &QComboBox::activated, combo, [self, combo] {
            if (!combo->pickedFromList())
                return;
            emit self->commitData(combo);
            emit self->closeEditor(combo, QAbstractItemDelegate::NoHint);
        });
        editor = combo;
        break;
    }
    case SuperGrid::EditButton:
        editor = createButtonEditor(parent, row, col);
        break;
    default:
        editor = createTextEditor(parent, col);
        break;
    }
    editor->setProperty(rowProperty, row);
    editor->setProperty(colProperty, col);
    return editor;
}

// A cell's text editor: ColLength counts characters, and the cell's text is
// shown whole even when it is longer.
EditBox *GridDelegate::createTextEditor(QWidget *parent, int col) const
{
    auto *line = new EditBox(parent);
    if (m_grid->ColLength(col) > 0)
        line->setMaxLength(m_grid->ColLength(col));
    return line;
}

QWidget *GridDelegate::createButtonEditor(QWidget *parent, int row, int col) const
{
    EditBox *line = createTextEditor(parent, col);
    const QIcon icon = line->style()->standardIcon(QStyle::SP_FileDialogContentsView);
    QAction *button = line->addAction(icon, QLineEdit::TrailingPosition);
    button->setObjectName("gridRefButton");
    button->setToolTip(GridModel::referenceToolTip());
    line->setToolTip(GridModel::referenceToolTip());
    auto *self = const_cast<GridDelegate *>(this);
    connect(button, &QAction::triggered, line, [self, line, row, col] {
        // The reference fills the row itself; what was typed is dropped.
        emit self->closeEditor(line, QAbstractItemDelegate::NoHint);
        self->m_grid->buttonPressed(row, col);
    });
    return line;
}

void GridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const QString text = index.data(Qt::EditRole).toString();
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        const int pos = combo->findData(text, CodeRole);
        combo->setCurrentIndex(pos);
        m_grid->dropDown()->setListIndex(pos);
    } else if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        line->setText(text);
        line->selectAll();
    }
}

void GridDelegate::setModelData(QWidget *editor, QAbstractItemModel *,
                                const QModelIndex &index) const
{
    QString text;
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        m_grid->dropDown()->setListIndex(combo->currentIndex());
        text = combo->currentData(CodeRole).toString();
    } else if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        text = line->text();
    }
    m_grid->commitEdit(index.row() + 1, index.column(), text);
}

bool GridDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<QWidget *>(object);
    if (editor && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (isReferenceKey(key)) {
            const QList<QAction *> actions = editor->actions();
            if (!actions.isEmpty() && actions.first()->objectName() == "gridRefButton")
                actions.first()->trigger();
            return true;
        }
        if (!key->text().isEmpty() && key->text().at(0).isPrint()) {
            int ascii = key->text().at(0).unicode();
            emit m_grid->KeyPressEdit(editor->property(rowProperty).toInt(),
                                      editor->property(colProperty).toInt(), ascii);
            if (ascii == 0)
                return true;   // the handler refused the key
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace controls
