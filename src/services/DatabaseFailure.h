#pragma once

#include "ServiceResult.h"

#include <QString>
#include <functional>

namespace services {

// A failure of the database as a window tells it to the user: the kit's
// error number, the engine's description and the refusal it amounts to.
struct DatabaseFailure {
    int number = 0;
    QString description;
    Refusal refusal = Refusal::Failed;
};

// Runs `work`. A database failure raised inside it is handed to `onFailure`
// and false is returned; any other exception passes on. So a window can run
// service calls without knowing the kit's error type.
bool guarded(const std::function<void()> &work,
             const std::function<void(const DatabaseFailure &)> &onFailure);

} // namespace services
