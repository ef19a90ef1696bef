#pragma once

#include "services/HistoryReader.h"

#include <QString>
#include <optional>
#include <vector>

// What a batch of the change feed means for the warehouse a card shows, and
// how the card's bar says it.
namespace cardnews {

// The newest change among `changes` of the warehouse stored under `code`:
// one keyed by the code (an add, a change or a delete), or one that gave it
// another code (keyed by the new one). nullopt when none concerns it.
std::optional<services::HistoryEntry> newestOf(const std::vector<services::HistoryEntry> &changes,
                                               const QString &code);

// "该仓库已被 X 于 HH:MM 修改" and "… 删除": X the operator's name as the
// history row holds it (the operator's code when it holds none), HH:MM the
// local time of the change.
QString changedText(const services::HistoryEntry &change);
QString deletedText(const services::HistoryEntry &change);

}  // namespace cardnews
