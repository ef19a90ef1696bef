#include "TextCache.h"

#include <QByteArrayView>
#include <QHash>

#include <cstring>

namespace dbkit {

const TextStart *TextCache::find(const char *utf8, int bytes)
{
    if (!m_enabled || bytes > LongestShared)
        return nullptr;
    if (++m_lookups == TrialLookups && m_hits * 4 < m_lookups) {
        // Fewer than a quarter of the texts repeated: not worth keeping.
        m_enabled = false;
        m_slots = {};
        m_entries.clear();
        m_bytes = {};
        return nullptr;
    }
    m_lastHash = uint32_t(qHash(QByteArrayView(utf8, bytes)));
    if (const Entry *entry = lookUp(utf8, bytes, m_lastHash)) {
        ++m_hits;
        return &entry->start;
    }
    return nullptr;
}

void TextCache::remember(const char *utf8, int bytes, TextStart start)
{
    if (!m_enabled || bytes > LongestShared || m_entries.size() >= MostTexts)
        return;
    if ((m_entries.size() + 1) * 2 > m_slots.size())
        grow();
    const auto offset = uint32_t(m_bytes.size());
    keepBytes(utf8, bytes);
    m_entries.push_back(Entry{start, offset, uint32_t(bytes)});
    place(Slot{m_lastHash, uint32_t(m_entries.size())});
}

void TextCache::keepBytes(const char *utf8, int bytes)
{
    // Past a first 64 KB the room for every text the cache may keep is taken
    // at once: pages are only handed out as they are written, and the bytes
    // are never copied again.
    constexpr size_t Small = size_t(64) * 1024;
    if (m_bytes.size() + size_t(bytes) > m_bytes.capacity() && m_bytes.capacity() >= Small)
        m_bytes.reserve(MostTexts * LongestShared);
    m_bytes.insert(m_bytes.end(), utf8, utf8 + bytes);
}

// Open addressing with linear probing over a power-of-two table kept at most
// half full.
const TextCache::Entry *TextCache::lookUp(const char *utf8, int bytes, uint32_t hash) const
{
    if (m_slots.empty())
        return nullptr;
    const size_t mask = m_slots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot slot = m_slots[i];
        if (slot.entry == 0)
            return nullptr;
        if (slot.hash != hash)
            continue;
        const Entry &entry = m_entries[slot.entry - 1];
        if (entry.bytes == uint32_t(bytes)
            && std::memcmp(m_bytes.data() + entry.offset, utf8, size_t(bytes)) == 0)
            return &entry;
    }
}

void TextCache::place(Slot slot)
{
    const size_t mask = m_slots.size() - 1;
    size_t i = slot.hash & mask;
    while (m_slots[i].entry != 0)
        i = (i + 1) & mask;
    m_slots[i] = slot;
}

void TextCache::grow()
{
    std::vector<Slot> old = std::move(m_slots);
    m_slots = std::vector<Slot>(old.empty() ? 256 : old.size() * 2);
    for (const Slot &slot : old)
        if (slot.entry != 0)
            place(slot);
}

} // namespace dbkit
