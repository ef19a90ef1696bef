#include "RefDialog.h"

#include "RefFilterModel.h"
#include "Twips.h"
#include "suite/dbkit/DbDataSet.h"
#include "suite/modal/ModalSeam.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

using controls::twipsPerPixel;

namespace {

constexpr int defaultColumnPixels = 100;
constexpr int beforeFirst = -1;
constexpr int afterLast = -2;
constexpr int recordRole = Qt::UserRole + 1;

// Where a data set stands, as a record number from 0 or beforeFirst/afterLast.
int recordPosition(dbkit::DbDataSet &data)
{
    if (data.BOF())
        return beforeFirst;
    if (data.Eof())
        return afterLast;
    int position = 0;
    data.MovePrevious();
    while (!data.BOF()) {
        ++position;
        data.MovePrevious();
    }
    return position;
}

void moveToRecord(dbkit::DbDataSet &data, int position)
{
    if (data.RecordCount() == 0 && data.BOF() && data.Eof())
        return;
    if (position == afterLast) {
        data.MoveLast();
        data.MoveNext();
        return;
    }
    data.MoveFirst();
    if (position == beforeFirst) {
        data.MovePrevious();
        return;
    }
    for (int i = 0; i < position && !data.Eof(); ++i)
        data.MoveNext();
}

} // namespace

RefDialog::RefDialog(QWidget *parent)
    : QObject(parent), m_parent(parent)
{
}

RefDialog::~RefDialog()
{
    delete m_window;
}

void RefDialog::setRefData(dbkit::DbDataSetPtr data)
{
    m_data = std::move(data);
    m_prepared = false;
}

QString RefDialog::RefColumnTitle(int col) const
{
    const auto it = m_titles.find(col);
    if (it != m_titles.end())
        return it->second;
    return m_data && col < m_data->FieldCount() ? m_data->FieldName(col) : QString();
}

void RefDialog::setRefColumnTitle(int col, const QString &title)
{
    m_titles[col] = title;
    if (m_prepared)
        applyColumns();
}

int RefDialog::RefColumnWidth(int col) const
{
    const auto it = m_widths.find(col);
    return it != m_widths.end() ? it->second : defaultColumnPixels * twipsPerPixel;
}

void RefDialog::setRefColumnWidth(int col, int twips)
{
    m_widths[col] = std::max(twips, 0);
    if (m_prepared)
        applyColumns();
}

void RefDialog::buildWindow()
{
    if (m_window)
        return;
    m_window = new QDialog(m_parent);
    m_window->setObjectName("RefDialog");
    m_search = new QLineEdit(m_window);
    m_search->setObjectName("txtSearch");
    m_search->setPlaceholderText(QStringLiteral("输入编码或名称查找"));
    m_rows = new QStandardItemModel(m_window);
    m_filter = new controls::RefFilterModel(m_window);
    m_filter->setSourceModel(m_rows);
    m_table = new QTableView(m_window);
    m_table->setObjectName("tblRef");
    m_table->setModel(m_filter);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    auto *buttons = new QDialogButtonBox(m_window);
    // Alt+O and Alt+C press the buttons, as in the component's other dialogs.
    QPushButton *ok = buttons->addButton(QStringLiteral("确定(&O)"),
                                         QDialogButtonBox::AcceptRole);
    ok->setObjectName("btnOK");
    ok->setDefault(true);
    QPushButton *cancel = buttons->addButton(QStringLiteral("取消(&C)"),
                                             QDialogButtonBox::RejectRole);
    cancel->setObjectName("btnCancel");
    cancel->setAutoDefault(false);
    auto *layout = new QVBoxLayout(m_window);
    layout->addWidget(m_search);
    layout->addWidget(m_table);
    layout->addWidget(buttons);

    // Enter (the default button), OK and a double click all choose.
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { choose(); });
    connect(buttons, &QDialogButtonBox::rejected, m_window, &QDialog::reject);
    connect(m_table, &QAbstractItemView::doubleClicked, this, [this] { choose(); });
    connect(m_search, &QLineEdit::textChanged, this, [this](const QString &t) { search(t); });
    m_search->installEventFilter(this);
}

