#include "ToolbarButtons.h"

#include "data/Catalogue.h"

#include <QAction>
#include <QToolBar>

namespace depotbase {

QToolBar *CreateListToolbar(QWidget *window)
{
    auto *toolbar = new QToolBar(window);
    toolbar->setObjectName(QStringLiteral("Toolbar1"));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar->setIconSize(QSize(24, 24));
    toolbar->setMovable(false);
    return toolbar;
}

QList<QIcon> LoadToolbarPictures(std::span<const char *const> keys)
{
    QList<QIcon> images;
    for (const char *key : keys)
        images.push_back(QIcon(QStringLiteral(":/icons/%1.png").arg(QLatin1String(key))));
    return images;
}

void BuildToolbar(QToolBar &toolbar, const QList<QIcon> &images,
                  std::span<const ToolbarButton> buttons,
                  const std::function<void(const QString &)> &onCommand)
{
    const QList<QAction *> old = toolbar.actions();
    toolbar.clear();
    qDeleteAll(old);
    for (const ToolbarButton &b : buttons) {
        if (!b.key) {
            toolbar.addSeparator();
            continue;
        }
        auto *action = new QAction(images.value(b.image - 1), LoadResString(b.caption), &toolbar);
        const QString key = QLatin1String(b.key);
        action->setObjectName(key);
        action->setToolTip(LoadResString(b.tip));
        QObject::connect(action, &QAction::triggered, &toolbar,
                         [onCommand, key] { onCommand(key); });
        toolbar.addAction(action);
        if (QWidget *button = toolbar.widgetForAction(action)) {
            button->setObjectName(key + QStringLiteral("Button"));
            // Reachable with Tab and pressed with Space, so commands without
            // a shortcut work without a mouse.
            button->setFocusPolicy(Qt::TabFocus);
        }
    }
}

QAction *ToolbarAction(const QToolBar &toolbar, const QString &key)
{
    for (QAction *action : toolbar.actions())
        if (action->objectName() == key)
            return action;
    return nullptr;
}

} // namespace depotbase
