#pragma once

#include "FilterColumns.h"
#include "suite/dbkit/DbLogin.h"

#include <QDialog>
#include <QString>
#include <array>

class QCheckBox;
class QComboBox;
class QPushButton;

// The filter dialog of the warehouse list, for filtering ("过滤条件") and for
// locating ("查找条件"); one per list, which creates it on first use. The
// caller sets the caption and clears strSel, shows it modally and reads
// strSel afterwards: a WHERE-clause body without the word, or "" when
// cancelled.
class frmFilter : public QDialog {
    Q_OBJECT
public:
    frmFilter();
    ~frmFilter() override;

    // The login the value lists are read through (the list window's).
    dbkit::DbLoginPtr dbs;
    // The condition built by the last confirm.
    QString strSel;

    // Loads the dialog (captions, pictures, basic version) and shows it
    // modally with the given caption, its boxes and check box set as in
    // `start`. True when the user confirmed: strSel and choice() then hold
    // what was confirmed; a cancel leaves both as they were.
    bool ShowFilter(const QString &caption, const filtercolumns::Choice &start = {});
    // The choice of the last confirm.
    const filtercolumns::Choice &choice() const { return m_choice; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void done(int result) override;

private:
    void buildControls();
    void Form_Load();
    void showChoice(const filtercolumns::Choice &start);
    void fillValueList(int row);
    void confirm();
    filtercolumns::Positions positionChoice() const;
    void releaseValueSets();
    int boxRowOf(QObject *watched) const;
    bool pickFromOpenList(int row);

    std::array<QComboBox *, 9> m_boxes{};
    std::array<QPushButton *, 9> m_valueButtons{};
    // One value data set per value button, kept until the dialog closes.
    std::array<dbkit::DbDataSetPtr, 9> m_valueSets{};
    QCheckBox *chkWHPos = nullptr;
    QPushButton *cmdYes = nullptr;
    QPushButton *cmdNo = nullptr;
    filtercolumns::Choice m_choice;
};
