#include "ListDataSet.h"

#include "data/Catalogue.h"
#include "suite/dbkit/DbError.h"
#include "suite/dbkit/DbLogin.h"
#include "suite/modal/ModalSeam.h"

namespace depotbase {

dbkit::DbDataSetPtr OpenListDataSet(dbkit::DbLogin &login, const QString &sql, bool readOnly,
                                    const QString &displayName, QWidget *parent)
{
    const int mode = readOnly ? dbkit::OpenMode::ReadOnly : dbkit::OpenMode::Default;
    try {
        return login.OpenDataSet(sql, mode);
    } catch (const dbkit::DbError &error) {
        // Only a table held exclusively by another operator is worth telling;
        // every other failure is left to the caller, who sees no data set.
        if (error.number() == dbkit::ErrorNumber::TableExclusive)
            modal::message(parent, LoadResString(text::TableHeldExclusively) + displayName,
                           modal::Icon::Critical, modal::Buttons::Ok,
                           LoadResString(text::MessageCaption));
    } catch (const std::exception &) {
    }
    return nullptr;
}

} // namespace depotbase
