#include "LoadOperator.h"

#include "LoadAccount.h"

#include "services/RightsService.h"
#include "services/WarehouseService.h"
#include "suite/dbkit/DbError.h"
#include "suite/dbkit/DbLogin.h"
#include "suite/locks/LockVouchDLL.h"

#include <QUrl>

#include <chrono>
#include <utility>
#include <thread>

namespace load {

using services::RightRecord;
using services::ServiceResult;

namespace {

// A short name for a refusal, as the report counts it. Any other failure is
// told with the start of its own text.
QString refusalLabel(const ServiceResult &result)
{
    using services::Refusal;
    switch (result.refusal) {
    case Refusal::Duplicate: return QStringLiteral("duplicate");
    case Refusal::Overlap:
    case Refusal::WholeBesideNarrowed: return QStringLiteral("overlap");
    case Refusal::ChangedMeanwhile: return QStringLiteral("changed meanwhile");
    case Refusal::DeletedMeanwhile: return QStringLiteral("gone");
    case Refusal::Locked: return QStringLiteral("locked");
    case Refusal::LockLost: return QStringLiteral("lock taken over");
    case Refusal::RecordLocked: return QStringLiteral("record locked");
    case Refusal::Busy: return QStringLiteral("busy");
    case Refusal::ConnectionLost: return QStringLiteral("connection lost");
    case Refusal::InUse: return QStringLiteral("in use");
    default: return result.message.left(60);
    }
}

// A failure after which the write may or may not be stored: the connection
// went (or was given up on) before the answer came.
bool answerLost(const ServiceResult &result)
{
    return result.refusal == services::Refusal::ConnectionLost;
}

// A write of `key` as it is kept; `changes` says the row changes when it is
// done, `right` what a right's add or change leaves stored.
Write writeOf(Write::Table table, Write::Action action, const QString &key, bool changes = true,
              std::optional<RightRecord> right = std::nullopt)
{
    Write write;
    write.table = table;
    write.action = action;
    write.key = key;
    write.changes = changes;
    write.right = std::move(right);
    return write;
}

} // namespace

struct LoadOperator::Services {
    dbkit::DbLogin &login;
    LockVouchDLL locks;
    services::WarehouseService warehouses;
    services::RightsService rights;

