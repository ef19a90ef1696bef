#include "ChangeFeed.h"

#include "HistoryCursor.h"
#include "suite/dbkit/DbError.h"
#include "suite/dbkit/DbLogin.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace services {

struct ChangeFeed::Following::Feed {
    Feed(const QString &url, const HistoryCursor &cursor);
    ~Feed();

    // The feed's thread: asks every second, or at once when woken.
    void run(HistoryCursor cursor);
    // The windows' thread: hands a batch to every follower still there.
    void deliver(const Changes &changes);

    const QString url;
    // Lives on the windows' thread; batches are queued to it, and dropped
    // with it when the feed ends.
    QObject windowsThread;
    std::map<int, Listener> listeners;
    int nextListener = 1;

    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
    bool askNow = false;
    std::atomic<long long> position{0};
    std::thread thread;
};

ChangeFeed::Following::Feed::Feed(const QString &feedUrl, const HistoryCursor &cursor)
    : url(feedUrl), position(cursor.position())
{
    thread = std::thread([this, cursor] { run(cursor); });
}

ChangeFeed::Following::Feed::~Feed()
{
    {
        const std::lock_guard lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    thread.join();
}

void ChangeFeed::Following::Feed::run(HistoryCursor cursor)
{
    dbkit::DbLoginPtr login;
    for (;;) {
        {
            std::unique_lock lock(mutex);
            wake.wait_for(lock, std::chrono::milliseconds(pollInterval),
                          [this] { return stopping || askNow; });
            if (stopping)
                break;
            askNow = false;
        }
        Changes changes;
        try {
            // The login lives and dies on this thread, as Qt's connections must.
            if (!login)
                login = dbkit::DbLogin::open(url);
            for (;;) {
                Changes batch = cursor.next(*login);
                const bool full = batch.size() >= size_t(HistoryCursor::batchSize);
                changes.insert(changes.end(), std::make_move_iterator(batch.begin()),
                               std::make_move_iterator(batch.end()));
                if (!full)
                    break;
            }
        } catch (const dbkit::DbError &) {
            // An unreachable server only delays the news: the lists keep what
            // they show, and the next question, a second later, opens the
            // connection again and reads on from where the last answer ended.
        }
        position.store(cursor.position());
        if (!changes.empty())
            QMetaObject::invokeMethod(
                &windowsThread, [this, changes = std::move(changes)] { deliver(changes); },
                Qt::QueuedConnection);
    }
    login.reset();
}

void ChangeFeed::Following::Feed::deliver(const Changes &changes)
{
    // A follower may stop following, or another start, while one is told.
    std::vector<int> told;
    told.reserve(listeners.size());
    for (const auto &[id, listener] : listeners)
        told.push_back(id);
    for (const int id : told) {
        const auto listener = listeners.find(id);
        if (listener != listeners.end()) {
            const Listener call = listener->second;
            call(changes);
        }
    }
}

namespace {

// The feeds by database, on the windows' thread: every window of one
// database shares one feed, which ends with its last follower.
std::map<QString, std::weak_ptr<ChangeFeed::Following::Feed>> &feeds();

} // namespace

std::unique_ptr<ChangeFeed::Following> ChangeFeed::follow(const Account &account, Listener listener)
{
    const QString url = account.login().url();
    std::shared_ptr<Following::Feed> feed = feeds()[url].lock();
    if (!feed) {
        std::erase_if(feeds(), [](const auto &entry) { return entry.second.expired(); });
        HistoryCursor cursor;
        cursor.start(account.login());
        feed = std::make_shared<Following::Feed>(url, cursor);
        feeds()[url] = feed;
    }
    const int id = feed->nextListener++;
    feed->listeners.emplace(id, std::move(listener));
    return std::unique_ptr<Following>(new Following(std::move(feed), id));
}

ChangeFeed::Following::~Following()
{
    m_feed->listeners.erase(m_id);
}

void ChangeFeed::Following::askNow()
{
    {
        const std::lock_guard lock(m_feed->mutex);
        m_feed->askNow = true;
    }
    m_feed->wake.notify_all();
}

long long ChangeFeed::Following::position() const
{
    return m_feed->position.load();
}

namespace {

std::map<QString, std::weak_ptr<ChangeFeed::Following::Feed>> &feeds()
{
    static std::map<QString, std::weak_ptr<ChangeFeed::Following::Feed>> byDatabase;
    return byDatabase;
}

} // namespace

} // namespace services
