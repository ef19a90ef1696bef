#include "FilterColumns.h"

#include "data/Catalogue.h"

namespace filtercolumns {

const std::array<Column, Count> &columns()
{
    static const std::array<Column, Count> table{{
        {"lblWHCode", depotbase::text::WarehouseCode, "cboWHCode", "cmdValue1"},
        {"lblWHName", depotbase::text::WarehouseName, "cboWHName", "cmdValue2"},
        {"lblWHDep", depotbase::text::Department, "cboWHDep", "cmdValue3"},
        {"lblWHPerson", depotbase::text::Manager, "cboWHPerson", "cmdValue4"},
        {"lblWHPhone", depotbase::text::Phone, "cboWHPhone", "cmdValue5"},
        {"lblWHFundQuota", depotbase::text::Quota, "cboWHFundQuota", "cmdValue6"},
        {"lblWHValueStyle", depotbase::text::ValuationStyle, "cboWHValueStyle", "cmdValue7"},
        {"lblWHAddress", depotbase::text::WarehouseAddress, "cboWHAddress", "cmdValue8"},
        {"lblWHMemo", depotbase::text::Remark, "cboWHMemo", "cmdValue9"},
    }};
    return table;
}

} // namespace filtercolumns