    Services(dbkit::DbLogin &l, const QString &computer)
        : login(l), warehouses(l, locks, computer), rights(l)
    {
    }
};

LoadOperator::LoadOperator(int index, const RunConfig &config, SharedState &shared)
    : m_index(index), m_config(config), m_shared(shared),
      m_name(operatorName(index)),
      m_random(std::random_device{}() + index)
{
}

void LoadOperator::run()
{
    dbkit::DbLoginPtr login;
    const bool opened = attempt(QStringLiteral("login"), [&] {
        login = dbkit::DbLogin::open(seatUrl(m_config, m_index));
        login->setStatementTimeout(m_config.statementTimeoutMs);
        return true;
    });
    if (!opened)
        return;
    m_shared.publishSession(m_index, login->sessionToken());
    Services services(*login, m_name);
    work(services);
    finish(services);
}

void LoadOperator::work(Services &s)
{
    while (!m_shared.over()) {
        const int pick = random(100);
        const long long start = m_shared.clock.now();
        m_lastFailure.clear();
        bool done = false;
        if (pick < 40)
            done = editCounter(s);
        else if (pick < 48)
            done = addWarehouse(s);
        else if (pick < 56)
            done = deleteWarehouse(s);
        else if (pick < 62)
            done = editTemporary(s);
        else if (pick < 77)
            done = insertRight(s);
        else if (pick < 89)
            done = updateRight(s);
        else
            done = removeRight(s);
        m_report.operationSpans.push_back(
            {start, m_shared.clock.now(), done, done ? QString() : m_lastFailure});
        ++m_report.operations;
        if (done)
            ++m_report.done;
        // An operator told that the server cannot be reached does not try
        // again at once (a restarting server would refuse it hundreds of times).
        if (std::exchange(m_connectionLost, false))
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

// Releases what the lock object remembers as not released (a release that
// met a lost connection), giving a restarting server a few seconds.
void LoadOperator::finish(Services &s)
{
    for (int tries = 0; s.locks.HasPendingReleases() && tries < 40; ++tries) {
        if (s.locks.RetryReleases(s.login))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    if (s.locks.HasPendingReleases())
        fail(QStringLiteral("final release ") + s.locks.LastReleaseError().left(24));
}

template <typename Step>
bool LoadOperator::attempt(const QString &label, Step step)
{
    try {
        return step();
    } catch (const dbkit::DbError &error) {
        fail(label + QLatin1Char(' ') + QString::number(error.number()));
        m_connectionLost |= error.number() == dbkit::ErrorNumber::ConnectionFailed;
        if (error.description().isEmpty())
            untold(label + QStringLiteral(": error %1 without a description").arg(error.number()));
    } catch (const std::exception &error) {
        untold(label + QStringLiteral(": raised ") + QString::fromLocal8Bit(error.what()));
    } catch (...) {
        untold(label + QStringLiteral(": raised an unknown exception"));
    }
    return false;
}

template <typename Step>
bool LoadOperator::timed(CallKind kind, const QString &label, Step step)
{
    Sample sample{kind, m_shared.clock.now(), 0, false};
    const bool done = attempt(label, step);
    sample.endNs = m_shared.clock.now();
    sample.failed = !done;
    m_report.samples.push_back(sample);
    return done;
}

void LoadOperator::tell(const QString &label, const ServiceResult &result)
{
    fail(label + QLatin1Char(' ') + refusalLabel(result));
    m_connectionLost |= answerLost(result);
    if (result.message.isEmpty())
        untold(label + QStringLiteral(": refused without a text"));
}

void LoadOperator::fail(const QString &key)
{
    ++m_report.failures[key];
    m_lastFailure = key;
}

void LoadOperator::untold(const QString &what)
{
    m_report.untold << m_name + QStringLiteral(": ") + what;
}

void LoadOperator::keepWrite(Write write, bool done, const ServiceResult &result)
{
    write.done = done;
    if (!done && !answerLost(result))
        return;
    write.startNs = m_report.samples.back().startNs;
    write.endNs = m_report.samples.back().endNs;
    m_report.writes.push_back(std::move(write));
}

// Opens a warehouse's card: takes its lock and reads it, timed as a lock.
bool LoadOperator::openCard(Services &s, const QString &code, services::OpenedWarehouse &opened)
{
    const QString label = QStringLiteral("lock");
    const bool done = timed(CallKind::Lock, label, [&] {
        opened = s.warehouses.openForEdit(code);
        return opened.outcome == services::OpenedWarehouse::Outcome::Opened;
    });
    if (!done && opened.outcome == services::OpenedWarehouse::Outcome::Locked)
        fail(label + QStringLiteral(" held by another"));
    if (!done && opened.outcome == services::OpenedWarehouse::Outcome::Gone)
        fail(label + QStringLiteral(" gone"));
    return done;
}

// Saves an opened card's changes, timed, and releases its lock.
bool LoadOperator::saveCard(Services &s, const services::WarehouseSave &request,
                            services::SavedWarehouse &saved)
{
    const QString label = QStringLiteral("save");
    const bool done = timed(CallKind::Save, label, [&] {
        saved = s.warehouses.save(request);
        return saved.result.done();
    });
    s.warehouses.locks().unlock(request.original.code);
    if (!done && !saved.result.done())
        tell(label, saved.result);
    m_report.samples.back().lockTakenOver = saved.result.refusal == services::Refusal::LockLost;
    keepWrite(writeOf(Write::Table::Warehouse, Write::Action::Change, request.original.code,
                      !saved.unchanged),
              done, saved.result);
    return done;
}

// Lock, read the counter, save it one up, unlock. An increment counts as
// acknowledged only when the save says done.
bool LoadOperator::editCounter(Services &s)
{
    const QString code = seed::counterCode(random(seed::counterWarehouses));
    services::OpenedWarehouse opened;
    if (!openCard(s, code, opened)) {
        if (opened.outcome == services::OpenedWarehouse::Outcome::Gone)
            untold(QStringLiteral("counter warehouse %1 opened as gone").arg(code));
        return false;
    }
    bool ok = false;
    const long long value = opened.record.memo.toLongLong(&ok);
    if (!ok) {
        untold(QStringLiteral("counter of %1 reads \"%2\"").arg(code, opened.record.memo));
        s.warehouses.locks().unlock(code);
        return false;
    }
    services::WarehouseSave request{false, opened.record, opened.record, false};
    request.edited.memo = QString::number(value + 1);
    services::SavedWarehouse saved;
    const bool done = saveCard(s, request, saved);
    if (done) {
        ++m_report.acked[code];
        if (saved.stored.memo != request.edited.memo)
            untold(QStringLiteral("save of %1 done but reports %2").arg(code, saved.stored.memo));
    } else if (answerLost(saved.result)) {
        ++m_report.unknown[code];
    }
    return done;
}

QString LoadOperator::temporaryCode(int op, int number) const
{
    return QStringLiteral("T%1%2").arg(op, 3, 10, QLatin1Char('0'))
        .arg(number % 10000, 4, 10, QLatin1Char('0'));
}

bool LoadOperator::addWarehouse(Services &s)
{
    const int number = m_nextNumber++;
    services::WarehouseSave request;
    request.edited.code = temporaryCode(m_index, number);
    request.edited.name = QStringLiteral("临时仓库") + request.edited.code;
    request.edited.valueStyle = seed::valueStyle();
    services::SavedWarehouse saved;
    const QString label = QStringLiteral("add");
    const bool done = timed(CallKind::Save, label, [&] {
        saved = s.warehouses.save(request);
        return saved.result.done();
    });
    keepWrite(writeOf(Write::Table::Warehouse, Write::Action::Add, request.edited.code), done,
              saved.result);
    if (done)
        m_report.added.insert(request.edited.code);
    if (done || answerLost(saved.result)) {
        m_ownWarehouses.push_back(request.edited.code);
        m_shared.lastAdded[m_index] = number;
    }
    if (!done && !saved.result.done())
        tell(label, saved.result);
    return done;
}

// Deletes an own warehouse, oldest first, or the one another operator added
// last, which that operator may be opening or deleting right now.
bool LoadOperator::deleteWarehouse(Services &s)
{
    QString code;
    const int other = random(m_config.operators);
    const int theirs = m_shared.lastAdded[other];
    if (random(10) < 4 && other != m_index && theirs >= 0)
        code = temporaryCode(other, theirs);
    else if (!m_ownWarehouses.empty())
        code = m_ownWarehouses.front();
    else
        return false;
    ServiceResult result;
    const QString label = QStringLiteral("delete");
    const bool done = timed(CallKind::Delete, label, [&] {
        result = s.warehouses.remove(code);
        return result.done();
    });
    if (!done && !result.done())
        tell(label, result);
    keepWrite(writeOf(Write::Table::Warehouse, Write::Action::Delete, code), done, result);
    if (done)
        m_report.deleted.insert(code);
    if (done || answerLost(result))
        m_report.maybeDeleted.insert(code);
    if (done || result.refusal == services::Refusal::DeletedMeanwhile)
        std::erase(m_ownWarehouses, code);
    return done;
}

// Renames a warehouse an operator added last, its own or another's.
bool LoadOperator::editTemporary(Services &s)
{
    const int other = random(m_config.operators);
    const int number = m_shared.lastAdded[other];
    if (number < 0)
        return false;
    services::OpenedWarehouse opened;
    if (!openCard(s, temporaryCode(other, number), opened))
        return false;
    services::WarehouseSave request{false, opened.record, opened.record, false};
    request.edited.name = QStringLiteral("改名仓库") + opened.record.code;
    services::SavedWarehouse saved;
    return saveCard(s, request, saved);
}

RightRecord LoadOperator::randomNarrowing(RightRecord right)
{
    static const std::vector<seed::Narrowing> narrowings = seed::narrowings();
    // The whole warehouse is drawn less often: beside any right it is refused.
    const seed::Narrowing &n =
        narrowings[random(4) == 0 ? 0 : 1 + random(int(narrowings.size()) - 1)];
    right.classCode = n.classCode;
    right.itemCode = n.itemCode;
    right.showMoney = random(2) == 0;
    return right;
}

bool LoadOperator::insertRight(Services &s)
{
    const QStringList operators = seed::rightsOperators();
    RightRecord right;
    right.operatorCode = operators[random(int(operators.size()))];
    right.operatorName = QStringLiteral("库管员") + right.operatorCode;
    right.warehouseCode = seed::counterCode(random(seed::rightsWarehouses));
    right = randomNarrowing(right);
    const QString label = QStringLiteral("rights insert");
    ServiceResult result;
    const bool done = timed(CallKind::Rights, label, [&] {
        result = s.rights.insert(right);
        return result.done();
    });
    if (!done && !result.done())
        tell(label, result);
    if (done && right.autoId <= 0)
        untold(QStringLiteral("right inserted without an Auto_id"));
    keepWrite(writeOf(Write::Table::Right, Write::Action::Add,
                      done ? QString::number(right.autoId) : QString(), true, right),
              done, result);
    return done;
}

bool LoadOperator::pickStoredRight(Services &s, RightRecord &right)
{
    const QStringList operators = seed::rightsOperators();
    const QString &op = operators[random(int(operators.size()))];
    const QString warehouse = seed::counterCode(random(seed::rightsWarehouses));
    std::vector<RightRecord> stored;
    if (!attempt(QStringLiteral("rights read"), [&] {
            stored = s.rights.rightsOfOperator(op);
            return true;
        }))
        return false;
    std::erase_if(stored, [&](const RightRecord &r) { return r.warehouseCode != warehouse; });
    if (stored.empty())
        return false;
    right = stored[random(int(stored.size()))];
    return true;
}

bool LoadOperator::updateRight(Services &s)
{
    RightRecord asRead;
    if (!pickStoredRight(s, asRead))
        return false;
    const RightRecord changed = randomNarrowing(asRead);
    const QString label = QStringLiteral("rights update");
    ServiceResult result;
    const bool done = timed(CallKind::Rights, label, [&] {
        result = s.rights.update(changed, asRead);
        return result.done();
    });
    if (!done && !result.done())
        tell(label, result);
    keepWrite(writeOf(Write::Table::Right, Write::Action::Change,
                      QString::number(changed.autoId), changed != asRead, changed),
              done, result);
    return done;
}

bool LoadOperator::removeRight(Services &s)
{
    RightRecord right;
    if (!pickStoredRight(s, right))
        return false;
    const QString label = QStringLiteral("rights remove");
    ServiceResult result;
    const bool done = timed(CallKind::Rights, label, [&] {
        result = s.rights.remove(right.autoId);
        return result.done();
    });
    if (!done && !result.done())
        tell(label, result);
    keepWrite(writeOf(Write::Table::Right, Write::Action::Delete,
                      QString::number(right.autoId)),
              done, result);
    return done;
}

} // namespace load
