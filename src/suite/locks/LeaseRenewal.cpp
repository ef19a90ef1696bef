#include "suite/locks/LeaseRenewal.h"

#include "suite/dbkit/DbError.h"
#include "suite/dbkit/DbLogin.h"
#include "suite/locks/SessionLease.h"

#include <QHash>
#include <QStringList>

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace locks {

namespace {

// A round gives up on a server that does not answer well within the lease;
// the next round tries again.
constexpr int roundStatementTimeout = 5000;

struct DatabaseSessions {
    QStringList live;
    QStringList ended;  // closed since the last round: their leases end
};

// The process's renewal thread. The object itself is never destroyed, so a
// login closed during the process's exit still finds it.
class Renewer {
public:
    static Renewer &instance()
    {
        static auto *renewer = new Renewer();
        return *renewer;
    }

    // False when the session is kept already.
    bool keep(const QString &database, const QString &session)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        QStringList &live = m_databases[database].live;
        if (live.contains(session))
            return false;
        live.append(session);
        ++m_live;
        if (!m_thread.joinable())
            m_thread = std::thread([this, generation = ++m_started] { run(generation); });
        return true;
    }

    // The last session gone, the thread ends its lease and is joined.
    void end(const QString &database, const QString &session)
    {
        std::thread finished;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            DatabaseSessions &sessions = m_databases[database];
            if (!sessions.live.removeOne(session))
                return;
            sessions.ended.append(session);
            if (--m_live == 0) {
                m_stopped = m_started;
                finished = std::move(m_thread);
            }
        }
        m_changed.notify_all();
        if (finished.joinable())
            finished.join();
    }

private:
    Renewer() = default;

    // A round every quarter lease, and at once when a session has closed.
    void run(unsigned generation)
    {
        std::map<QString, dbkit::DbLoginPtr> logins;  // one per database
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            const bool last = m_stopped >= generation;
            const QHash<QString, DatabaseSessions> work = takeWork();
            lock.unlock();
            for (auto it = work.cbegin(); it != work.cend(); ++it)
                renew(logins, it.key(), it.value());
            lock.lock();
            if (last)
                return;
            m_changed.wait_for(lock, currentSessionLease() / 4, [&] {
                return m_stopped >= generation || anyEnded();
            });
        }
    }

    QHash<QString, DatabaseSessions> takeWork()
    {
        QHash<QString, DatabaseSessions> work = m_databases;
        for (auto it = m_databases.begin(); it != m_databases.end();) {
            it->ended.clear();
            it = it->live.isEmpty() ? m_databases.erase(it) : std::next(it);
        }
        return work;
    }

    bool anyEnded() const
    {
        for (const DatabaseSessions &sessions : m_databases)
            if (!sessions.ended.isEmpty())
                return true;
        return false;
    }

    static void renew(std::map<QString, dbkit::DbLoginPtr> &logins, const QString &database,
                      const DatabaseSessions &sessions)
    {
        try {
            dbkit::DbLoginPtr &login = logins[database];
            if (!login) {
                login = dbkit::DbLogin::open(database);
                login->setStatementTimeout(roundStatementTimeout);
                clearLongExpiredLeases(*login);
            }
            if (!sessions.ended.isEmpty())
                endLeases(*login, sessions.ended);
            if (!sessions.live.isEmpty())
                renewLeases(*login, sessions.live);
        } catch (const dbkit::DbError &) {
            // The kit opens a lost connection again for the next round. A
            // closed login whose lease could not be ended lets it run out.
        }
        if (sessions.live.isEmpty())
            logins.erase(database);
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::thread m_thread;
    QHash<QString, DatabaseSessions> m_databases;
    int m_live = 0;          // sessions kept now
    unsigned m_started = 0;  // threads started so far
    unsigned m_stopped = 0;  // the latest thread told to stop
};

} // namespace

void keepLeaseAlive(dbkit::DbLogin &login)
{
    const QString database = dbkit::DbLogin::databaseUrl(login.url());
    const QString session = login.sessionToken();
    if (Renewer::instance().keep(database, session))
        login.whenClosed([database, session] { Renewer::instance().end(database, session); });
}

} // namespace locks
