#pragma once

// The columns of the authority editor's grid: one row per right of the
// selected operator (or warehouse), listing the other side.
struct RightsColumns {
    enum Column {
        ColOther = 0,      // code of the other side (warehouse or operator)
        ColOtherName = 1,
        ColAutoId = 2,     // hidden: Auto_id of a written row
        ColShowMoney = 3,
        ColClass = 4,
        ColClassName = 5,
        ColInv = 6,
        ColInvName = 7,
        ColInvStd = 8,
        ColumnCount = 9
    };
    // The columns that show a name; they stand out in the name colour.
    static constexpr int NameColumns[] = {ColOtherName, ColClassName, ColInvName, ColInvStd};
};
