#include "GridColors.h"

#include <QApplication>
#include <QPalette>

namespace controls {

namespace {

// Palette roles for the classic system colour indices; indices without a
// close counterpart take the nearest role in meaning.
QColor systemColor(uint32_t index)
{
    const QPalette pal = QApplication::palette();
    switch (index) {
    case 0:  return pal.color(QPalette::Button);          // scroll bar
    case 1:  return pal.color(QPalette::Dark);            // desktop
    case 2:  return pal.color(QPalette::Highlight);       // active caption
    case 3:  return pal.color(QPalette::Mid);             // inactive caption
    case 4:  return pal.color(QPalette::Window);          // menu
    case 5:  return pal.color(QPalette::Base);            // window background
    case 6:  return pal.color(QPalette::Shadow);          // window frame
    case 7:  return pal.color(QPalette::WindowText);      // menu text
    case 8:  return pal.color(QPalette::Text);            // window text
    case 9:  return pal.color(QPalette::HighlightedText); // caption text
    case 10: return pal.color(QPalette::Button);          // active border
    case 11: return pal.color(QPalette::Window);          // inactive border
    case 12: return pal.color(QPalette::Dark);            // application workspace
    case 13: return pal.color(QPalette::Highlight);
    case 14: return pal.color(QPalette::HighlightedText);
    case 15: return pal.color(QPalette::Button);          // button face
    case 16: return pal.color(QPalette::Dark);            // button shadow
    case 17: return pal.color(QPalette::Disabled, QPalette::Text); // grey text
    case 18: return pal.color(QPalette::ButtonText);
    case 19: return pal.color(QPalette::Disabled, QPalette::WindowText);
    case 20: return pal.color(QPalette::Light);           // button highlight
    case 21: return pal.color(QPalette::Shadow);          // 3-D dark shadow
    case 22: return pal.color(QPalette::Midlight);        // 3-D light
    case 23: return pal.color(QPalette::ToolTipText);
    case 24: return pal.color(QPalette::ToolTipBase);
    default: return pal.color(QPalette::Base);
    }
}

} // namespace

QColor toQColor(uint32_t value)
{
    if (value & systemColorFlag)
        return systemColor(value & 0xFFu);
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

} // namespace controls
