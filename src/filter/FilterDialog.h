#pragma once

#include "FilterColumns.h"
#include "services/WarehouseFilter.h"

#include <QDialog>
#include <QString>
#include <array>

class QCheckBox;
class QComboBox;
class QPushButton;
namespace services {
class WarehouseQueries;
}

// The filter dialog of the warehouse list, for filtering ("过滤条件") and for
// locating ("查找条件"); one per list, which creates it on first use. The
// caller sets where the value lists are read, shows it modally with a
// caption and the filter to start from, and reads the confirmed filter.
class frmFilter : public QDialog {
    Q_OBJECT
public:
    frmFilter();
    ~frmFilter() override;

    // Where the value buttons read the values a column holds (the list
    // window's reads); without it the buttons list nothing.
    services::WarehouseQueries *queries = nullptr;

    // Loads the dialog (captions, pictures, basic version) and shows it
    // modally with the given caption, its boxes and check box set as in
    // `start`. True when the user confirmed: choice() then holds what was
    // confirmed (a find or a filter as `start` was); a cancel leaves it as
    // it was.
    bool ShowFilter(const QString &caption, const services::WarehouseFilter &start = {});
    // The filter of the last confirm.
    const services::WarehouseFilter &choice() const { return m_choice; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void Form_Load();
    void showChoice(const services::WarehouseFilter &start);
    void fillValueList(int row);
    void confirm();
    services::FilterPositions positionChoice() const;
    int boxRowOf(QObject *watched) const;
    bool pickFromOpenList(int row);

    std::array<QComboBox *, 9> m_boxes{};
    std::array<QPushButton *, 9> m_valueButtons{};
    QCheckBox *chkWHPos = nullptr;
    QPushButton *cmdYes = nullptr;
    QPushButton *cmdNo = nullptr;
    services::WarehouseFilter m_choice;
    // Whether the showing locates a warehouse (kept in the confirmed filter).
    bool m_find = false;
};
