#pragma once

#include "data/Catalogue.h"
#include "suite/controls/SuperGrid.h"

#include <array>

// The ten columns of the warehouse list grid: field, width in twips, grid
// kind, input length (0: not set) and title id in the
// message catalogue.
struct ListColumn {
    const char *field;
    int width;
    int kind;
    int length;
    int titleId;
};

inline constexpr int ListColumnCount = 10;
inline constexpr int PositionColumn = 7;
inline constexpr int QuotaColumn = 8;

inline constexpr std::array<ListColumn, ListColumnCount> ListColumns{{
    {"cWhCode", 1200, SuperGrid::KindText, 10, depotbase::text::WarehouseCode},
    {"cWhName", 2000, SuperGrid::KindText, 20, depotbase::text::WarehouseName},
    {"cDepName", 1800, SuperGrid::KindText, 12, depotbase::text::Department},
    {"cWHAddress", 3000, SuperGrid::KindText, 30, depotbase::text::WarehouseAddress},
    {"cWHPhone", 2000, SuperGrid::KindText, 20, depotbase::text::Phone},
    {"cWHPerson", 1000, SuperGrid::KindText, 10, depotbase::text::Manager},
    {"cWHValueStyle", 1400, SuperGrid::KindText, 12, depotbase::text::ValuationStyle},
    {"bWhPos", 1200, SuperGrid::KindText, 0, depotbase::text::PositionManaged},
    {"iWHFundQuota", 1000, SuperGrid::KindNumeric, 0, depotbase::text::Quota},
    {"cWHMemo", 2500, SuperGrid::KindText, 20, depotbase::text::Remark},
}};

// System colours as the grid takes them: 0x80000000 plus the colour index.
inline constexpr unsigned SysHighlight = 0x8000000D;
inline constexpr unsigned SysHighlightText = 0x8000000E;
inline constexpr unsigned SysInactiveBorder = 0x8000000B;
inline constexpr unsigned SysButtonText = 0x80000012;
