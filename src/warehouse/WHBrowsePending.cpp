// Commands whose windows are still being built: they do nothing yet.
#include "frmWHBrowse.h"

void frmWHBrowse::showAuthority() {}
