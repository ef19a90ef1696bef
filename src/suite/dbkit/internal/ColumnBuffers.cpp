#include "ColumnBuffers.h"

#include <algorithm>

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

size_t slotsFor(size_t units)
{
    return (units + TextBuffer::SlotSize - 1) >> TextBuffer::Shift;
}

} // namespace

TextBuffer::TextBuffer(const TextBuffer &other)
{
    for (const Block &block : other.m_blocks) {
        auto *data = static_cast<char16_t *>(buffers::allocateBlock(block.capacity * 2));
        std::memcpy(data, block.data, block.capacity * 2);
        addBlock(block.firstSlot << Shift, block.capacity, data);
    }
    m_end = other.m_end;
    m_limit = other.m_limit;
}

TextBuffer &TextBuffer::operator=(const TextBuffer &other)
{
    if (this != &other) {
        TextBuffer copy(other);
        swap(copy);
    }
    return *this;
}

TextBuffer &TextBuffer::operator=(TextBuffer &&other) noexcept
{
    TextBuffer gone(std::move(other));
    swap(gone);
    return *this;
}

void TextBuffer::swap(TextBuffer &other) noexcept
{
    std::swap(m_blocks, other.m_blocks);
    std::swap(m_slots, other.m_slots);
    std::swap(m_end, other.m_end);
    std::swap(m_limit, other.m_limit);
}

void TextBuffer::release()
{
    for (const Block &block : m_blocks)
        std::free(block.data);
    m_blocks.clear();
    m_slots.clear();
}

void TextBuffer::addBlock(size_t start, size_t capacity, char16_t *data)
{
    const size_t first = start >> Shift;
    m_blocks.push_back(Block{data, first, capacity});
    m_slots.resize(first);
    for (size_t slot = 0; slot < slotsFor(capacity); ++slot)
        m_slots.push_back(data + (slot << Shift));
}

char16_t *TextBuffer::reserve(size_t length, size_t &start)
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
            first.data = static_cast<char16_t *>(buffers::growFirstBlock(
                first.data, first.capacity, m_end + length, sizeof(char16_t), SlotSize));
            m_slots.assign(1, first.data);
            m_limit = first.capacity;
        }
    } else if (m_end + length > m_limit) {
        // A new block at the next slot; the last one's unused tail stays so.
        start = slotsFor(m_limit) << Shift;
        const size_t capacity = slotsFor(length) << Shift;
        addBlock(start, capacity,
                 static_cast<char16_t *>(buffers::allocateBlock(capacity * sizeof(char16_t))));
        m_limit = start + capacity;
    }
    m_end = start + length;
    return m_slots[start >> Shift] + (start & (SlotSize - 1));
}

} // namespace dbkit
