#pragma once

#include <QString>

namespace services {

// The combo box of the authority list's locate and filter dialog that the
// user left last; None when no box has lost the focus in this showing.
enum class RightsFilterBox { None, OperatorCode, OperatorName, WarehouseCode, WarehouseName };

// What the locate and filter dialog hands back: an operator code and a
// warehouse code, either left empty when not given, and the box left last.
// A filter lists the rights that match every code given; a locate finds the
// first listed right that matches.
struct RightsFilter {
    QString operatorCode;
    QString warehouseCode;
    RightsFilterBox lastBox = RightsFilterBox::None;

    // Nothing given (or the dialog cancelled): a filter lists every right
    // and a locate does nothing.
    bool empty() const { return operatorCode.isEmpty() && warehouseCode.isEmpty(); }
    // With both codes given a locate wants that operator's right on that
    // warehouse; with one, the box left last says which side is compared.
    bool locatesByOperator() const
    {
        return bothGiven() || lastBox == RightsFilterBox::OperatorCode
               || lastBox == RightsFilterBox::OperatorName;
    }
    bool locatesByWarehouse() const
    {
        return bothGiven() || lastBox == RightsFilterBox::WarehouseCode
               || lastBox == RightsFilterBox::WarehouseName;
    }

private:
    bool bothGiven() const { return !operatorCode.isEmpty() && !warehouseCode.isEmpty(); }
};

} // namespace services
