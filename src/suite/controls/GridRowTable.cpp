#include "GridRowTable.h"

#include "GridColumns.h"

#include <algorithm>
#include <utility>

namespace controls {

const QString *GridRowTable::Row::ownText(int col) const
{
    if (extra == nullptr || size_t(col) >= extra->cells.size())
        return nullptr;
    return &extra->cells[size_t(col)];
}

uint32_t GridRowTable::Row::back(int col) const
{
    if (extra == nullptr || size_t(col) >= extra->backs.size())
        return GridColumns::noColor;
    return extra->backs[size_t(col)];
}

GridRowTable::Row GridRowTable::row(size_t row) const
{
    const uint32_t entry = m_entries[row];
    if (hasExtra(entry)) {
        const Extra &extra = m_extras[extraIndex(entry)];
        return {extra.source, extra.sourceRow, &extra};
    }
    if (entry == Empty)
        return {};
    return {FirstSource, entry, nullptr};
}

void GridRowTable::grow(size_t rows)
{
    // The count asked for is reserved exactly (a list filled at once), but
    // rows appended one at a time still double the room.
    if (rows > m_entries.capacity())
        m_entries.reserve(std::max(rows, 2 * m_entries.size()));
    m_entries.resize(rows, Empty);
}

std::vector<GridRowTable::Extra> GridRowTable::dropFrom(size_t first, bool releaseStorage)
{
    std::vector<Extra> dropped;
    size_t droppedExtras = 0;
    for (size_t r = first; r < m_entries.size(); ++r)
        droppedExtras += hasExtra(m_entries[r]) ? 1 : 0;
    if (droppedExtras == m_extras.size() - m_freeExtras.size()) {
        // No row that stays has an extra: the pool goes whole.
        dropped = std::exchange(m_extras, {});
        m_freeExtras = {};
    } else {
        dropped.reserve(droppedExtras);
        for (size_t r = first; r < m_entries.size(); ++r) {
            if (!hasExtra(m_entries[r]))
                continue;
            dropped.push_back(std::move(m_extras[extraIndex(m_entries[r])]));
            release(extraIndex(m_entries[r]));
        }
    }
    m_entries.resize(first);
    if (releaseStorage)
        m_entries.shrink_to_fit();
    return dropped;
}

void GridRowTable::erase(size_t row)
{
    if (hasExtra(m_entries[row]))
        release(extraIndex(m_entries[row]));
    m_entries.erase(m_entries.begin() + std::ptrdiff_t(row));
}

void GridRowTable::reshape(const std::vector<size_t> &removed,
                           const std::vector<size_t> &addedBefore)
{
    std::vector<uint32_t> entries;
    entries.reserve(m_entries.size() - removed.size() + addedBefore.size());
    auto nextRemoved = removed.begin();
    auto nextAdded = addedBefore.begin();
    for (size_t row = 0; row <= m_entries.size(); ++row) {
        for (; nextAdded != addedBefore.end() && *nextAdded == row; ++nextAdded)
            entries.push_back(Empty);
        if (row == m_entries.size())
            break;
        if (nextRemoved != removed.end() && *nextRemoved == row) {
            ++nextRemoved;
            if (hasExtra(m_entries[row]))
                release(extraIndex(m_entries[row]));
            continue;
        }
        entries.push_back(m_entries[row]);
    }
    m_entries = std::move(entries);
}

void GridRowTable::clear()
{
    std::fill(m_entries.begin(), m_entries.end(), Empty);
    m_extras = {};
    m_freeExtras = {};
}

GridRowTable::Extra &GridRowTable::own(size_t row)
{
    uint32_t &entry = m_entries[row];
    if (hasExtra(entry))
        return m_extras[extraIndex(entry)];
    Extra extra;
    if (entry != Empty) {
        extra.source = FirstSource;
        extra.sourceRow = entry;
    }
    uint32_t index;
    if (m_freeExtras.empty()) {
        index = uint32_t(m_extras.size());
        m_extras.push_back(std::move(extra));
    } else {
        index = m_freeExtras.back();
        m_freeExtras.pop_back();
        m_extras[index] = std::move(extra);
    }
    entry = ExtraBit | index;
    return m_extras[index];
}

void GridRowTable::readSource(size_t row, uint16_t source, uint32_t sourceRow)
{
    uint32_t &entry = m_entries[row];
    if (hasExtra(entry) && source == FirstSource && m_extras[extraIndex(entry)].backs.empty()) {
        release(extraIndex(entry));
        entry = Empty;
    }
    if (!hasExtra(entry) && source == FirstSource) {
        entry = sourceRow;
        return;
    }
    Extra &extra = own(row);
    extra.cells = {};
    extra.source = source;
    extra.sourceRow = sourceRow;
}

void GridRowTable::reserveExtras(size_t count)
{
    const size_t needed = m_extras.size() + count - std::min(count, m_freeExtras.size());
    if (needed > m_extras.capacity())
        m_extras.reserve(needed);
}

std::vector<bool> GridRowTable::sourcesRead(size_t sourceCount) const
{
    std::vector<bool> read(sourceCount, false);
    if (sourceCount == 0)
        return read;
    read[FirstSource - 1u] = std::any_of(m_entries.begin(), m_entries.end(), [](uint32_t entry) {
        return entry != Empty && !hasExtra(entry);
    });
    for (const Extra &extra : m_extras)
        if (extra.source != 0)
            read[extra.source - 1u] = true;
    return read;
}

void GridRowTable::fitColumns(size_t cols)
{
    for (Extra &extra : m_extras) {
        if (extra.cells.size() > cols)
            extra.cells.resize(cols);
        if (extra.backs.size() > cols)
            extra.backs.resize(cols);
    }
}

void GridRowTable::permute(size_t first, const std::vector<int> &order)
{
    std::vector<uint32_t> sorted;
    sorted.reserve(order.size());
    for (int i : order)
        sorted.push_back(m_entries[first + size_t(i)]);
    std::copy(sorted.begin(), sorted.end(), m_entries.begin() + std::ptrdiff_t(first));
}

void GridRowTable::release(uint32_t index)
{
    m_extras[index] = {};
    m_freeExtras.push_back(index);
}

} // namespace controls
