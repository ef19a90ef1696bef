#pragma once

#include "services/WarehouseFilter.h"

#include <array>

// The nine value rows of the filter dialog, top to bottom, in the order of
// the filter's fields (services::FilterField).
namespace filtercolumns {

constexpr int Count = services::WarehouseFilter::FieldCount;
// Row of the fund quota: a number, compared rounded instead of quoted.
constexpr int QuotaRow = int(services::FilterField::FundQuota);

struct Column {
    const char *label;  // object name of the label
    int caption;        // catalogue text of the label
    const char *box;    // object name of the value box
    const char *button; // object name of the value button
};

const std::array<Column, Count> &columns();

} // namespace filtercolumns
