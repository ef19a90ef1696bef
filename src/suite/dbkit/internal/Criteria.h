#pragma once

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

namespace dbkit {

class ColumnStore;

// A FindFirst criterion, compiled once and then tested row by row.
//
// Grammar: comparisons (= <> != < > <= >=) of columns, text literals ('x',
// quotes doubled inside) and numbers; [Not] Like with % and _; Is [Not] Null;
// Not, And, Or with SQL precedence (Not before And before Or); parentheses;
// round(column, n). Keywords and column names are case-insensitive; a column
// may carry a "Table." prefix or stand in [brackets].
//
// Values: text against text compares exactly; numbers numerically; a text
// against a number compares numerically when the text is a number and is
// otherwise unknown; a Null field is unknown against anything. As in SQL,
// only a criterion that is true matches (Not of unknown is unknown).
class Criteria {
public:
    // Resolves a column name to its index; -1 when there is no such column.
    using Resolver = std::function<int(const QString &name)>;
    using ValueReader = std::function<QVariant(int column)>;

    // Throws DbError(BadCriteria) when the text cannot be parsed or names an
    // unknown column.
    static Criteria compile(const QString &text, const Resolver &resolve);

    bool matches(const ColumnStore &rows, size_t row) const;
    bool matches(const ValueReader &value) const;

    Criteria(Criteria &&) noexcept;
    Criteria &operator=(Criteria &&) noexcept;
    ~Criteria();

    struct Program;

private:
    Criteria();
    std::unique_ptr<Program> m_program;
};

} // namespace dbkit
