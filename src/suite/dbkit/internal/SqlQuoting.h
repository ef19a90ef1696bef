#pragma once

// Internal: keeps the quoted parts of a statement out of reach of the
// dialect's rewrites and of the kit's own reading of a statement.

#include <QString>
#include <functional>

namespace dbkit {

// The statement with every quoted part (a 'literal' or a "quoted name",
// [bracketed name], -- comment or /* comment */, quote characters doubled
// inside) replaced by one placeholder character each (a private-use character
// the statement's own SQL does not use), so that patterns run over it can
// only see the statement's own SQL.
QString maskQuoted(const QString &sql);

// Applies `rewrite` to the statement's SQL outside its quoted parts; the
// quoted parts come back exactly as they were. When the rewrite drops or
// repeats a placeholder the statement is returned unchanged.
QString rewriteOutsideQuotes(const QString &sql,
                             const std::function<QString(const QString &)> &rewrite);

} // namespace dbkit
