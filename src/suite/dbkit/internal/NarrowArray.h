#pragma once

// Internal: an array of integers kept in as few bytes as its values need.
//
// Most integer columns hold small numbers (flags, counts), and a column
// whose texts repeat names few places in its small text buffer. Each value
// takes 1, 2, 4 or 8 bytes, the fewest that hold every value so far; the
// first value that does not fit widens the array, converting what it holds.

#include "ColumnBuffers.h"

#include <cstdint>
#include <limits>
#include <type_traits>
#include <utility>

namespace dbkit {

template <class Wide>
class NarrowArray {
    static_assert(std::is_integral_v<Wide> && sizeof(Wide) <= 8);

    template <class T>
    using Stored = std::conditional_t<std::is_signed_v<Wide>, std::make_signed_t<T>, T>;
    template <class T>
    using Blocks = BlockArray<Stored<T>, 14>;

public:
    size_t size() const
    {
        return visit([](const auto &values) { return values.size(); });
    }
    Wide operator[](size_t i) const
    {
        return visit([i](const auto &values) { return Wide(values[i]); });
    }
    void push_back(Wide value)
    {
        fit(value);
        visit([value](auto &values) { values.push_back(narrowed(values, value)); });
    }
    void set(size_t i, Wide value)
    {
        fit(value);
        visit([i, value](auto &values) { values[i] = narrowed(values, value); });
    }
    void erase(size_t i)
    {
        visit([i](auto &values) { values.erase(i); });
    }
    void assign(size_t count, Wide value)
    {
        clear();
        for (size_t i = 0; i < count; ++i)
            push_back(value);
    }
    void clear() { *this = NarrowArray(); }

private:
    template <class Values>
    static auto narrowed(const Values &, Wide value)
    {
        return typename Values::value_type(value);
    }
    template <class T>
    static bool holds(Wide value)
    {
        return std::in_range<Stored<T>>(value);
    }
    static unsigned bytesFor(Wide value)
    {
        if (holds<uint8_t>(value))
            return 1;
        if (holds<uint16_t>(value))
            return 2;
        return holds<uint32_t>(value) ? 4 : 8;
    }
    void fit(Wide value)
    {
        if (value < m_least || value > m_most)
            widen(bytesFor(value));
    }
    void widen(unsigned bytes);
    // The values blocks of T hold (a T wider than Wide holds every Wide).
    template <class T>
    void limitTo()
    {
        m_least = Wide(std::numeric_limits<Stored<T>>::min());
        m_most = std::in_range<Wide>(std::numeric_limits<Stored<T>>::max())
            ? Wide(std::numeric_limits<Stored<T>>::max()) : std::numeric_limits<Wide>::max();
    }

    // Calls f with the blocks in use.
    template <class Self, class F>
    static decltype(auto) visitIn(Self &self, F &&f)
    {
        switch (self.m_bytes) {
        case 1: return f(self.m_1);
        case 2: return f(self.m_2);
        case 4: return f(self.m_4);
        default: return f(self.m_8);
        }
    }
    template <class F>
    decltype(auto) visit(F &&f) const { return visitIn(*this, f); }
    template <class F>
    decltype(auto) visit(F &&f) { return visitIn(*this, f); }

    unsigned m_bytes = 1;
    Wide m_least = std::numeric_limits<Stored<uint8_t>>::min();
    Wide m_most = std::numeric_limits<Stored<uint8_t>>::max();
    Blocks<uint8_t> m_1;
    Blocks<uint16_t> m_2;
    Blocks<uint32_t> m_4;
    Blocks<uint64_t> m_8;
};

template <class Wide>
void NarrowArray<Wide>::widen(unsigned bytes)
{
    NarrowArray wider;
    wider.m_bytes = bytes;
    switch (bytes) {
    case 2: wider.limitTo<uint16_t>(); break;
    case 4: wider.limitTo<uint32_t>(); break;
    default: wider.limitTo<uint64_t>(); break;
    }
    const size_t count = size();
    wider.visit([&](auto &values) {
        for (size_t i = 0; i < count; ++i)
            values.push_back(narrowed(values, (*this)[i]));
    });
    *this = std::move(wider);
}

} // namespace dbkit
