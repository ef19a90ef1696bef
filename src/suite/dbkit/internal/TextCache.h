#pragma once

// Internal: one text of a column's buffer per distinct value while the
// column loads.
//
// Lists repeat most of their texts down a column (operators, warehouses,
// departments, styles): a list of 200,000 rights holds 2,000 operator names.
// Each distinct text is converted and stored once and every row that holds
// it names the same text, which saves both the conversion and most of the
// memory. A column whose texts rarely repeat stops using the cache after a
// trial period, so unique columns (codes, item names) pay little.

#include "ColumnStore.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dbkit {

class TextCache {
public:
    // Where this text was stored before; nullptr when it is to be
    // stored (and then remembered).
    const TextStart *find(const char *utf8, int bytes);
    void remember(const char *utf8, int bytes, TextStart start);

private:
    // A kept text; the table's slots name it by its place here.
    struct Entry {
        TextStart start = 0;
        uint32_t offset = 0;   // where its UTF-8 bytes stand in m_bytes
        uint32_t bytes = 0;
    };
    // Eight bytes a slot, so the table of a column with many distinct texts
    // stays small: the low half of the hash and the entry's place plus one
    // (0: the slot is free).
    struct Slot {
        uint32_t hash = 0;
        uint32_t entry = 0;
    };

    // A text of more bytes is converted every time: long texts rarely repeat.
    static constexpr int LongestShared = 64;
    // Lookups before the cache judges whether it pays: a quarter of them
    // must have been found.
    static constexpr size_t TrialLookups = 4096;
    // At most this many distinct texts are kept; later ones pass through.
    static constexpr size_t MostTexts = 32768;

    const Entry *lookUp(const char *utf8, int bytes, uint32_t hash) const;
    void place(Slot slot);
    void grow();
    void keepBytes(const char *utf8, int bytes);

    std::vector<Slot> m_slots;
    BlockArray<Entry, 12> m_entries;
    std::vector<char> m_bytes;   // the kept texts as they came, for exact compares
    size_t m_lookups = 0;
    size_t m_hits = 0;
    bool m_enabled = true;
    uint32_t m_lastHash = 0;   // of the text find() missed last
};

} // namespace dbkit
