#pragma once

#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace dbkit {
class DbLogin;
}

// What the authority editor looks up as the user types, read through the
// rights queries and shaped as its grid rows want them.
namespace authoritylookups {

// The code of the warehouse (kind 0) or operator (kind 1) whose code or name
// is `text`; the first when several match.
std::optional<QString> otherSide(dbkit::DbLogin &login, int kind, const QString &text);
// Code, name and model (规格型号) of the one item whose code or name is
// `text`; nothing when none or more than one match.
std::optional<std::array<QString, 3>> item(dbkit::DbLogin &login, const QString &text);
// The grid cells of the stored right with this Auto_id; nothing when it is gone.
std::optional<std::vector<QString>> storedCells(dbkit::DbLogin &login, long long autoId,
                                                int nodeKind);

} // namespace authoritylookups
