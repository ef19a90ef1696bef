#pragma once

#include <QAnyStringView>
#include <QCollator>
#include <QStringView>
#include <vector>

namespace controls {

// The order in which `texts` stand once sorted: result[i] is the index in
// `texts` of the i-th text. The sort is stable, so equal texts keep their
// order. Views of one stored text (the same characters at the same place,
// as rows sharing a value in a data set's column) are collated once.
//
// Text is compared as a reader of codes and Chinese names expects: digits by
// their numeric value ("2" before "10"), Chinese by pinyin, case ignored.
// Numeric order compares the texts as numbers; empty cells come last, and
// texts that are not numbers come after the numbers, in text order.
std::vector<int> sortOrder(const std::vector<QAnyStringView> &texts, bool numeric,
                           bool descending);

// Two texts compared as sortOrder orders them: negative when `a` comes
// first, 0 when neither does. Made once for many comparisons: its collator
// is costly to make.
class SortComparison {
public:
    SortComparison(bool numeric, bool descending);
    int operator()(QStringView a, QStringView b) const;

private:
    int compareTexts(QStringView a, QStringView b) const;

    QCollator m_collator;
    bool m_numeric;
    bool m_descending;
};

} // namespace controls
