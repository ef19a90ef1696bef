#pragma once

#include <memory>
#include <vector>

class SuperGrid;
struct ChangedWarehouses;
namespace dbkit {
class DbDataSet;
}

namespace listgrid {

// Shows the changed warehouses as `rows` hold them now (the list's statement
// narrowed to their codes): a shown warehouse that has a row gets its texts
// in its place, one that has none leaves the list, and one not shown yet is
// added at its place in the order the grid was sorted by (in code order
// when it was not). Rows come and go in one step of the grid; the current
// row, the selection and the top row stay with the warehouses they showed.
void showChanged(SuperGrid &grid, const ChangedWarehouses &changed,
                 const std::vector<std::shared_ptr<dbkit::DbDataSet>> &rows);

}  // namespace listgrid
