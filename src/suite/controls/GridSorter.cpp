#include "GridSorter.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>
#include <algorithm>
#include <numeric>
#include <cstdint>

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

// Which of `texts` are views of one stored text (the same characters at the
// same place): result[i] is the first view of the text that texts[i] views.
// An open-addressing table of the texts' places, kept at most half full.
std::vector<size_t> firstViews(const std::vector<QStringView> &texts)
{
    size_t tableSize = 16;
    while (tableSize < texts.size() * 2)
        tableSize *= 2;
    std::vector<uint32_t> table(tableSize, 0);   // a first view's index plus one; 0: free
    std::vector<size_t> first(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        const QStringView text = texts[i];
        size_t at = (reinterpret_cast<uintptr_t>(text.data()) >> 1) * 0x9E3779B97F4A7C15ull;
        for (at &= tableSize - 1;; at = (at + 1) & (tableSize - 1)) {
            if (table[at] == 0) {
                table[at] = uint32_t(i + 1);
                first[i] = i;
                break;
            }
            const QStringView seen = texts[table[at] - 1];
            if (seen.data() == text.data() && seen.size() == text.size()) {
                first[i] = table[at] - 1;
                break;
            }
        }
    }
    return first;
}

std::vector<int> textOrder(const std::vector<QStringView> &texts, bool descending)
{
    // A sort key per stored text: comparing keys is a byte compare, far
    // cheaper than collating every pair again, and a column of 100,000 rows
    // that repeats a few departments makes a few keys.
    const QCollator collator = textCollator();
    const std::vector<size_t> first = firstViews(texts);
    std::vector<QCollatorSortKey> keys;
    std::vector<size_t> keyOf(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        if (first[i] == i) {
            keyOf[i] = keys.size();
            keys.push_back(collator.sortKey(texts[i].toString()));
        } else {
            keyOf[i] = keyOf[first[i]];
        }
    }
    std::vector<int> order = identity(texts.size());
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const size_t ka = keyOf[size_t(a)];
        const size_t kb = keyOf[size_t(b)];
        if (ka == kb)
            return false;
        const int c = keys[ka].compare(keys[kb]);
        return descending ? c > 0 : c < 0;
    });
    return order;
}

// Numbers first, then texts that are not numbers, then empty cells.
struct NumericKey {
    int group = 0;   // 0 number, 1 other text, 2 empty
    double value = 0;
};

std::vector<int> numericOrder(const std::vector<QStringView> &texts, bool descending)
{
    std::vector<NumericKey> keys(texts.size());
    std::vector<int> textual;
    for (size_t i = 0; i < texts.size(); ++i) {
        const QStringView t = texts[i].trimmed();
        bool ok = false;
        const double v = t.toDouble(&ok);
        if (t.isEmpty())
            keys[i].group = 2;
        else if (ok)
            keys[i].value = v;
        else {
            keys[i].group = 1;
            textual.push_back(int(i));
        }
    }
    // Texts that are not numbers keep the text order among themselves.
    if (!textual.empty()) {
        std::vector<QStringView> sub;
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

std::vector<int> sortOrder(const std::vector<QStringView> &texts, bool numeric, bool descending)
{
    return numeric ? numericOrder(texts, descending) : textOrder(texts, descending);
}

} // namespace controls
