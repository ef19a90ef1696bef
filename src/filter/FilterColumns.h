#pragma once

#include <QString>
#include <array>

// The nine warehouse columns of the filter dialog, top to bottom, and the
// condition and value-list statements built from them.
namespace filtercolumns {

constexpr int Count = 9;
// Row of the fund quota: a number, compared rounded instead of quoted.
constexpr int QuotaRow = 5;

struct Column {
    const char *label;       // object name of the label
    int caption;             // catalogue text of the label
    const char *box;         // object name of the value box
    const char *button;      // object name of the value button
    const char *condition;   // column named in the condition
    const char *listColumn;  // column the value list selects
    const char *orderColumn; // column the value list is ordered by
    const char *listField;   // field whose values fill the box's list
};

const std::array<Column, Count> &columns();

// The statement that lists the values of one row's column.
QString valueListStatement(int row);

// Decimals the fund quota is rounded to before comparing: the digits after
// the first "."; a text without "." counts all of its characters.
int quotaDecimals(const QString &text);

// What the position check box asks for: any warehouse (no position part),
// only managed ones, or only those not managed (a Null flag counts as not
// managed, as the list and the card show it).
enum class Positions { Any, Managed, NotManaged };

// What the user chose in the dialog: the nine box texts (table order) and
// the position check box. The list keeps the choice of the filter in force,
// so the dialog opens with it again.
struct Choice {
    std::array<QString, Count> texts;
    Positions positions = Positions::Any;
};

// The condition for the nine box texts (table order) and the position check
// box: "cWHCode='01' And ... And bWHPos=1". Empty boxes add nothing; texts are
// used as typed, with quotes doubled so that no text changes the statement.
QString buildCondition(const std::array<QString, Count> &texts, Positions positions);

// True when a fund quota text is a number the condition can compare:
// digits with at most one "." between digits, an optional leading "-".
bool isQuotaNumber(const QString &text);

} // namespace filtercolumns
