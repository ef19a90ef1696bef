#pragma once

#include <QString>

namespace dbkit {
class DbError;
}

namespace depotbase {

// A database failure as a window tells it: first a sentence of ours that
// says what failed and what to do, then the engine's own text under it, so
// no box shows an engine's English alone. The kit's explanations of a lost,
// stalled or busy database already say both and are told as they are.
QString UserErrorText(const QString &whatFailed, const dbkit::DbError &error);
// The same for a failure known by the kit's error number and the engine's text.
QString UserErrorText(const QString &whatFailed, int errorNumber, const QString &description);

} // namespace depotbase
