// The authority command of the list. The warehouse-rights windows are not
// part of this build yet, so the button is there and does nothing.
#include "frmWHBrowse.h"

void frmWHBrowse::showAuthority() {}
