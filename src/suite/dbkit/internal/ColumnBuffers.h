#pragma once

// Internal: the buffers a column keeps its values in.
//
// A vector that doubles as it grows touches every page twice or more: the
// new block is fresh memory, the copy writes all of it, and the old block is
// given back. On a list of 100,000 rows those fresh pages were most of the
// load's cost. These buffers grow in fixed blocks that never move once they
// are full size, so every page is touched once. The first block still grows
// by doubling up to the block size, so a small data set stays small.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace dbkit {

namespace buffers {

// Grows the first block to hold `needed` elements of `size` bytes, doubling
// from a small start; returns the new capacity.
void *growFirstBlock(void *block, size_t &capacity, size_t needed, size_t size, size_t most);
void *allocateBlock(size_t bytes);

} // namespace buffers

// An array of plain values in blocks of 2^Shift elements.
template <class T, unsigned Shift>
class BlockArray {
    static_assert(std::is_trivially_copyable_v<T>, "blocks are copied as bytes");

public:
    using value_type = T;
    static constexpr size_t BlockSize = size_t(1) << Shift;

    BlockArray() = default;
    BlockArray(const BlockArray &other) { copyFrom(other); }
    BlockArray(BlockArray &&other) noexcept { swap(other); }
    BlockArray &operator=(const BlockArray &other)
    {
        if (this != &other) {
            BlockArray copy(other);
            swap(copy);
        }
        return *this;
    }
    BlockArray &operator=(BlockArray &&other) noexcept
    {
        BlockArray gone(std::move(other));
        swap(gone);
        return *this;
    }
    ~BlockArray() { release(); }

    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    T &operator[](size_t i) { return m_blocks[i >> Shift][i & (BlockSize - 1)]; }
    const T &operator[](size_t i) const { return m_blocks[i >> Shift][i & (BlockSize - 1)]; }

    void push_back(T value)
    {
        if (m_size == m_capacity)
            grow();
        (*this)[m_size++] = value;
    }
    void set(size_t i, T value) { (*this)[i] = value; }
    void assign(size_t count, T value)
    {
        clear();
        for (size_t i = 0; i < count; ++i)
            push_back(value);
    }
    // Moves every later element one place down.
    void erase(size_t index)
    {
        for (size_t i = index; i + 1 < m_size; ++i)
            (*this)[i] = (*this)[i + 1];
        --m_size;
    }
    void clear()
    {
        BlockArray none;
        swap(none);
    }
    void swap(BlockArray &other) noexcept
    {
        std::swap(m_blocks, other.m_blocks);
        std::swap(m_size, other.m_size);
        std::swap(m_capacity, other.m_capacity);
        std::swap(m_firstCapacity, other.m_firstCapacity);
    }

private:
    void grow()
    {
        if (m_blocks.empty() || m_firstCapacity < BlockSize) {
            void *first = m_blocks.empty() ? nullptr : m_blocks.front();
            first = buffers::growFirstBlock(first, m_firstCapacity, m_size + 1, sizeof(T),
                                            BlockSize);
            if (m_blocks.empty())
                m_blocks.push_back(static_cast<T *>(first));
            else
                m_blocks.front() = static_cast<T *>(first);
            m_capacity = m_firstCapacity;
            return;
        }
        m_blocks.push_back(static_cast<T *>(buffers::allocateBlock(BlockSize * sizeof(T))));
        m_capacity += BlockSize;
    }
    void copyFrom(const BlockArray &other)
    {
        m_blocks.reserve(other.m_blocks.size());
        for (size_t b = 0; b < other.m_blocks.size(); ++b) {
            const size_t count = b == 0 ? other.m_firstCapacity : BlockSize;
            T *block = static_cast<T *>(buffers::allocateBlock(count * sizeof(T)));
            std::memcpy(block, other.m_blocks[b], count * sizeof(T));
            m_blocks.push_back(block);
        }
        m_size = other.m_size;
        m_capacity = other.m_capacity;
        m_firstCapacity = other.m_firstCapacity;
    }
    void release()
    {
        for (T *block : m_blocks)
            std::free(block);
        m_blocks.clear();
    }

    std::vector<T *> m_blocks;
    size_t m_size = 0;
    size_t m_capacity = 0;
    size_t m_firstCapacity = 0;
};

// The texts of a column, one after another in blocks of 2^15 code units
// (Latin-1 bytes or UTF-16 units). A text never crosses the end of a block:
// one that does not fit starts the next block, and one longer than a block
// gets a block of its own, which takes as many positions as it holds. A
// text's position is its start in that numbering, so it can be found without
// a search, and a buffer of Latin-1 texts widened to UTF-16 keeps every
// position.
template <class Unit>
class TextBuffer {
public:
    static constexpr unsigned Shift = 15;
    static constexpr size_t SlotSize = size_t(1) << Shift;

    TextBuffer() = default;
    TextBuffer(const TextBuffer &other);
    TextBuffer(TextBuffer &&other) noexcept { swap(other); }
    TextBuffer &operator=(const TextBuffer &other);
    TextBuffer &operator=(TextBuffer &&other) noexcept;
    ~TextBuffer() { release(); }

    // The same texts, each unit widened, at the same positions.
    template <class Narrow>
    static TextBuffer widened(const TextBuffer<Narrow> &narrow);

    // Room for a text of `length` units: where it starts, and where to write it.
    Unit *reserve(size_t length, size_t &start);
    // Ends the last text at `end` (it may have turned out shorter).
    void setEnd(size_t end) { m_end = end; }
    // The end of the last text: the next text starts here or later.
    size_t end() const { return m_end; }
    const Unit *at(size_t start) const
    {
        return m_slots[start >> Shift] + (start & (SlotSize - 1));
    }
    void swap(TextBuffer &other) noexcept;

private:
    template <class>
    friend class TextBuffer;

    struct Block {
        Unit *data = nullptr;
        size_t firstSlot = 0;
        size_t capacity = 0;   // in code units
    };
    void release();
    void addBlock(size_t start, size_t capacity, Unit *data);

    std::vector<Block> m_blocks;
    std::vector<Unit *> m_slots;   // each slot's first unit
    size_t m_end = 0;              // where the next text may start
    size_t m_limit = 0;            // the end of the last block
};

} // namespace dbkit
