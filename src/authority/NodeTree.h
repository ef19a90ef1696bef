#pragma once

#include "suite/controls/TypeAhead.h"

#include <QTimer>
#include <QTreeWidget>
#include <functional>

// The authority editor's tree widget: type-ahead over the nodes' own codes
// and names, and the node the user chooses. A click or an arrow key chooses
// a node at once. Typing chooses the node it stops on once no key has come
// for a moment, so a name typed key by key does not read the rights of every
// node it passes on the way.
class NodeTree final : public controls::TypeAheadView<QTreeWidget> {
public:
    explicit NodeTree(QWidget *parent);

    // Runs `chosen` for each node chosen as above.
    void onNodeChosen(std::function<void(QTreeWidgetItem *node)> chosen);
    // True while a node reached by typing waits for the typing to pause.
    bool choicePending() const { return m_typingPause.isActive(); }

    static constexpr int TypingPauseMs = 300;

protected:
    void keyboardSearch(const QString &typed) override;

private:
    void currentNodeChanged(QTreeWidgetItem *node);
    void choose(QTreeWidgetItem *node);

    std::function<void(QTreeWidgetItem *node)> m_chosen;
    QTimer m_typingPause;
    bool m_typing = false;  // the current node moves by a typed search
};
