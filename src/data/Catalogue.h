#pragma once

#include <QString>

namespace depotbase {

// The component's numbered message catalogue (Chinese captions, titles and
// messages), read by number. An id the catalogue does not hold gives "".
QString LoadResString(int id);

// Ids from 1001 are the texts of what this component adds to the catalogue's
// own windows: the change history (修改记录).
inline constexpr int HistoryCaptionId = 1001;

} // namespace depotbase
