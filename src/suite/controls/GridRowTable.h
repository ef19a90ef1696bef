#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace controls {

// What a grid keeps per row, in 32 bits for a row that only reads a row of
// the grid's first source (a list's data set shown without a copy) or is
// empty. A row with texts or cell colours of its own, or one that reads a
// later source, carries an extra entry in a pool beside the rows, so a list
// of a million rows read from its data set costs four bytes a row.
class GridRowTable {
public:
    // Source ids are 1 + the index into the grid's sources; 0 is no source.
    static constexpr uint16_t FirstSource = 1;

    struct Extra {
        std::vector<QString> cells;    // own texts; empty while reading a source
        std::vector<uint32_t> backs;   // empty until a cell gets a colour
        uint32_t sourceRow = 0;
        uint16_t source = 0;
    };

    // A row as the grid reads it.
    struct Row {
        uint16_t source = 0;
        uint32_t sourceRow = 0;
        const Extra *extra = nullptr;   // null while the row has nothing of its own

        // The row's own text of `col`; null where it keeps none.
        const QString *ownText(int col) const;
        uint32_t back(int col) const;
    };

    explicit GridRowTable(size_t rows) : m_entries(rows, Empty) {}

    size_t size() const { return m_entries.size(); }
    Row row(size_t row) const;

    // New rows at the end are empty.
    void grow(size_t rows);
    // Drops rows `first`.. and hands back what their extras held, so that
    // the texts of a long list can be freed on another thread. Dropping a
    // long list also gives its storage back.
    std::vector<Extra> dropFrom(size_t first, bool releaseStorage);
    void erase(size_t row);
    // Removes the rows `removed` (ascending, distinct) and puts an empty row
    // before each row `addedBefore` names (ascending; the row count for the
    // end), both in the rows as they stand now, in one pass over the rows.
    void reshape(const std::vector<size_t> &removed, const std::vector<size_t> &addedBefore);
    // Every row empty, with nothing of its own.
    void clear();

    // The row's extra entry, made on first use from what the row reads.
    Extra &own(size_t row);
    // The row reads `sourceRow` of `source` instead of texts of its own; its
    // cell colours stay.
    void readSource(size_t row, uint16_t source, uint32_t sourceRow);
    // Room for `count` more extra entries, made before many rows of a later
    // source are shown.
    void reserveExtras(size_t count);
    // Which of `sourceCount` sources some row reads.
    std::vector<bool> sourcesRead(size_t sourceCount) const;
    // Cuts every row's own texts and colours to `cols` columns.
    void fitColumns(size_t cols);

    // Rows `first`.. stand in `order`: the i-th of them is the one that was
    // at first + order[i].
    void permute(size_t first, const std::vector<int> &order);

private:
    // An entry with this bit holds an index into m_extras; any other entry
    // but Empty is a row of the first source. Grid rows are counted in ints,
    // so neither a source row nor an index ever reaches the top bit.
    static constexpr uint32_t ExtraBit = 0x8000'0000u;
    static constexpr uint32_t Empty = 0x7fff'ffffu;

    static bool hasExtra(uint32_t entry) { return (entry & ExtraBit) != 0; }
    static uint32_t extraIndex(uint32_t entry) { return entry & ~ExtraBit; }
    void release(uint32_t index);

    std::vector<uint32_t> m_entries;
    std::vector<Extra> m_extras;
    std::vector<uint32_t> m_freeExtras;
};

} // namespace controls
