#pragma once

#include "LoadRun.h"
#include "LoadStats.h"

#include "services/RightRecord.h"
#include "services/ServiceResult.h"
#include "services/WarehouseService.h"

#include <QString>

#include <deque>
#include <random>

class LockVouchDLL;
namespace dbkit {
class DbLogin;
}
namespace services {
class RightsService;
}

namespace load {

// One operator working through the warehouse and rights services on its
// own login until the run is over: card edits that count up a warehouse's
// counter under its record lock, warehouses added and deleted (racing other
// operators' opens and deletes), and rights granted, changed and revoked on
// keys all operators share. Everything it sees goes into its report.
class LoadOperator {
public:
    LoadOperator(int index, const RunConfig &config, SharedState &shared);
    // Runs in the operator's own thread: the login is opened and closed there.
    void run();
    const OperatorReport &report() const { return m_report; }
    QString name() const { return m_name; }

private:
    struct Services;
    void work(Services &services);
    void finish(Services &services);

    bool openCard(Services &s, const QString &code, services::OpenedWarehouse &opened);
    bool saveCard(Services &s, const services::WarehouseSave &request,
                  services::SavedWarehouse &saved);
    bool editCounter(Services &s);
    bool addWarehouse(Services &s);
    bool deleteWarehouse(Services &s);
    bool editTemporary(Services &s);
    bool insertRight(Services &s);
    bool updateRight(Services &s);
    bool removeRight(Services &s);

    // The code of a warehouse an operator added, by its number.
    QString temporaryCode(int op, int number) const;
    // A right of a shared operator and warehouse as stored now; false when
    // the pair has none.
    bool pickStoredRight(Services &s, services::RightRecord &right);
    services::RightRecord randomNarrowing(services::RightRecord right);

    // Runs one step; a raised failure is tallied under `label` and makes it
    // return false. timed() does the same and keeps its time as `kind`.
    template <typename Step>
    bool attempt(const QString &label, Step step);
    template <typename Step>
    bool timed(CallKind kind, const QString &label, Step step);
    // Tallies a refused result; a refusal without a text is a failure untold.
    void tell(const QString &label, const services::ServiceResult &result);
    // Counts a failure under its key (call and error number or refusal).
    void fail(const QString &key);
    void untold(const QString &what);
    // Keeps a write told done or whose answer was lost, timed as the last
    // call; a refused one is not kept.
    void keepWrite(Write write, bool done, const services::ServiceResult &result);
    int random(int below) { return std::uniform_int_distribution<int>(0, below - 1)(m_random); }

    const int m_index;
    const RunConfig &m_config;
    SharedState &m_shared;
    const QString m_name;
    std::mt19937 m_random;
    std::deque<QString> m_ownWarehouses;
    int m_nextNumber = 0;
    QString m_lastFailure;  // of the operation under way
    bool m_connectionLost = false;  // the operation under way was told so
    OperatorReport m_report;
};

} // namespace load
