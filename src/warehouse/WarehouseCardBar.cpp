#include "WarehouseCardBar.h"

#include <QHBoxLayout>
#include <QLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

WarehouseCardBar::WarehouseCardBar(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("ChangedBar"));
    setFrameShape(QFrame::StyledPanel);
    // The colours of a tool tip: the system's own colours for a message
    // beside the work, readable in every theme.
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::ToolTipBase));
    colours.setColor(QPalette::WindowText, colours.color(QPalette::ToolTipText));
    setPalette(colours);
    setAutoFillBackground(true);

    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("lblChanged"));
    m_reload = new QPushButton(QStringLiteral("重新读取(&R)"), this);
    m_reload->setObjectName(QStringLiteral("cmdReload"));
    m_reload->setFocusPolicy(Qt::NoFocus);
    m_reload->setToolTip(QStringLiteral("重新读取(Alt+R)"));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_reload);
    hide();
}

void WarehouseCardBar::tell(const QString &text, bool canReload)
{
    m_text->setText(text);
    m_reload->setVisible(canReload);
    if (isHidden()) {
        m_cardHeight = window()->height();
        show();
    }
}

void WarehouseCardBar::dismiss()
{
    if (isHidden())
        return;
    hide();
    QWidget *card = window();
    if (m_cardHeight > 0 && card->isVisible()) {
        // The layout learns at once that the bar no longer needs room, so
        // the card may shrink back to its height before.
        if (card->layout())
            card->layout()->activate();
        card->resize(card->width(), m_cardHeight);
    }
    m_cardHeight = 0;
}
