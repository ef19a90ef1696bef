#include "GridSorter.h"

#include "Utf16Text.h"

#include <QCollatorSortKey>
#include <QLocale>
#include <algorithm>
#include <numeric>
#include <cstdint>
#include <type_traits>

namespace controls {

namespace {

QCollator textCollator()
{
    QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

std::vector<int> identity(size_t n)
{
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    return order;
}

// The sort key of a text; the collator copies what it needs.
QCollatorSortKey sortKey(const QCollator &collator, QAnyStringView text, QString &scratch)
{
    return collator.sortKey(asUtf16(text, scratch));
}

// The number a text holds (spaces around it ignored); an empty text is
// told apart from one that is not a number.
struct ReadNumber {
    bool empty = false;
    bool ok = false;
    double value = 0;
};

ReadNumber readNumber(QAnyStringView text)
{
    return text.visit([](auto chars) {
        ReadNumber read;
        if constexpr (std::is_same_v<decltype(chars), QUtf8StringView>) {
            const QString trimmed = chars.toString().trimmed();
            read.empty = trimmed.isEmpty();
            read.value = trimmed.toDouble(&read.ok);
        } else {
            const auto trimmed = chars.trimmed();
            read.empty = trimmed.isEmpty();
            read.value = trimmed.toDouble(&read.ok);
        }
        return read;
    });
}

std::vector<int> textOrder(const std::vector<QAnyStringView> &texts, bool descending)
{
    // Sort keys once per text: comparing keys is a byte compare, far cheaper
    // than collating every pair again. Views of one stored text (the same
    // characters at the same place) share a key: the keys of recently seen
    // texts are kept by place, so a column of 100,000 rows that repeats a few
    // departments makes a few keys, and a column of unique codes pays one
    // probe of a small table per row.
    struct Recent {
        const void *data = nullptr;
        qsizetype size = -1;
        size_t key = 0;
    };
    constexpr size_t RecentSize = 1024;
    std::vector<Recent> recent(RecentSize);
    const QCollator collator = textCollator();
    std::vector<QCollatorSortKey> made;   // one per stored text
    std::vector<QCollatorSortKey> keys;   // one per row, sharing the made ones
    keys.reserve(texts.size());
    QString scratch;
    for (const QAnyStringView text : texts) {
        const auto place = reinterpret_cast<uintptr_t>(text.data());
        Recent &seen = recent[((place >> 1) * 0x9E3779B97F4A7C15ull >> 54) & (RecentSize - 1)];
        if (seen.data != text.data() || seen.size != text.size()) {
            seen = Recent{text.data(), text.size(), made.size()};
            made.push_back(sortKey(collator, text, scratch));
        }
        keys.push_back(made[seen.key]);
    }
    std::vector<int> order = identity(texts.size());
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int c = keys[size_t(a)].compare(keys[size_t(b)]);
        return descending ? c > 0 : c < 0;
    });
    return order;
}

// Numbers first, then texts that are not numbers, then empty cells.
struct NumericKey {
    int group = 0;   // 0 number, 1 other text, 2 empty
    double value = 0;
};

NumericKey numericKey(QAnyStringView text)
{
    const ReadNumber read = readNumber(text);
    if (read.empty)
        return {2, 0};
    return read.ok ? NumericKey{0, read.value} : NumericKey{1, 0};
}

std::vector<int> numericOrder(const std::vector<QAnyStringView> &texts, bool descending)
{
    std::vector<NumericKey> keys(texts.size());
    std::vector<int> textual;
    for (size_t i = 0; i < texts.size(); ++i) {
        keys[i] = numericKey(texts[i]);
        if (keys[i].group == 1)
            textual.push_back(int(i));
    }
    // Texts that are not numbers keep the text order among themselves.
    if (!textual.empty()) {
        std::vector<QAnyStringView> sub;
        sub.reserve(textual.size());
        for (int i : textual)
            sub.push_back(texts[size_t(i)]);
        const std::vector<int> subOrder = textOrder(sub, descending);
        for (size_t rank = 0; rank < subOrder.size(); ++rank)
            keys[size_t(textual[size_t(subOrder[rank])])].value = double(rank);
    }
    std::vector<int> order = identity(texts.size());
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const NumericKey &ka = keys[size_t(a)];
        const NumericKey &kb = keys[size_t(b)];
        if (ka.group != kb.group)
            return ka.group < kb.group;
        if (ka.group == 0)
            return descending ? ka.value > kb.value : ka.value < kb.value;
        return ka.value < kb.value;   // rank already follows the direction
    });
    return order;
}

} // namespace

std::vector<int> sortOrder(const std::vector<QAnyStringView> &texts, bool numeric,
                           bool descending)
{
    return numeric ? numericOrder(texts, descending) : textOrder(texts, descending);
}

SortComparison::SortComparison(bool numeric, bool descending)
    : m_collator(textCollator()), m_numeric(numeric), m_descending(descending)
{
}

int SortComparison::compareTexts(QStringView a, QStringView b) const
{
    const int c = m_collator.compare(a, b);
    return m_descending ? -c : c;
}

int SortComparison::operator()(QStringView a, QStringView b) const
{
    if (!m_numeric)
        return compareTexts(a, b);
    const NumericKey ka = numericKey(a);
    const NumericKey kb = numericKey(b);
    if (ka.group != kb.group)
        return ka.group < kb.group ? -1 : 1;
    if (ka.group == 1)
        return compareTexts(a, b);
    if (ka.group == 2 || ka.value == kb.value)
        return 0;
    return (ka.value < kb.value) != m_descending ? -1 : 1;
}

} // namespace controls
