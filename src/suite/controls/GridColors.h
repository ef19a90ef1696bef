#pragma once

#include <QColor>
#include <cstdint>

namespace controls {

// Colours are passed as the suite writes them: 0x00BBGGRR for a plain RGB
// value, or 0x80000000 plus a system colour index (13 highlight, 14
// highlighted text, 11 inactive border, 18 button text...), which follows the
// application palette.
constexpr uint32_t systemColorFlag = 0x80000000u;

constexpr uint32_t rgbValue(int r, int g, int b)
{
    return uint32_t(r & 0xFF) | (uint32_t(g & 0xFF) << 8) | (uint32_t(b & 0xFF) << 16);
}

// The light yellow the windows give the cells that show a name, so the eye
// finds the names beside their codes.
constexpr uint32_t nameCellColor = rgbValue(255, 255, 200);

// The QColor a suite colour value stands for.
QColor toQColor(uint32_t value);

} // namespace controls
