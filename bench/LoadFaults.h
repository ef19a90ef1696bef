#pragma once

#include "LoadRun.h"
#include "LoadStats.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <random>
#include <vector>

namespace dbkit {
class DbLogin;
}

namespace load {

// Which faults a run on a PostgreSQL server goes through.
struct FaultPlan {
    bool kill = false;     // an operator's backend terminated every 10 s
    bool pause = false;    // one operator's backend stopped for 5 s, once
    bool restart = false;  // the server stopped fast and started again, once
    QString dataDir;       // the server's data directory, for the restart
    bool any() const { return kill || pause || restart; }
};

// What the fault steps did, for the report.
struct FaultLog {
    std::vector<FaultWindow> windows;
    QStringList failures;      // fault steps that could not be made
    int kills = 0;
    // Whose backend was stopped: -1 for none, or when the operators go
    // through a pooler and a backend serves whichever operator it is lent to.
    int pausedOperator = -1;
    long long pausedBackend = 0;  // its process id, 0: none
    long long pauseStartNs = 0;
    long long pauseEndNs = 0;
};

// Runs the planned faults at their times in a thread of its own, on a login
// of its own to the bench's database on the server itself (never through a
// pooler: its own backend must be known to leave it out).
class FaultRunner {
public:
    FaultRunner(const FaultPlan &plan, const RunConfig &config, SharedState &shared);
    ~FaultRunner();
    void run();
    const FaultLog &log() const { return m_log; }

private:
    enum class Step { Kill, Pause, Restart };
    void make(Step step);
    void killOne();
    void pauseOne();
    void restartServer();
    // A server backend of an operator, other than the backend `except`. On
    // a direct run it is found by its operator's session; through a pooler,
    // among the backends of the bench's database but the fault login's own.
    struct Backend {
        long long pid = 0;
        int op = -1;  // -1: not known (through a pooler, or a feed's)
        bool feed = false;
    };
    std::optional<Backend> pickBackend(long long except);
    std::optional<Backend> pickOperatorBackend(long long except);
    std::optional<Backend> pickPooledBackend(long long except);
    // On a direct run with followers: the backend of a feed, by its question.
    std::optional<Backend> pickFeedBackend(long long except);
    std::optional<Backend> pickBackendToKill(long long except);
    QString backendName(const Backend &backend) const;
    void addWindow(const QString &what, long long startNs, long long endNs);

    FaultPlan m_plan;
    const RunConfig &m_config;
    SharedState &m_shared;
    std::shared_ptr<dbkit::DbLogin> m_login;
    std::mt19937 m_random{std::random_device{}()};
    FaultLog m_log;
};

} // namespace load
