#pragma once

#include "services/Account.h"
#include "services/RightsFilter.h"
#include "services/RightsQueries.h"

#include <QDialog>
#include <QString>
#include <array>
#include <vector>

class QComboBox;
class QPushButton;

// The locate and filter dialog of the authority list: an operator and a
// warehouse, each by code or by name. The caller sets bFilter and shows it
// with a caption; ShowFilter hands back the codes the user gave and the box
// left last. A cancelled dialog hands back an empty filter.
class FrmWAFilter : public QDialog {
    Q_OBJECT
public:
    explicit FrmWAFilter(const services::Account &account, QWidget *parent = nullptr);
    ~FrmWAFilter() override;

    bool bFilter = false;

    // Fills the lists from the database, shows the dialog modally and hands
    // back what the user confirmed. Each showing starts with no box left, so
    // a locate searches by what the user gave this time, never by a box left
    // in an earlier showing.
    services::RightsFilter ShowFilter(const QString &caption);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using Pairs = std::vector<services::CodeAndName>;

    void buildControls();
    void FillFilterCombos();
    static void fillPair(Pairs read, QComboBox *codeBox, QComboBox *nameBox, Pairs &pairs);
    // The code chosen by a code box and a name box of one kind; false when
    // both name entries of the lists but different rows.
    bool chosenCode(QComboBox *codeBox, QComboBox *nameBox, const Pairs &pairs, QString &code);
    static int rowOf(const Pairs &pairs, const QString &text, bool byName,
                     const QString &code);
    static int chosenRow(const QComboBox *box, const Pairs &pairs, bool byName,
                         const QString &code);
    void confirm();
    void onFocusChanged(QWidget *old);
    // The four combo boxes in the order of their RightsFilterBox values:
    // cidCmb, cnameCmb, sidCmb, snameCmb.
    std::array<QComboBox *, 4> boxes() const { return {cidCmb, cnameCmb, sidCmb, snameCmb}; }
    services::RightsFilterBox boxOf(const QWidget *widget) const;
    void refuse(const QString &text);

    services::Account m_account;
    // What the last confirm chose; empty until then.
    services::RightsFilter m_chosen;
    Pairs userPairs;
    Pairs warehousePairs;
    QComboBox *cidCmb = nullptr;
    QComboBox *cnameCmb = nullptr;
    QComboBox *sidCmb = nullptr;
    QComboBox *snameCmb = nullptr;
    QPushButton *Cmd4 = nullptr;
    QPushButton *Cmd5 = nullptr;
};
