#pragma once

#include "AuthorityContext.h"

class QWidget;

#include <optional>

// Shows the authority editor modally over `parent` and returns when it has
// closed; the editor has written its changes to WarehAuth by then. With
// `start` it opens on that right.
void openAuthorityEditor(const AuthorityContext &context, QWidget *parent,
                         const std::optional<RightToShow> &start = std::nullopt);
