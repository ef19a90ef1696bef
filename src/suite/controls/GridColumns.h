#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace controls {

// The settings of a grid's columns. Reads of a column that does not exist
// give 0 (its back colour: none), and writes to one change nothing, so the
// grid can pass a caller's column number on as it is.
class GridColumns {
public:
    static constexpr uint32_t noColor = 0xFFFFFFFFu;
    static constexpr int numericKind = 4;
    static constexpr int referenceStyle = 1;

    explicit GridColumns(int count) : m_columns(std::size_t(count)) {}

    int count() const { return int(m_columns.size()); }
    void resize(int count) { m_columns.resize(std::size_t(count)); }
    bool valid(int col) const { return col >= 0 && col < count(); }

    // In twips; 0 hides the column. Negative widths count as 0.
    int width(int col) const;
    int kind(int col) const;
    bool numeric(int col) const { return kind(col) == numericKind; }
    // Maximum input length when editing; 0 = no limit. Negative counts as 0.
    int length(int col) const;
    int flag(int col) const;
    int editStyle(int col) const;
    // The colour of the column's cells below the titles that have none of
    // their own.
    uint32_t back(int col) const;

    // Each setter tells whether the column exists.
    bool setWidth(int col, int twips);
    bool setKind(int col, int value);
    bool setLength(int col, int value);
    bool setFlag(int col, int value);
    bool setEditStyle(int col, int style);
    bool setBack(int col, uint32_t color);

    // The nearest shown column from col in the direction of step (+1 or -1);
    // col itself when there is none.
    int nextVisible(int col, int step) const;

private:
    struct Column {
        int widthTwips = 960;
        int kind = 1;        // 1 text, 4 numeric (right-aligned, sorted as numbers)
        int length = 0;
        int flag = 0;
        int editStyle = 0;   // 0 text, 1 text with a reference button, 4 drop-down list
        uint32_t back = noColor;
    };
    // The column's field through `field`, or `absent` for a missing column.
    template<typename T>
    T read(int col, T Column::*field, T absent) const
    {
        return valid(col) ? m_columns[std::size_t(col)].*field : absent;
    }
    template<typename T>
    bool write(int col, T Column::*field, T value)
    {
        if (!valid(col))
            return false;
        m_columns[std::size_t(col)].*field = value;
        return true;
    }

    std::vector<Column> m_columns;
};

} // namespace controls
