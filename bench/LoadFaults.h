#pragma once

#include "LoadRun.h"
#include "LoadStats.h"

#include <QString>
#include <QStringList>

#include <memory>
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
    int pausedOperator = -1;   // whose backend was stopped, -1: none
    long long pauseStartNs = 0;
    long long pauseEndNs = 0;
};

// Runs the planned faults at their times in a thread of its own, on a login
// of its own to the bench's database.
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
    // The server backends of operator `op`'s session (a paused one among them).
    std::vector<long long> backendsOf(int op);
    // An operator with a live backend, other than `except`; -1 when none.
    int pickOperator(int except = -1);
    void addWindow(const QString &what, long long startNs, long long endNs);

    FaultPlan m_plan;
    const RunConfig &m_config;
    SharedState &m_shared;
    std::shared_ptr<dbkit::DbLogin> m_login;
    std::mt19937 m_random{std::random_device{}()};
    FaultLog m_log;
};

} // namespace load
