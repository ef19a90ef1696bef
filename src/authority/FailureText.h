#pragma once

#include <QString>

namespace services {
struct DatabaseFailure;
}

// A database failure as the rights windows tell it: first a sentence of ours
// that says what failed and what to do, then the engine's own text under it.
// A lost, stalled or busy database is told by the kit's own explanation,
// which already says both.
QString failureText(const QString &whatFailed, const services::DatabaseFailure &failure);
