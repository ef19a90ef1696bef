#pragma once

#include <array>

// The ten columns of the warehouse list grid: field, width in twips, grid
// kind (1 text, 4 numeric), input length (0: not set) and title id in the
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
    {"cWhCode", 1200, 1, 10, 52},
    {"cWhName", 2000, 1, 20, 53},
    {"cDepName", 1800, 1, 12, 54},
    {"cWHAddress", 3000, 1, 30, 55},
    {"cWHPhone", 2000, 1, 20, 56},
    {"cWHPerson", 1000, 1, 10, 57},
    {"cWHValueStyle", 1400, 1, 12, 58},
    {"bWhPos", 1200, 1, 0, 59},
    {"iWHFundQuota", 1000, 4, 0, 60},
    {"cWHMemo", 2500, 1, 20, 61},
}};

// System colours as the grid takes them: 0x80000000 plus the colour index.
inline constexpr unsigned SysHighlight = 0x8000000D;
inline constexpr unsigned SysHighlightText = 0x8000000E;
inline constexpr unsigned SysInactiveBorder = 0x8000000B;
inline constexpr unsigned SysButtonText = 0x80000012;
