#pragma once

// The check of an operator's warehouse rights, for the component and for the
// other programs of the suite that must honour a right. Installed with the
// library's headers: hosts call it as services::RightsCheck.
//
// The rules are the ones the authority editor enforces on table WarehAuth:
// - a right without class and item covers the whole warehouse;
// - a class right covers the items of that class and of its subclasses
//   (class codes nest by prefix: 0101 lies beneath 01); an item's class is
//   Inventory.cInvCCode;
// - an item right covers that item;
// - of the rights that cover an item, the most specific decides whether
//   amounts are shown (bDispMoney): item over class, a deeper class over a
//   shallower one, a class over the whole warehouse;
// - an operator unknown to the system (lxsystem..qd_user) or inactive
//   (nState neither 0 nor Null) may use nothing;
// - a right on a warehouse that no longer exists grants nothing, as the
//   editor's lists leave such rights out;
// - an administrator (iAdmin = 1) who is active may use every warehouse with
//   amounts shown. The editor lists no administrator, so no right can be
//   given to or taken from one there; the rights table does not apply to
//   them, and any row an administrator holds in it is ignored;
// - an operator whose iAdmin is Null is left out of the editor's lists too
//   (they select iAdmin <> 1), so their rows are as invisible as an
//   administrator's and are ignored in the same way; not being known as an
//   administrator either, such an operator may use nothing.
//
// Each question is one statement with bound values, served by the indexes
// on WarehAuth (operator and warehouse lead the unique key); nothing reads a
// whole table. A failure of the database throws dbkit::DbError.
//
// A login belongs to the thread that opened it; so does a check made on it.

#include "export/DepotbaseExport.h"

#include <QString>
#include <vector>

namespace dbkit {
class DbLogin;
}

namespace services {

// Why an operator may or may not use a warehouse.
enum class RightVerdict {
    Allowed,
    NoRight,           // no right of the operator covers it
    UnknownOperator,   // no such operator code
    InactiveOperator,  // the operator is disabled
    UnknownWarehouse,  // no such warehouse
};

// What decided an allowed answer.
enum class RightScope {
    None,             // denied
    Administrator,    // an administrator may use everything
    WholeWarehouse,   // a right without class or item
    ItemClass,        // a class right covering the item's class
    Item,             // a right on the item itself
    PartOfWarehouse,  // asked without item: only narrowed rights on it
};

struct RightAnswer {
    RightVerdict verdict = RightVerdict::NoRight;
    // Whether amounts (money) are shown to the operator. Asked without item
    // this is the whole-warehouse right's flag; with only narrowed rights on
    // the warehouse it is false, since the amounts of the whole warehouse
    // include items the operator's rights do not cover: ask per item then.
    bool amountsShown = false;
    RightScope decidedBy = RightScope::None;

    bool allowed() const { return verdict == RightVerdict::Allowed; }
};

// A warehouse an operator may use, with the same answer as check() gives
// for it without item.
struct UsableWarehouse {
    QString warehouseCode;
    QString warehouseName;
    bool amountsShown = false;
    RightScope scope = RightScope::None;  // Administrator, WholeWarehouse or PartOfWarehouse
};

struct UsableWarehouses {
    // Allowed when the operator may use at least one warehouse; otherwise
    // why not (NoRight for an active operator without rights).
    RightVerdict verdict = RightVerdict::NoRight;
    std::vector<UsableWarehouse> warehouses;  // by warehouse code
};

class DEPOTBASE_EXPORT RightsCheck {
public:
    explicit RightsCheck(dbkit::DbLogin &login) : m_login(login) {}

    // May operator `operatorCode` (qd_user.cuser_id) use warehouse
    // `warehouseCode`, for item `itemCode` when one is given? Without item
    // the warehouse is usable when the operator holds any right on it. An
    // item missing from Inventory has no class, so only a whole-warehouse
    // right or a right on its code covers it.
    RightAnswer check(const QString &operatorCode, const QString &warehouseCode,
                      const QString &itemCode = QString());
    // Every warehouse the operator may use (holds any right on), by code.
    UsableWarehouses usableWarehouses(const QString &operatorCode);

    // The words the host program prints for a verdict and a scope, and its
    // one line for an answer: "allowed amounts-shown", "allowed
    // amounts-hidden" or "denied " and the verdict's word ("denied no-right").
    static const char *verdictWord(RightVerdict verdict);
    static const char *scopeWord(RightScope scope);
    static QString answerLine(const RightAnswer &answer);
    // The host program's tab-separated line for a usable warehouse: code,
    // "amounts-shown" or "amounts-hidden", and the scope's word. A backslash,
    // tab, line feed or carriage return in the code is written as \\, \t, \n
    // or \r, so every line keeps its three fields.
    static QString listingLine(const UsableWarehouse &warehouse);

private:
    dbkit::DbLogin &m_login;
};

} // namespace services
