#pragma once

#include <QString>

namespace depotbase {

// The component's numbered message catalogue (Chinese captions, titles and
// messages), read by number. An id the catalogue does not hold gives "".
QString LoadResString(int id);

} // namespace depotbase
