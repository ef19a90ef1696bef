#pragma once

#include "LoadStats.h"

#include <QString>

#include <atomic>
#include <mutex>
#include <vector>

namespace load {

// How a run is made.
struct RunConfig {
    QString url;                  // the bench's own account database, on the server
    QString operatorUrl;          // the same database as the operators reach it
    bool postgres = false;
    bool pooled = false;          // the operators go through a transaction pooler
    int operators = 10;
    int seconds = 20;
    int statementTimeoutMs = 1000;
    bool follow = false;          // every operator also follows the change feed
    bool idle = false;            // followers only: no operator writes
};

// An operator's name, op00 to op249: its operator and computer on the server.
inline QString operatorName(int index)
{
    return QStringLiteral("op%1").arg(index, 2, 10, QLatin1Char('0'));
}

// The URL an operator's seat opens, with the operator's name as its operator
// and computer.
inline QString seatUrl(const RunConfig &config, int index)
{
    const QString name = operatorName(index);
    return config.operatorUrl + QStringLiteral("?operator=") + name + QStringLiteral("&computer=")
           + name;
}

// What the threads of a run share while it lasts.
class SharedState {
public:
    explicit SharedState(const RunConfig &config)
        : endNs(config.seconds * nsPerSecond), m_sessions(config.operators),
          lastAdded(config.operators)
    {
        for (auto &last : lastAdded)
            last = -1;
    }

    const RunClock clock;
    const long long endNs;
    bool over() const { return clock.now() >= endNs; }

    // The session token of each operator's login, once it is open, so the
    // fault steps can find the operator's server backend.
    void publishSession(int op, const QString &token)
    {
        const std::lock_guard lock(m_mutex);
        m_sessions[op] = token;
    }
    QString session(int op) const
    {
        const std::lock_guard lock(m_mutex);
        return m_sessions[op];
    }

private:
    mutable std::mutex m_mutex;
    std::vector<QString> m_sessions;

public:
    // The number of the warehouse each operator added last (-1: none yet),
    // so other operators can race its open and delete.
    std::vector<std::atomic<int>> lastAdded;
};

} // namespace load
