#include "LoadServerCpu.h"

#include "LoadFollowers.h"

#include "suite/dbkit/DbError.h"
#include "suite/dbkit/DbLogin.h"

#include <QFile>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <map>

namespace load {

namespace {

constexpr auto lookEvery = std::chrono::milliseconds(500);

// The time a process has run on a CPU, in nanoseconds; -1 when it is gone.
long long onCpuNs(long long pid)
{
    QFile stats(QStringLiteral("/proc/%1/schedstat").arg(pid));
    if (!stats.open(QIODevice::ReadOnly))
        return -1;
    bool ok = false;
    const long long ns = QString::fromLatin1(stats.readAll()).section(u' ', 0, 0).toLongLong(&ok);
    return ok ? ns : -1;
}

long long ownCpuNs()
{
    timespec spent{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &spent);
    return spent.tv_sec * 1'000'000'000LL + spent.tv_nsec;
}

struct Backend {
    long long fromNs = 0;  // at the window's start, 0 for one born in it
    long long lastNs = 0;
    bool feed = false;
};

} // namespace

ServerCpuMeter::ServerCpuMeter(const QString &serverUrl, long long poolerPid)
    : m_url(serverUrl), m_poolerPid(poolerPid)
{
    m_thread = std::thread([this] { look(); });
}

ServerCpuMeter::~ServerCpuMeter()
{
    if (m_thread.joinable())
        stop();
}

CpuUse ServerCpuMeter::stop()
{
    m_stopping = true;
    m_thread.join();
    if (!m_failure.isEmpty())
        std::fprintf(stderr, "server CPU: a look missed (the next one logged in again): %s\n",
                     qPrintable(m_failure));
    return m_use;
}

void ServerCpuMeter::look()
{
    const auto start = std::chrono::steady_clock::now();
    const long long benchFrom = ownCpuNs();
    const long long poolerFrom = m_poolerPid > 0 ? onCpuNs(m_poolerPid) : -1;
    std::map<long long, Backend> backends;
    dbkit::DbLoginPtr login;
    for (bool first = true;; first = false) {
        const bool last = m_stopping;
        try {
            if (!login)
                login = dbkit::DbLogin::open(m_url);
            for (auto rows = login->OpenDataSet(
                     QStringLiteral("SELECT pid, CASE WHEN query LIKE ? THEN 1 ELSE 0 END "
                                    "FROM pg_stat_activity WHERE datname = current_database() "
                                    "AND pid <> pg_backend_pid() "
                                    "AND backend_type = 'client backend'"),
                     {feedStatementPattern()}, dbkit::OpenMode::ReadOnly);
                 !rows->Eof(); rows->MoveNext()) {
                const long long pid = rows->Fields(0).toLongLong();
                const long long ns = onCpuNs(pid);
                if (ns < 0)
                    continue;
                Backend &backend = backends.try_emplace(pid, Backend{first ? ns : 0}).first->second;
                backend.lastNs = ns;
                backend.feed |= rows->Fields(1).toInt() == 1;
            }
        } catch (const dbkit::DbError &error) {
            // A restarting server: the next look opens the login again.
            m_failure = error.description();
        }
        if (last)
            break;
        for (auto waited = std::chrono::milliseconds(0); waited < lookEvery && !m_stopping;
             waited += std::chrono::milliseconds(20))
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    m_use.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (const auto &[pid, backend] : backends) {
        const long long spent = backend.lastNs - backend.fromNs;
        m_use.serverNs += spent;
        ++m_use.backends;
        if (backend.feed) {
            m_use.feedNs += spent;
            ++m_use.feedBackends;
        }
    }
    if (poolerFrom >= 0)
        m_use.poolerNs = onCpuNs(m_poolerPid) - poolerFrom;
    m_use.benchNs = ownCpuNs() - benchFrom;
    login.reset();
}

void printCpu(const CpuUse &use, bool pooled)
{
    const auto share = [&use](long long ns) { return 100.0 * ns / (use.seconds * 1e9); };
    std::printf("\nCPU over %.1f s, as a share of one core:\n", use.seconds);
    std::printf("  server, %d backends of the bench's database  %6.2f %%\n", use.backends,
                share(use.serverNs));
    if (!pooled)
        std::printf("  of it the feeds' %d backends                  %6.2f %%\n",
                    use.feedBackends, share(use.feedNs));
    if (use.poolerNs >= 0)
        std::printf("  the pooler                                    %6.2f %%\n",
                    share(use.poolerNs));
    std::printf("  the bench itself (client side)                %6.2f %%\n", share(use.benchNs));
    std::fflush(stdout);
}

} // namespace load
