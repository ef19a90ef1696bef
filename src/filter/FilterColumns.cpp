#include "FilterColumns.h"

namespace filtercolumns {

const std::array<Column, Count> &columns()
{
    static const std::array<Column, Count> table{{
        {"lblWHCode", 52, "cboWHCode", "cmdValue1"},
        {"lblWHName", 53, "cboWHName", "cmdValue2"},
        {"lblWHDep", 54, "cboWHDep", "cmdValue3"},
        {"lblWHPerson", 57, "cboWHPerson", "cmdValue4"},
        {"lblWHPhone", 56, "cboWHPhone", "cmdValue5"},
        {"lblWHFundQuota", 60, "cboWHFundQuota", "cmdValue6"},
        {"lblWHValueStyle", 58, "cboWHValueStyle", "cmdValue7"},
        {"lblWHAddress", 55, "cboWHAddress", "cmdValue8"},
        {"lblWHMemo", 61, "cboWHMemo", "cmdValue9"},
    }};
    return table;
}

} // namespace filtercolumns
