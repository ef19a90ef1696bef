#pragma once

#include <QIcon>
#include <QList>
#include <QString>
#include <functional>

class QAction;
class QToolBar;
class QWidget;

// The authority editor's toolbar: add, delete, a third button that does
// nothing, the change history of the selected node (Ctrl+H), help and exit.
// Each button's action carries its key as its object name, its tool button
// the key followed by "Button"; Tab reaches them after `before`.
namespace editortoolbar {

void build(QToolBar &toolbar, const QList<QIcon> &images, QWidget *before,
           const std::function<void(const QString &key)> &clicked);
QAction *button(const QToolBar &toolbar, const QString &key);

} // namespace editortoolbar
