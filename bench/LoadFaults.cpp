#include "LoadFaults.h"

#include "LoadFollowers.h"

#include "suite/dbkit/DbError.h"
#include "suite/dbkit/DbLogin.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <thread>
#include <unistd.h>

namespace load {

namespace {

constexpr long long afterFault = 2 * nsPerSecond;
constexpr long long killEvery = 10 * nsPerSecond;
constexpr auto pauseFor = std::chrono::seconds(5);

// pg_ctl from PATH, else from the newest server installed the Debian way.
QString findPgCtl()
{
    QString onPath = QStandardPaths::findExecutable(QStringLiteral("pg_ctl"));
    if (!onPath.isEmpty())
        return onPath;
    QDir versions(QStringLiteral("/usr/lib/postgresql"));
    const QStringList installed =
        versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::Reversed);
    for (const QString &version : installed) {
        QString candidate = versions.filePath(version + QStringLiteral("/bin/pg_ctl"));
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return QStringLiteral("pg_ctl");
}

// Runs a statement on the fault login; a connection lost to a restart is
// opened again by the kit on the second try.
dbkit::DbDataSetPtr query(dbkit::DbLogin &login, const QString &sql,
                          const QVariantList &values = {})
{
    try {
        return login.OpenDataSet(sql, values, dbkit::OpenMode::ReadOnly);
    } catch (const dbkit::DbError &) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        return login.OpenDataSet(sql, values, dbkit::OpenMode::ReadOnly);
    }
}

std::vector<long long> pids(dbkit::DbLogin &login, const QString &sql,
                            const QVariantList &values = {})
{
    std::vector<long long> found;
    for (auto rows = query(login, sql, values); !rows->Eof(); rows->MoveNext())
        found.push_back(rows->Fields(0).toLongLong());
    return found;
}

} // namespace

FaultRunner::FaultRunner(const FaultPlan &plan, const RunConfig &config, SharedState &shared)
    : m_plan(plan), m_config(config), m_shared(shared)
{
}

FaultRunner::~FaultRunner() = default;

void FaultRunner::run()
{
    std::vector<std::pair<long long, Step>> steps;
    if (m_plan.kill) {
        for (long long at = killEvery; at < m_shared.endNs; at += killEvery)
            steps.emplace_back(at, Step::Kill);
    }
    if (m_plan.pause)
        steps.emplace_back(m_shared.endNs * 3 / 10, Step::Pause);
    if (m_plan.restart)
        steps.emplace_back(m_shared.endNs * 6 / 10, Step::Restart);
    std::sort(steps.begin(), steps.end());
    try {
        m_login = dbkit::DbLogin::open(m_config.url);
        for (const auto &[at, step] : steps) {
            while (m_shared.clock.now() < at && !m_shared.over())
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (m_shared.over())
                break;
            make(step);
        }
    } catch (const dbkit::DbError &error) {
        m_log.failures << QStringLiteral("fault login: ") + error.description();
    }
    m_login.reset();
}

void FaultRunner::make(Step step)
{
    try {
        switch (step) {
        case Step::Kill: killOne(); break;
        case Step::Pause: pauseOne(); break;
        case Step::Restart: restartServer(); break;
        }
    } catch (const dbkit::DbError &error) {
        m_log.failures << QStringLiteral("fault step: ") + error.description();
    }
}

std::optional<FaultRunner::Backend> FaultRunner::pickBackend(long long except)
{
    return m_config.pooled ? pickPooledBackend(except) : pickOperatorBackend(except);
}

std::optional<FaultRunner::Backend> FaultRunner::pickOperatorBackend(long long except)
{
    std::uniform_int_distribution<int> any(0, m_config.operators - 1);
    for (int tries = 0; tries < 4 * m_config.operators; ++tries) {
        const int op = any(m_random);
        const QString session = m_shared.session(op);
        if (session.isEmpty())
            continue;
        const std::vector<long long> found =
            pids(*m_login, QStringLiteral("SELECT pid FROM pg_stat_activity "
                                          "WHERE application_name = ?"),
                 {dbkit::DbLogin::sessionApplicationName(session)});
        if (!found.empty() && found.front() != except)
            return Backend{found.front(), op};
    }
    return std::nullopt;
}

