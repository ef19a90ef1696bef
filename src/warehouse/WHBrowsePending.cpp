// Commands whose windows are still being built: they do nothing yet.
#include "frmWHBrowse.h"

void frmWHBrowse::openPrintWork() {}
void frmWHBrowse::closePrintWork() {}
void frmWHBrowse::runPrintCommand(int) {}
void frmWHBrowse::showAuthority() {}