void RefDialog::RefPrepare()
{
    buildWindow();
    m_rows->clear();
    m_fieldCount = 0;
    m_prepared = true;
    if (!m_data)
        return;
    dbkit::DbDataSet &data = *m_data;
    m_fieldCount = data.FieldCount();
    m_rows->setColumnCount(m_fieldCount);
    const int position = recordPosition(data);
    int record = 0;
    for (data.MoveFirst(); !data.Eof(); data.MoveNext(), ++record) {
        QList<QStandardItem *> items;
        for (int col = 0; col < m_fieldCount; ++col) {
            const QVariant value = data.Fields(col);
            auto *item = new QStandardItem(value.isNull() ? QString() : value.toString());
            item->setData(record, recordRole);
            items.append(item);
        }
        m_rows->appendRow(items);
    }
    moveToRecord(data, position);
    applyColumns();
}

void RefDialog::applyColumns()
{
    int total = 0;
    for (int col = 0; col < m_fieldCount; ++col) {
        m_rows->setHeaderData(col, Qt::Horizontal, RefColumnTitle(col));
        const int pixels = RefColumnWidth(col) / twipsPerPixel;
        m_table->setColumnHidden(col, pixels == 0);
        if (pixels > 0)
            m_table->setColumnWidth(col, pixels);
        total += pixels;
    }
    m_window->resize(std::max(total + 60, 420), 400);
}

void RefDialog::search(const QString &text)
{
    m_filter->setSearch(text);
    // A row whose code or name is the search text is the one meant, even
    // where other rows merely contain it and come first.
    const int exact = m_filter->exactRow();
    if (exact >= 0)
        m_table->setCurrentIndex(m_filter->index(exact, 0));
    else if (!m_table->currentIndex().isValid() && m_filter->rowCount() > 0)
        m_table->setCurrentIndex(m_filter->index(0, 0));
}

void RefDialog::moveCurrent(int key)
{
    const int count = m_filter->rowCount();
    if (count == 0)
        return;
    const int page = std::max(m_table->viewport()->height()
                                  / std::max(m_table->verticalHeader()->defaultSectionSize(), 1),
                              1);
    int row = m_table->currentIndex().isValid() ? m_table->currentIndex().row() : -1;
    switch (key) {
    case Qt::Key_Up: row -= 1; break;
    case Qt::Key_Down: row += 1; break;
    case Qt::Key_PageUp: row -= page; break;
    case Qt::Key_PageDown: row += page; break;
    default: return;
    }
    m_table->setCurrentIndex(m_filter->index(std::clamp(row, 0, count - 1), 0));
}

bool RefDialog::eventFilter(QObject *watched, QEvent *event)
{
    // The search box keeps the focus while the arrows move through the rows.
    if (watched == m_search && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp
            || key == Qt::Key_PageDown) {
            moveCurrent(key);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void RefDialog::choose()
{
    const QModelIndex current = m_table->currentIndex();
    if (!current.isValid()) {
        modal::beep();
        return;
    }
    m_chosenRecord = m_filter->index(current.row(), 0).data(recordRole).toInt();
    m_window->accept();
}

void RefDialog::RefShow()
{
    m_chosen = false;
    m_chosenRecord = -1;
    if (!m_prepared)
        RefPrepare();
    m_window->setWindowTitle(m_caption);
    m_search->blockSignals(true);
    m_search->clear();
    m_search->blockSignals(false);
    m_filter->setSearch(QString());
    m_table->setCurrentIndex(m_filter->rowCount() > 0 ? m_filter->index(0, 0) : QModelIndex());
    m_search->setFocus();
    const int result = modal::showModal(m_window);
    // The next showing reads the rows again: callers requery between uses.
    m_prepared = false;
    if (result == QDialog::Accepted && m_chosenRecord >= 0 && m_data) {
        moveToRecord(*m_data, m_chosenRecord);
        m_chosen = true;
    }
}
