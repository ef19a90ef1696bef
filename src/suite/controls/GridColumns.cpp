#include "GridColumns.h"

#include <algorithm>

namespace controls {

int GridColumns::width(int col) const { return read(col, &Column::widthTwips, 0); }
int GridColumns::kind(int col) const { return read(col, &Column::kind, 0); }
int GridColumns::length(int col) const { return read(col, &Column::length, 0); }
int GridColumns::flag(int col) const { return read(col, &Column::flag, 0); }
int GridColumns::editStyle(int col) const { return read(col, &Column::editStyle, 0); }
uint32_t GridColumns::back(int col) const { return read(col, &Column::back, noColor); }

bool GridColumns::setWidth(int col, int twips)
{
    return write(col, &Column::widthTwips, std::max(twips, 0));
}

bool GridColumns::setKind(int col, int value) { return write(col, &Column::kind, value); }

bool GridColumns::setLength(int col, int value)
{
    return write(col, &Column::length, std::max(value, 0));
}

bool GridColumns::setFlag(int col, int value) { return write(col, &Column::flag, value); }

bool GridColumns::setEditStyle(int col, int style)
{
    return write(col, &Column::editStyle, style);
}

bool GridColumns::setBack(int col, uint32_t color) { return write(col, &Column::back, color); }

int GridColumns::nextVisible(int col, int step) const
{
    for (int c = col + step; valid(c); c += step) {
        if (width(c) > 0)
            return c;
    }
    return col;
}

} // namespace controls
