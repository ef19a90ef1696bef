#include "TextCache.h"

#include <QByteArrayView>
#include <QHash>

#include <cstring>

namespace dbkit {

const TextSpan *TextCache::find(const char *utf8, int bytes)
{
    if (!m_enabled || bytes > LongestShared)
        return nullptr;
    if (++m_lookups == TrialLookups && m_hits * 4 < m_lookups) {
        // Fewer than a quarter of the texts repeated: not worth keeping.
        m_enabled = false;
        m_slots = {};
        m_bytes = {};
        m_used = 0;
        return nullptr;
    }
    m_lastHash = qHash(QByteArrayView(utf8, bytes));
    if (const Slot *slot = lookUp(utf8, bytes, m_lastHash)) {
        ++m_hits;
        return &slot->span;
    }
    return nullptr;
}

void TextCache::remember(const char *utf8, int bytes, TextSpan span)
{
    if (!m_enabled || bytes > LongestShared || m_used >= MostTexts)
        return;
    if ((m_used + 1) * 2 > m_slots.size())
        grow();
    const size_t offset = m_bytes.size();
    m_bytes.insert(m_bytes.end(), utf8, utf8 + bytes);
    place(Slot{span, m_lastHash, offset, bytes});
    ++m_used;
}

// Open addressing with linear probing over a power-of-two table kept at most
// half full.
TextCache::Slot *TextCache::lookUp(const char *utf8, int bytes, size_t hash)
{
    if (m_slots.empty())
        return nullptr;
    const size_t mask = m_slots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot &slot = m_slots[i];
        if (slot.bytes < 0)
            return nullptr;
        if (slot.hash == hash && slot.bytes == bytes
            && std::memcmp(m_bytes.data() + slot.offset, utf8, size_t(bytes)) == 0)
            return &slot;
    }
}

void TextCache::place(const Slot &slot)
{
    const size_t mask = m_slots.size() - 1;
    size_t i = slot.hash & mask;
    while (m_slots[i].bytes >= 0)
        i = (i + 1) & mask;
    m_slots[i] = slot;
}

void TextCache::grow()
{
    std::vector<Slot> old = std::move(m_slots);
    m_slots = std::vector<Slot>(old.empty() ? 256 : old.size() * 2);
    for (const Slot &slot : old)
        if (slot.bytes >= 0)
            place(slot);
}

} // namespace dbkit
