#pragma once

#include <QIcon>
#include <QList>

class QDialog;
class QToolBar;
class NodeTree;
class SuperGrid;

// The authority editor's widgets: the toolbar "Tbar" above, the tree
// "authTree" left of the grid "authGrid".
namespace editorlayout {

struct Widgets {
    QToolBar *toolbar = nullptr;
    NodeTree *tree = nullptr;
    SuperGrid *grid = nullptr;
};

Widgets build(QDialog &window);
// The tree's child and root icons, then the toolbar's add, delete, help and
// exit icons.
QList<QIcon> images();
// The grid's width in twips, also before the window is first shown.
int gridWidthTwips(QDialog &window, SuperGrid &grid);

} // namespace editorlayout
