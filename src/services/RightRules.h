#pragma once

#include "ServiceResult.h"

#include <QString>
#include <vector>

namespace services {

// A right of one operator on one warehouse as the rules see it: what narrows
// it, and the class its item belongs to (Inventory.cInvCCode).
struct NarrowedRight {
    long long autoId = 0;
    QString classCode;   // "" when not narrowed by class
    QString itemCode;    // "" when not narrowed by item
    QString itemClass;   // the item's class; "" for no item or an item without class

    bool wholeWarehouse() const { return classCode.isEmpty() && itemCode.isEmpty(); }
};

// A right as the editor lists it beneath a node: the other side (a
// warehouse beneath an operator, an operator beneath a warehouse) and what
// narrows it.
struct ListedRight {
    QString other;
    QString classCode;
    QString itemCode;

    bool operator==(const ListedRight &) const = default;
};

// The rules that hold between the rights of one operator on one warehouse.
// Pure functions over values: the caller reads the stored rights.
namespace rightrules {

// The texts the editor shows for a refusal.
QString duplicateMessage();
QString overlapMessage();
// A whole-warehouse right beside rights of the same pair that are narrowed
// to a class or an item: the remedy is to narrow it too, or to delete it.
QString wholeBesideNarrowedMessage();

// The column a refusal of this right concerns: its class, its item, or, for a
// whole-warehouse right, its warehouse.
QString narrowingField(const NarrowedRight &right);

// Class codes nest by prefix: 0101 lies beneath 01. True when `cls` is
// `outer` or lies beneath it; never for an empty code.
bool classWithin(const QString &cls, const QString &outer);

// Same class and same item: the same right.
bool sameRight(const NarrowedRight &a, const NarrowedRight &b);

// True when `candidate` may not stand beside `stored`: an item inside a class
// right's class, a class beside a class it nests with (either way), or a
// whole-warehouse candidate beside any right. A narrowed right beside a
// whole-warehouse one is allowed: the most specific right decides.
bool crosses(const NarrowedRight &candidate, const NarrowedRight &stored);

// Done, or refused as a duplicate or an overlap with one of `stored` (the
// other rights of the same operator and warehouse). A whole-warehouse
// candidate beside narrowed rights is refused with its own message.
ServiceResult check(const NarrowedRight &candidate, const std::vector<NarrowedRight> &stored);

// True when no right of `listed` but the one at `index` is the same right:
// the same other side, class and item. An index outside the list names no
// right and is unique.
bool listedOnce(const std::vector<ListedRight> &listed, size_t index);

} // namespace rightrules
} // namespace services
