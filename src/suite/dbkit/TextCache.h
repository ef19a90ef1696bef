#pragma once

// Internal: one span of a column's text buffer per distinct value while the
// column loads.
//
// Lists repeat most of their texts down a column (operators, warehouses,
// departments, styles): a list of 200,000 rights holds 2,000 operator names.
// Each distinct text is converted and stored once and every row that holds
// it names the same span, which saves both the conversion and most of the
// memory. A column whose texts rarely repeat stops using the cache after a
// trial period, so unique columns (codes, item names) pay little.

#include "ColumnStore.h"

#include <cstddef>
#include <vector>

namespace dbkit {

class TextCache {
public:
    // The span this text was stored in before; nullptr when it is to be
    // stored (and then remembered).
    const TextSpan *find(const char *utf8, int bytes);
    void remember(const char *utf8, int bytes, TextSpan span);

private:
    struct Slot {
        TextSpan span;
        size_t hash = 0;
        size_t offset = 0;   // where its UTF-8 bytes stand in m_bytes
        int bytes = -1;      // -1: the slot is free
    };

    // A text of more bytes is converted every time: long texts rarely repeat.
    static constexpr int LongestShared = 64;
    // Lookups before the cache judges whether it pays: a quarter of them
    // must have been found.
    static constexpr size_t TrialLookups = 4096;
    // At most this many distinct texts are kept; later ones pass through.
    static constexpr size_t MostTexts = 32768;

    Slot *lookUp(const char *utf8, int bytes, size_t hash);
    void place(const Slot &slot);
    void grow();

    std::vector<Slot> m_slots;
    std::vector<char> m_bytes;   // the kept texts as they came, for exact compares
    size_t m_used = 0;
    size_t m_lookups = 0;
    size_t m_hits = 0;
    bool m_enabled = true;
    size_t m_lastHash = 0;   // of the text find() missed last
};

} // namespace dbkit
