#include "WarehouseListRead.h"

#include "suite/dbkit/BackgroundRead.h"
#include "suite/dbkit/DbDataSet.h"
#include "suite/dbkit/DbLogin.h"
#include "suite/dbkit/SqlForms.h"

namespace services::warehouse_list {

QString firstScreenStatement(dbkit::DbLogin &login, const QString &statement)
{
    return dbkit::SqlForms(login).firstRows(statement, firstScreenRows);
}

FullRead::FullRead(std::unique_ptr<dbkit::BackgroundRead> read) : m_read(std::move(read)) {}

FullRead::~FullRead() = default;

long long FullRead::rowsRead() const
{
    return m_read->rowsRead();
}

bool FullRead::finished() const
{
    return m_read->finished();
}

void FullRead::whenFinished(std::function<void()> call)
{
    m_read->whenFinished(std::move(call));
}

void FullRead::cancel()
{
    m_read->cancel();
}

bool FullRead::moveInto(dbkit::DbDataSet &list, QString &failure)
{
    try {
        m_read->moveRowsInto(list);
        return true;
    } catch (const dbkit::DbError &error) {
        failure = error.description();
        return false;
    }
}

std::unique_ptr<FullRead> readRest(dbkit::DbLogin &login, const dbkit::DbDataSet &first,
                                   const QString &statement)
{
    if (first.RecordCount() < firstScreenRows)
        return nullptr;
    return std::make_unique<FullRead>(
        std::make_unique<dbkit::BackgroundRead>(login.url(), statement, first.openMode()));
}

std::unique_ptr<FullRead> readAgain(dbkit::DbLogin &login, const dbkit::DbDataSet &list)
{
    return readRest(login, list, list.statement());
}

} // namespace services::warehouse_list
