#pragma once

namespace controls {

// Sizes and positions are given in twips, as the suite's forms were laid out:
// 15 to a pixel at the 96 dots per inch they were drawn for.
constexpr int twipsPerPixel = 15;

} // namespace controls
