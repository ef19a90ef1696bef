#include "GridSorter.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>
#include <algorithm>
#include <numeric>

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

std::vector<int> textOrder(const std::vector<QString> &texts, bool descending)
{
    // Sort keys once per text: comparing keys is a byte compare, far cheaper
    // than collating every pair again.
    const QCollator collator = textCollator();
    std::vector<QCollatorSortKey> keys;
    keys.reserve(texts.size());
    for (const QString &text : texts)
        keys.push_back(collator.sortKey(text));
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

std::vector<int> numericOrder(const std::vector<QString> &texts, bool descending)
{
    std::vector<NumericKey> keys(texts.size());
    std::vector<int> textual;
    for (size_t i = 0; i < texts.size(); ++i) {
        const QString t = texts[i].trimmed();
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
        std::vector<QString> sub;
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

std::vector<int> sortOrder(const std::vector<QString> &texts, bool numeric, bool descending)
{
    return numeric ? numericOrder(texts, descending) : textOrder(texts, descending);
}

} // namespace controls
