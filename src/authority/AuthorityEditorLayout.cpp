#include "AuthorityEditorLayout.h"

#include "NodeTree.h"
#include "suite/controls/SuperGrid.h"
#include "suite/controls/Twips.h"

#include <QDialog>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>

namespace editorlayout {

namespace {

// The window's first size and the tree's share of it.
constexpr int WindowWidth = 960;
constexpr int TreeWidth = 220;

} // namespace

Widgets build(QDialog &window)
{
    window.resize(WindowWidth, 600);
    Widgets w;
    w.toolbar = new QToolBar(&window);
    w.toolbar->setObjectName(QStringLiteral("Tbar"));
    w.toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    w.toolbar->setIconSize(QSize(24, 24));
    w.toolbar->setMovable(false);

    // Typing a code or part of a name goes to that operator or warehouse.
    w.tree = new NodeTree(&window);
    w.tree->setObjectName(QStringLiteral("authTree"));
    w.tree->setHeaderHidden(true);
    w.tree->setColumnCount(1);
    // Every node is one line of text beside the same small icon: the view
    // need not measure each of thousands of operators and warehouses.
    w.tree->setUniformRowHeights(true);

    w.grid = new SuperGrid(&window);
    w.grid->setObjectName(QStringLiteral("authGrid"));

    auto *splitter = new QSplitter(Qt::Horizontal, &window);
    splitter->addWidget(w.tree);
    splitter->addWidget(w.grid);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({TreeWidth, WindowWidth - TreeWidth});

    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(w.toolbar);
    layout->addWidget(splitter, 1);
    return w;
}

QList<QIcon> images()
{
    QList<QIcon> icons;
    for (const char *key : {"trchild", "trroot", "imgAdd", "imgDel", "imgHelp", "imgExit",
                            "imgHistory"})
        icons.push_back(QIcon(QStringLiteral(":/icons/%1.png").arg(QLatin1String(key))));
    return icons;
}

int gridWidthTwips(QDialog &window, SuperGrid &grid)
{
    window.layout()->activate();
    // Before its first showing the splitter has not placed the grid yet, so
    // the grid's width is the one the splitter is going to give it.
    const int pixels =
        grid.isVisible()
            ? grid.width()
            : window.width() - TreeWidth - window.style()->pixelMetric(QStyle::PM_SplitterWidth);
    return int(std::lround(pixels * controls::twipsPerPixel));
}

} // namespace editorlayout
