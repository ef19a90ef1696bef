#pragma once

// Internal: one text per distinct value of a column while it loads.
//
// Lists repeat most of their texts down a column (operators, warehouses,
// departments, styles): a list of 200,000 rights holds 2,000 operator names.
// Each distinct text is converted and allocated once and shared by every row
// that holds it, which saves both the conversion and most of the memory. A
// column whose texts rarely repeat stops using the cache after a trial
// period, so unique columns (codes, item names) pay little.

#include <QString>
#include <cstddef>
#include <vector>

namespace dbkit {

class TextCache {
public:
    QString text(const char *utf8, int bytes);

private:
    struct Slot {
        QString text;
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

    Slot *find(const char *utf8, int bytes, size_t hash);
    void insert(const QString &text, size_t hash, const char *utf8, int bytes);
    void place(const Slot &slot);
    void grow();

    std::vector<Slot> m_slots;
    std::vector<char> m_bytes;   // the kept texts as they came, for exact compares
    size_t m_used = 0;
    size_t m_lookups = 0;
    size_t m_hits = 0;
    bool m_enabled = true;
};

} // namespace dbkit
