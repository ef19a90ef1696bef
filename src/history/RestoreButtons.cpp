#include "RestoreButtons.h"

#include "data/Catalogue.h"
#include "forms/ToolbarButtons.h"
#include "suite/modal/ModalSeam.h"

#include <QAction>
#include <QToolBar>

namespace restorebuttons {

namespace {

struct Caption {
    const char *key;
    const char *caption;
    const char *tip;
};

// The catalogue has no texts for these two buttons: they are named here.
constexpr std::array<Caption, 2> Captions{{
    {Restore, "恢复", "恢复被删除的仓库或权限"},
    {RestoreEarlier, "恢复此前的值", "把仓库恢复为这次修改之前的值"},
}};

} // namespace

void setUp(QToolBar &toolbar, bool readOnly)
{
    for (const Caption &c : Captions) {
        QAction *button = depotbase::ToolbarAction(toolbar, QLatin1String(c.key));
        if (!button)
            continue;
        button->setText(QString::fromUtf8(c.caption));
        button->setToolTip(QString::fromUtf8(c.tip));
        button->setVisible(!readOnly);
        button->setEnabled(false);
    }
}

void follow(QToolBar &toolbar, services::RestoreKind kind, bool readOnly)
{
    for (const Caption &c : Captions)
        if (QAction *button = depotbase::ToolbarAction(toolbar, QLatin1String(c.key)))
            button->setEnabled(!readOnly && kindOfCommand(QLatin1String(c.key)) == kind);
}

services::RestoreKind kindOfCommand(const QString &key)
{
    if (key == QLatin1String(Restore))
        return services::RestoreKind::Deleted;
    if (key == QLatin1String(RestoreEarlier))
        return services::RestoreKind::EarlierValues;
    return services::RestoreKind::None;
}

void tell(QWidget *window, const services::ServiceResult &answer)
{
    if (answer.message.isEmpty())
        return;
    modal::message(window, answer.message,
                   answer.done() ? modal::Icon::Information : modal::Icon::Critical,
                   modal::Buttons::Ok, depotbase::LoadResString(depotbase::text::MessageCaption));
}

} // namespace restorebuttons
