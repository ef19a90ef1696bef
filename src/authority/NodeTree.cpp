#include "NodeTree.h"

#include <QApplication>
#include <QScopedValueRollback>

NodeTree::NodeTree(QWidget *parent) : TypeAheadView(parent)
{
    m_typingPause.setSingleShot(true);
    m_typingPause.setInterval(TypingPauseMs);
    QObject::connect(&m_typingPause, &QTimer::timeout, this, [this] { choose(currentItem()); });
    QObject::connect(this, &QTreeWidget::itemClicked, this,
                     [this](QTreeWidgetItem *node) { choose(node); });
    // A mouse press changes the current node too; its click follows.
    QObject::connect(this, &QTreeWidget::currentItemChanged, this,
                     [this](QTreeWidgetItem *node) { currentNodeChanged(node); });
}

void NodeTree::onNodeChosen(std::function<void(QTreeWidgetItem *node)> chosen)
{
    m_chosen = std::move(chosen);
}

void NodeTree::keyboardSearch(const QString &typed)
{
    const QScopedValueRollback<bool> typing(m_typing, true);
    TypeAheadView::keyboardSearch(typed);
}

void NodeTree::currentNodeChanged(QTreeWidgetItem *node)
{
    if (!node || QApplication::mouseButtons() != Qt::NoButton)
        return;
    if (m_typing)
        m_typingPause.start();
    else
        choose(node);
}

void NodeTree::choose(QTreeWidgetItem *node)
{
    m_typingPause.stop();
    if (node && m_chosen)
        m_chosen(node);
}
