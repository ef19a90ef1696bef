// The plain C entry points of the rights check (OperatorRights.h).
#include "OperatorRights.h"

#include "suite/dbkit/DbError.h"

#include <QByteArray>
#include <QString>
#include <exception>

struct depotbase_rights {
    dbkit::DbLoginPtr login;  // null when the account could not be opened
    QByteArray message;       // the last answer or error, UTF-8
};

namespace {

QString text(const char *utf8)
{
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

// Runs one question; any failure becomes DEPOTBASE_RIGHT_ERROR with its
// text kept for depotbase_rights_message, never an exception across C.
template <typename Question>
int guarded(depotbase_rights *rights, Question question)
{
    if (!rights)
        return DEPOTBASE_RIGHT_ERROR;
    if (!rights->login)
        return DEPOTBASE_RIGHT_ERROR;   // the message still says why it did not open
    try {
        return question(*rights->login);
    } catch (const dbkit::DbError &e) {
        rights->message = e.description().toUtf8();
    } catch (const std::exception &e) {
        rights->message = QByteArray(e.what());
    }
    return DEPOTBASE_RIGHT_ERROR;
}

} // namespace

extern "C" {

depotbase_rights *depotbase_rights_open(const char *account_url)
{
    if (!account_url)
        return nullptr;
    auto *rights = new depotbase_rights;
    try {
        rights->login = dbkit::DbLogin::open(text(account_url));
    } catch (const dbkit::DbError &e) {
        rights->message = e.description().toUtf8();
    } catch (const std::exception &e) {
        rights->message = QByteArray(e.what());
    }
    return rights;
}

void depotbase_rights_close(depotbase_rights *rights)
{
    delete rights;
}

int depotbase_check_right(depotbase_rights *rights, const char *operator_code,
                          const char *warehouse_code, const char *item_code, int *amounts_shown)
{
    if (amounts_shown)
        *amounts_shown = 0;
    return guarded(rights, [&](dbkit::DbLogin &login) {
        const services::RightAnswer answer = services::RightsCheck(login).check(
            text(operator_code), text(warehouse_code), text(item_code));
        rights->message = services::RightsCheck::answerLine(answer).toUtf8();
        if (amounts_shown)
            *amounts_shown = answer.amountsShown ? 1 : 0;
        return answer.allowed() ? DEPOTBASE_RIGHT_ALLOWED : DEPOTBASE_RIGHT_DENIED;
    });
}

int depotbase_usable_warehouses(depotbase_rights *rights, const char *operator_code,
                                depotbase_warehouse_callback each, void *context)
{
    return guarded(rights, [&](dbkit::DbLogin &login) {
        const services::UsableWarehouses usable =
            services::RightsCheck(login).usableWarehouses(text(operator_code));
        rights->message = usable.warehouses.empty()
                              ? QByteArray("denied ")
                                    + services::RightsCheck::verdictWord(usable.verdict)
                              : QByteArray("allowed");
        if (each)
            for (const services::UsableWarehouse &w : usable.warehouses)
                each(w.warehouseCode.toUtf8().constData(), w.amountsShown ? 1 : 0,
                     services::RightsCheck::scopeWord(w.scope), context);
        return usable.warehouses.empty() ? DEPOTBASE_RIGHT_DENIED : DEPOTBASE_RIGHT_ALLOWED;
    });
}

const char *depotbase_rights_message(const depotbase_rights *rights)
{
    return rights ? rights->message.constData() : "";
}
}
