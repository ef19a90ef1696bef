#pragma once

namespace bench {

// Writing 100,000 rows of ten columns to CSV and XLSX: time, peak memory and
// file size.
void measureOutput();
// Filling a grid with 100,000 rows of ten columns the way the list does
// (Redraw off, row by row) and sorting it by codes, names and numbers.
void measureGridFillAndSort();

} // namespace bench
