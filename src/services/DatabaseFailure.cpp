#include "DatabaseFailure.h"

#include "suite/dbkit/DbError.h"

namespace services {

bool guarded(const std::function<void()> &work,
             const std::function<void(const DatabaseFailure &)> &onFailure)
{
    try {
        work();
        return true;
    } catch (const dbkit::DbError &error) {
        onFailure({error.number(), error.description(), refusalOfError(error.number())});
        return false;
    }
}

} // namespace services
