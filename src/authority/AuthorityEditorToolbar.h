#pragma once

#include <QIcon>
#include <QList>
#include <QString>
#include <functional>

class QAction;
class QKeyEvent;
class QToolBar;
class QWidget;

// The authority editor's toolbar: add, delete, a third button that does
// nothing, the change history of the selected node, help and exit.
// Each button's action carries its key as its object name, its tool button
// the key followed by "Button"; Tab reaches them after `before`. Add and
// delete answer the keys of the lists (F5 or Ctrl+I, Ctrl+D), and each tool
// tip names the keys of its button.
namespace editortoolbar {

void build(QToolBar &toolbar, const QList<QIcon> &images, QWidget *before,
           const std::function<void(const QString &key)> &clicked);
QAction *button(const QToolBar &toolbar, const QString &key);
// The button key a key press stands for ("addbut" for F5); "" for none.
QString commandOfKey(const QKeyEvent &event);

} // namespace editortoolbar
