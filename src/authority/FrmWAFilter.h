#pragma once

#include "suite/dbkit/DbLogin.h"

#include <QDialog>
#include <QString>
#include <array>
#include <utility>
#include <vector>

class QComboBox;
class QPushButton;

// The locate and filter dialog of the authority list: an operator and a
// warehouse, each by code or by name. The caller sets strSel to "" and
// bFilter, shows it with a caption and reads strSel (and, after a locate,
// iConditon) when it has closed.
//  - locate (bFilter false): strSel = operator code + "@*#" + warehouse code;
//  - filter (bFilter true): strSel = a condition on WarehAuth without a
//    leading " And ", "" when nothing was given.
// A cancelled dialog leaves strSel as the caller set it.
class FrmWAFilter : public QDialog {
    Q_OBJECT
public:
    explicit FrmWAFilter(dbkit::DbLoginPtr login, QWidget *parent = nullptr);
    ~FrmWAFilter() override;

    QString strSel;
    bool bFilter = false;
    // Which combo box lost the focus last: 1 operator code, 2 operator name,
    // 3 warehouse code, 4 warehouse name; 0 when none has during this showing.
    int iConditon = 0;

    // Fills the lists from the database and shows the dialog modally. Each
    // showing starts with iConditon 0, so a locate searches by what the user
    // gave this time, never by a box left in an earlier showing.
    void ShowFilter(const QString &caption);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using Pairs = std::vector<std::pair<QString, QString>>;

    void buildControls();
    void FillFilterCombos();
    void fillPair(const QString &sql, QComboBox *codeBox, QComboBox *nameBox, Pairs &pairs);
    void OpenFilterSource(const QString &kind);
    // The code chosen by a code box and a name box of one kind; false when
    // both name entries of the lists but different rows.
    bool chosenCode(QComboBox *codeBox, QComboBox *nameBox, const Pairs &pairs, QString &code);
    static int rowOf(const Pairs &pairs, const QString &text, bool byName,
                     const QString &code);
    static int chosenRow(const QComboBox *box, const Pairs &pairs, bool byName,
                         const QString &code);
    void confirm();
    void onFocusChanged(QWidget *old);
    // The four combo boxes in the order their numbers go: 1 cidCmb,
    // 2 cnameCmb, 3 sidCmb, 4 snameCmb.
    std::array<QComboBox *, 4> boxes() const { return {cidCmb, cnameCmb, sidCmb, snameCmb}; }
    int boxNumber(const QWidget *widget) const;
    void refuse(const QString &text);

    dbkit::DbLoginPtr m_login;
    dbkit::DbDataSetPtr rsSource;
    Pairs userPairs;
    Pairs warehousePairs;
    QComboBox *cidCmb = nullptr;
    QComboBox *cnameCmb = nullptr;
    QComboBox *sidCmb = nullptr;
    QComboBox *snameCmb = nullptr;
    QPushButton *Cmd4 = nullptr;
    QPushButton *Cmd5 = nullptr;
};