std::optional<FaultRunner::Backend> FaultRunner::pickPooledBackend(long long except)
{
    std::vector<long long> found =
        pids(*m_login, QStringLiteral("SELECT pid FROM pg_stat_activity "
                                      "WHERE datname = current_database() "
                                      "AND pid <> pg_backend_pid() "
                                      "AND backend_type = 'client backend'"));
    std::erase(found, except);
    if (found.empty())
        return std::nullopt;
    return Backend{found[std::uniform_int_distribution<size_t>(0, found.size() - 1)(m_random)],
                   -1};
}

std::optional<FaultRunner::Backend> FaultRunner::pickFeedBackend(long long except)
{
    std::vector<long long> found =
        pids(*m_login, QStringLiteral("SELECT pid FROM pg_stat_activity "
                                      "WHERE datname = current_database() AND query LIKE ?"),
             {feedStatementPattern()});
    std::erase(found, except);
    if (found.empty())
        return std::nullopt;
    return Backend{found[std::uniform_int_distribution<size_t>(0, found.size() - 1)(m_random)],
                   -1, true};
}

// With followers on a direct run every other kill ends a feed's backend, so
// the feeds too must find their connection gone and open it again.
std::optional<FaultRunner::Backend> FaultRunner::pickBackendToKill(long long except)
{
    if (m_config.follow && !m_config.pooled && m_log.kills % 2 == 1)
        return pickFeedBackend(except);
    return pickBackend(except);
}

QString FaultRunner::backendName(const Backend &backend) const
{
    if (backend.op >= 0)
        return operatorName(backend.op);
    return (backend.feed ? QStringLiteral("feed backend %1") : QStringLiteral("backend %1"))
        .arg(backend.pid);
}

void FaultRunner::addWindow(const QString &what, long long startNs, long long endNs)
{
    m_log.windows.push_back({what, startNs, endNs + afterFault});
}

void FaultRunner::killOne()
{
    // Right after a restart no operator may be connected yet (a pooler
    // waits before it logs in to the server again): the step waits a little.
    std::optional<Backend> backend = pickBackendToKill(m_log.pausedBackend);
    for (int tries = 0; !backend && tries < 30 && !m_shared.over(); ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        backend = pickBackendToKill(m_log.pausedBackend);
    }
    if (!backend) {
        m_log.failures << QStringLiteral("kill: no operator backend found");
        return;
    }
    const long long at = m_shared.clock.now();
    query(*m_login, QStringLiteral("SELECT pg_terminate_backend(?)"), {backend->pid});
    ++m_log.kills;
    addWindow(QStringLiteral("kill ") + backendName(*backend), at, m_shared.clock.now());
}

void FaultRunner::pauseOne()
{
    const std::optional<Backend> backend = pickBackend(0);
    if (!backend) {
        m_log.failures << QStringLiteral("pause: no operator backend found");
        return;
    }
    const auto pid = static_cast<pid_t>(backend->pid);
    const long long start = m_shared.clock.now();
    if (::kill(pid, SIGSTOP) != 0) {
        m_log.failures << QStringLiteral("pause: SIGSTOP failed: ") + QString::fromLocal8Bit(
                                                                          std::strerror(errno));
        return;
    }
    m_log.pausedOperator = backend->op;
    m_log.pausedBackend = backend->pid;
    m_log.pauseStartNs = start;
    std::this_thread::sleep_for(pauseFor);
    ::kill(pid, SIGCONT);
    m_log.pauseEndNs = m_shared.clock.now();
    addWindow(QStringLiteral("pause ") + backendName(*backend), start, m_log.pauseEndNs);
}

void FaultRunner::restartServer()
{
    if (m_plan.dataDir.isEmpty()) {
        m_log.failures << QStringLiteral("restart: no --pg-data given");
        return;
    }
    QStringList arguments{QStringLiteral("-D"), m_plan.dataDir, QStringLiteral("-m"),
                          QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("-l"),
                          QDir(m_plan.dataDir).filePath(QStringLiteral("bench-restart.log")),
                          QStringLiteral("restart")};
    QString program = findPgCtl();
    // The server will not run as root: its owner restarts it.
    if (::geteuid() == 0) {
        arguments = QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                                QStringLiteral("--"), program}
                    + arguments;
        program = QStringLiteral("runuser");
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    const long long start = m_shared.clock.now();
    process.start(program, arguments);
    const bool finished = process.waitForFinished(120000);
    const long long end = m_shared.clock.now();
    if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        m_log.failures << QStringLiteral("restart: %1 failed: %2")
                              .arg(program, QString::fromLocal8Bit(process.readAll()).trimmed());
        return;
    }
    addWindow(QStringLiteral("restart"), start, end);
}

} // namespace load
