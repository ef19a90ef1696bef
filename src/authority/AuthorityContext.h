#pragma once

#include "suite/dbkit/DbLogin.h"

// What the rights windows are opened with: the warehouse list's login and the
// component's read-only flag (the editor then refuses every write).
struct AuthorityContext {
    dbkit::DbLoginPtr login;
    bool readOnly = false;
};
