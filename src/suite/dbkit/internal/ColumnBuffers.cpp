#include "ColumnBuffers.h"

#include <algorithm>
#include <type_traits>

namespace dbkit {

namespace buffers {

void *growFirstBlock(void *block, size_t &capacity, size_t needed, size_t size, size_t most)
{
    size_t grown = std::max<size_t>(capacity, 16);
    while (grown < needed)
        grown *= 2;
    grown = std::min(grown, most);
    void *moved = std::realloc(block, grown * size);
    if (!moved)
        throw std::bad_alloc();
    capacity = grown;
    return moved;
}

void *allocateBlock(size_t bytes)
{
    void *block = std::malloc(bytes);
    if (!block)
        throw std::bad_alloc();
    return block;
}

} // namespace buffers

namespace {

// Slots are the same size in every kind of buffer.
constexpr unsigned SlotShift = TextBuffer<char16_t>::Shift;

size_t slotsFor(size_t units)
{
    return (units + (size_t(1) << SlotShift) - 1) >> SlotShift;
}

} // namespace

template <class Unit>
TextBuffer<Unit>::TextBuffer(const TextBuffer &other)
{
    for (const Block &block : other.m_blocks) {
        auto *data = static_cast<Unit *>(buffers::allocateBlock(block.capacity * sizeof(Unit)));
        std::memcpy(data, block.data, block.capacity * sizeof(Unit));
        addBlock(block.firstSlot << Shift, block.capacity, data);
    }
    m_end = other.m_end;
    m_limit = other.m_limit;
}

template <class Unit>
template <class Narrow>
TextBuffer<Unit> TextBuffer<Unit>::widened(const TextBuffer<Narrow> &narrow)
{
    static_assert(sizeof(Narrow) < sizeof(Unit) && std::is_unsigned_v<Narrow>);
    TextBuffer wide;
    for (const auto &block : narrow.m_blocks) {
        auto *data = static_cast<Unit *>(buffers::allocateBlock(block.capacity * sizeof(Unit)));
        // Only what was written: the unused tail stays untouched memory.
        const size_t first = block.firstSlot << Shift;
        const size_t used = narrow.m_end > first ? std::min(block.capacity, narrow.m_end - first) : 0;
        std::copy(block.data, block.data + used, data);
        wide.addBlock(first, block.capacity, data);
    }
    wide.m_end = narrow.m_end;
    wide.m_limit = narrow.m_limit;
    return wide;
}

template <class Unit>
TextBuffer<Unit> &TextBuffer<Unit>::operator=(const TextBuffer &other)
{
    if (this != &other) {
        TextBuffer copy(other);
        swap(copy);
    }
    return *this;
}

template <class Unit>
TextBuffer<Unit> &TextBuffer<Unit>::operator=(TextBuffer &&other) noexcept
{
    TextBuffer gone(std::move(other));
    swap(gone);
    return *this;
}

template <class Unit>
void TextBuffer<Unit>::swap(TextBuffer &other) noexcept
{
    std::swap(m_blocks, other.m_blocks);
    std::swap(m_slots, other.m_slots);
    std::swap(m_end, other.m_end);
    std::swap(m_limit, other.m_limit);
}

template <class Unit>
void TextBuffer<Unit>::release()
{
    for (const Block &block : m_blocks)
        std::free(block.data);
    m_blocks.clear();
    m_slots.clear();
}

template <class Unit>
void TextBuffer<Unit>::addBlock(size_t start, size_t capacity, Unit *data)
{
    const size_t first = start >> Shift;
    m_blocks.push_back(Block{data, first, capacity});
    m_slots.resize(first);
    for (size_t slot = 0; slot < slotsFor(capacity); ++slot)
        m_slots.push_back(data + (slot << Shift));
}

template <class Unit>
Unit *TextBuffer<Unit>::reserve(size_t length, size_t &start)
{
    start = m_end;
    if (length == 0)
        return nullptr;
    const bool small = m_blocks.empty()
        || (m_blocks.size() == 1 && m_blocks.front().capacity < SlotSize);
    if (small && m_end + length <= SlotSize) {
        // The first block doubles while the column is small.
        if (m_end + length > m_limit) {
            Block &first = m_blocks.empty() ? m_blocks.emplace_back() : m_blocks.front();
            first.data = static_cast<Unit *>(buffers::growFirstBlock(
                first.data, first.capacity, m_end + length, sizeof(Unit), SlotSize));
            m_slots.assign(1, first.data);
            m_limit = first.capacity;
        }
    } else if (m_end + length > m_limit) {
        // A new block at the next slot; the last one's unused tail stays so.
        start = slotsFor(m_limit) << Shift;
        const size_t capacity = slotsFor(length) << Shift;
        addBlock(start, capacity,
                 static_cast<Unit *>(buffers::allocateBlock(capacity * sizeof(Unit))));
        m_limit = start + capacity;
    }
    m_end = start + length;
    return m_slots[start >> Shift] + (start & (SlotSize - 1));
}

template class TextBuffer<unsigned char>;
template class TextBuffer<char16_t>;
template TextBuffer<char16_t> TextBuffer<char16_t>::widened(const TextBuffer<unsigned char> &);

} // namespace dbkit
