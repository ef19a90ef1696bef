#pragma once

namespace services {

// Whose rights a view of the rights shows: an operator's, listing the
// warehouses it may use, or a warehouse's, listing the operators who may use
// it. The other side of a right is then a warehouse or an operator.
enum class NodeKind {
    Operator = 0,
    Warehouse = 1,
};

} // namespace services
