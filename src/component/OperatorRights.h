#pragma once

/*
 * The check of an operator's warehouse rights, for the programs of the suite
 * that must honour a right without re-deriving its rules.
 *
 * The rules (the same the warehouse-rights editor enforces):
 * - a right without class and item covers the whole warehouse;
 * - a class right covers the items of that class and of its subclasses
 *   (class codes nest by prefix); an item right covers that item;
 * - of the rights covering an item, the most specific decides whether
 *   amounts are shown: item over class, deeper class over shallower class,
 *   class over the whole warehouse;
 * - asked without an item, a warehouse is usable when the operator holds any
 *   right on it; amounts are shown when the whole-warehouse right shows
 *   them, and hidden when the operator holds only narrowed rights there (ask
 *   per item then);
 * - unknown and inactive operators may use nothing; a right on a warehouse
 *   that no longer exists grants nothing;
 * - an active administrator may use every warehouse, amounts shown: the
 *   editor gives administrators no rights, so the rights table does not
 *   apply to them.
 *
 * C++ hosts: services::RightsCheck (services/RightsCheck.h, included below)
 * on the login they hand to LXWareHouse::Init:
 *
 *     services::RightsCheck rights(*login);
 *     const services::RightAnswer answer = rights.check("001", "01", "010101");
 *     if (answer.allowed() && answer.amountsShown) ...
 *
 * C hosts (and hosts that load the library at run time) use the entry points
 * below. Texts are UTF-8. A handle belongs to the thread that opened it.
 */

#include "export/DepotbaseExport.h"

#ifdef __cplusplus
#include "services/RightsCheck.h"
#include "suite/dbkit/DbLogin.h"
extern "C" {
#endif

/* The status every check returns; the host program exits with the same. */
enum {
    DEPOTBASE_RIGHT_ALLOWED = 0,
    DEPOTBASE_RIGHT_DENIED = 1,
    DEPOTBASE_RIGHT_ERROR = 2
};

typedef struct depotbase_rights depotbase_rights;

/* Opens the account at `account_url` (sqlite:PATH, postgresql://user@host:port/db,
 * odbc:CONNECTION-STRING) for checks. Returns NULL only for a NULL URL; an
 * account that cannot be opened gives a handle whose every check returns
 * DEPOTBASE_RIGHT_ERROR, with the reason in depotbase_rights_message. */
DEPOTBASE_EXPORT depotbase_rights *depotbase_rights_open(const char *account_url);
DEPOTBASE_EXPORT void depotbase_rights_close(depotbase_rights *rights);

/* May the operator (its code) use the warehouse, for the item when
 * `item_code` is neither NULL nor empty? Returns DEPOTBASE_RIGHT_ALLOWED,
 * _DENIED or _ERROR; `*amounts_shown` (when not NULL) is set to 1 when
 * amounts are shown to the operator, else 0. */
DEPOTBASE_EXPORT int depotbase_check_right(depotbase_rights *rights, const char *operator_code,
                                           const char *warehouse_code, const char *item_code,
                                           int *amounts_shown);

/* Called once per warehouse the operator may use, by warehouse code, with
 * the money flag and what grants it: "whole-warehouse", "part-of-warehouse"
 * (only narrowed rights there) or "administrator". */
typedef void (*depotbase_warehouse_callback)(const char *warehouse_code, int amounts_shown,
                                             const char *scope, void *context);

/* The warehouses the operator may use. Returns DEPOTBASE_RIGHT_ALLOWED when
 * there is at least one, _DENIED when none, _ERROR on failure. */
DEPOTBASE_EXPORT int depotbase_usable_warehouses(depotbase_rights *rights,
                                                 const char *operator_code,
                                                 depotbase_warehouse_callback each,
                                                 void *context);

/* The last answer in words, as depotbase-host --check-right prints it
 * ("allowed amounts-shown", "denied no-right", "denied inactive-operator",
 * ...) or the text of the last error. Valid until the next call on the
 * handle. */
DEPOTBASE_EXPORT const char *depotbase_rights_message(const depotbase_rights *rights);

#ifdef __cplusplus
}
#endif
