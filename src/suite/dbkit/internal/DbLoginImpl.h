#pragma once

// Internal: the parts a DbLogin is made of, one per job.

#include "CatalogueCache.h"
#include "Connection.h"
#include "../DbLogin.h"
#include "DecodeThread.h"
#include "ErrorMapping.h"
#include "SessionIdentity.h"
#include "StatementRunner.h"

#include <functional>
#include <vector>

namespace dbkit {

struct DbLogin::Impl {
    // First, so the decoding thread is let go after the connection closed.
    DecodeThreadUser decoding;
    SessionIdentity identity;
    Connection connection;
    ErrorMapping errors{connection};
    StatementRunner statements{connection, errors};
    CatalogueCache catalogue;
    // Run by the login's destructor once everything above is gone.
    std::vector<std::function<void()>> whenClosed;
};

} // namespace dbkit
