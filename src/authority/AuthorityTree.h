#pragma once

#include "services/NodeKind.h"

#include <QIcon>
#include <QList>
#include <QString>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;
namespace services {
struct CodeAndName;
}

// The authority editor's tree: all operators under the root "c", all
// warehouses under the root "s". A node's key is its root's key followed by
// its code; its text is "(code)name".
namespace authoritytree {

// Fills the tree with the operators and warehouses in their order; images 0
// and 1 are the child and root icons.
void fill(QTreeWidget &tree, const std::vector<services::CodeAndName> &operators,
          const std::vector<services::CodeAndName> &warehouses, const QList<QIcon> &images);
QString keyOf(const QTreeWidgetItem &node);
// An operator's key (or the operators' root) starts with "c", a warehouse's
// with "s".
services::NodeKind kindOfKey(const QString &key);
// The node of a key; nullptr when there is none.
QTreeWidgetItem *find(const QTreeWidget &tree, const QString &key);
// The name in a node's text: what follows the code's ")", so a name may hold
// a parenthesis of its own.
QString nameOf(const QTreeWidgetItem &node, const QString &code);

} // namespace authoritytree
