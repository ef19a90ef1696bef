#include "AuthorityEditorToolbar.h"

#include "data/Catalogue.h"
#include "forms/ToolbarShortcuts.h"

#include <QAction>
#include <QKeyEvent>
#include <QToolBar>
#include <array>

namespace text = depotbase::text;

namespace editortoolbar {

namespace {

struct Button {
    const char *key;   // "" for the third button, which has no key
    int image;         // 1-based index into the images; 0 for none
    int caption;       // catalogue id; 0 for none
};

constexpr Button Buttons[] = {
    {"addbut", 3, text::Add},
    {"delbut", 4, text::Delete},
    {"", 0, 0},
    {"histbut", 7, text::HistoryCaption},
    {"helpbut", 5, text::Help},
    {"exitbut", 6, text::Exit},
};

// The keys of the buttons: add and delete as in the lists.
constexpr std::array<depotbase::ToolbarShortcut, 6> Shortcuts{{
    {Qt::Key_I, Qt::ControlModifier, false, "addbut", "Ctrl+I"},
    {Qt::Key_F5, Qt::NoModifier, true, "addbut", "F5"},
    {Qt::Key_D, Qt::ControlModifier, false, "delbut", "Ctrl+D"},
    {Qt::Key_H, Qt::ControlModifier, false, "histbut", "Ctrl+H"},
    {Qt::Key_F1, Qt::NoModifier, true, "helpbut", "F1"},
    {Qt::Key_Escape, Qt::NoModifier, false, "exitbut", "Esc"},
}};

} // namespace

void build(QToolBar &toolbar, const QList<QIcon> &images, QWidget *before,
           const std::function<void(const QString &key)> &clicked)
{
    const QList<QAction *> old = toolbar.actions();
    toolbar.clear();
    qDeleteAll(old);
    QWidget *previous = before;
    for (const Button &b : Buttons) {
        const QString key = QLatin1String(b.key);
        auto *action = new QAction(&toolbar);
        action->setObjectName(key);
        if (b.image > 0)
            action->setIcon(images.at(b.image - 1));
        if (b.caption > 0) {
            action->setText(depotbase::LoadResString(b.caption));
            action->setToolTip(depotbase::LoadResString(b.caption));
        }
        // The third button does nothing, as it never has.
        action->setEnabled(!key.isEmpty());
        QObject::connect(action, &QAction::triggered, &toolbar, [clicked, key] {
            if (!key.isEmpty())
                clicked(key);
        });
        toolbar.addAction(action);
        if (QWidget *widget = toolbar.widgetForAction(action); widget && !key.isEmpty()) {
            widget->setObjectName(key + QStringLiteral("Button"));
            // Tab reaches every button; Space presses it.
            widget->setFocusPolicy(Qt::TabFocus);
            QWidget::setTabOrder(previous, widget);
            previous = widget;
        }
    }
    depotbase::NameShortcutsInToolTips(toolbar, Shortcuts);
}

QString commandOfKey(const QKeyEvent &event)
{
    return depotbase::CommandOfKey(event, Shortcuts);
}

QAction *button(const QToolBar &toolbar, const QString &key)
{
    for (QAction *action : toolbar.actions())
        if (!key.isEmpty() && action->objectName() == key)
            return action;
    return nullptr;
}

} // namespace editortoolbar
