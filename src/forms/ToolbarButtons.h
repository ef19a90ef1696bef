#pragma once

#include <QIcon>
#include <QList>
#include <QString>
#include <functional>
#include <span>

class QAction;
class QToolBar;
class QWidget;

namespace depotbase {

// One button of a list window's toolbar: its key, the 1-based index of its
// picture in the window's image list and the catalogue ids of its caption
// and tool tip. A null key stands for a separator.
struct ToolbarButton {
    const char *key;
    int image;
    int caption;
    int tip;
};

// A list window's toolbar "Toolbar1": captions under the pictures, fixed in place.
QToolBar *CreateListToolbar(QWidget *window);

// The image list of a toolbar: one resource picture per key, in order.
QList<QIcon> LoadToolbarPictures(std::span<const char *const> keys);

// Fills the toolbar afresh with the buttons (the old ones go, so a key names
// exactly one button). Each button is an action named by its key whose click
// runs onCommand(key); its tool button is reachable with Tab.
void BuildToolbar(QToolBar &toolbar, const QList<QIcon> &images,
                  std::span<const ToolbarButton> buttons,
                  const std::function<void(const QString &)> &onCommand);

// The toolbar's button of a key; nullptr when there is none.
QAction *ToolbarAction(const QToolBar &toolbar, const QString &key);

} // namespace depotbase
