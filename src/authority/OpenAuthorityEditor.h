#pragma once

#include "AuthorityContext.h"

class QWidget;

// Shows the authority editor modally over `parent` and returns when it has
// closed; the editor has written its changes to WarehAuth by then.
void openAuthorityEditor(const AuthorityContext &context, QWidget *parent);
