#pragma once

#include "services/Account.h"

#include <QString>

// What the rights windows are opened with: the warehouse list's account and
// the component's read-only flag (the editor then refuses every write).
// A right the editor opens on: its operator selected, the row of this
// warehouse, item class and item current.
struct RightToShow {
    QString operatorCode;
    QString warehouseCode;
    QString classCode;
    QString itemCode;
};

struct AuthorityContext {
    services::Account account;
    bool readOnly = false;
};
