#pragma once

#include <QIcon>
#include <QList>
#include <QString>
#include <functional>

class QKeyEvent;
class QToolBar;
class QWidget;

// The warehouse list's toolbar and keys: thirteen buttons by key, and the
// keyboard shortcuts that run the same commands.
namespace listtoolbar {

// The pictures of the buttons, in image-list order.
QList<QIcon> loadPictures();
// Fills the toolbar; a click runs `run` with the button's key. The tool tips
// name the keys that run the same commands.
void build(QToolBar &toolbar, const QList<QIcon> &pictures,
           const std::function<void(const QString &)> &run);

// A list opened read-only: 增加 and 删除 are disabled, their tool tips say
// why; 修改 stays, as the way to look at a warehouse on its card.
void offerReadOnly(QToolBar &toolbar);

// The command key of a shortcut ("TlbAdd" for Ctrl+I or F5); "" for a key
// that is no shortcut. The modifiers must be exactly the shortcut's.
QString commandOfKey(const QKeyEvent &event);

// Runs one step of a command. A step that fails is told to the user (the
// database's refusals with the engine's text) and the command goes on with
// its next step.
void runStep(QWidget *window, const QString &key, const std::function<void()> &step);

} // namespace listtoolbar
