#include "LoadFollowers.h"

#include "services/Account.h"
#include "suite/dbkit/DbLogin.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace load {

Followers::Followers(const RunConfig &config)
{
    m_seats.reserve(size_t(config.operators));
    for (int i = 0; i < config.operators; ++i) {
        auto seat = std::make_unique<FollowingSeat>();
        seat->name = operatorName(i);
        FollowingSeat *told = seat.get();
        // The seat's own login only places the feed at the history's newest
        // change; the feed reads on a login of its own on its own thread.
        const services::Account account(dbkit::DbLogin::open(seatUrl(config, i)));
        seat->following = services::ChangeFeed::follow(
            account, [told](const services::ChangeFeed::Changes &changes) {
                const long long now = QDateTime::currentMSecsSinceEpoch();
                for (const services::HistoryEntry &change : changes) {
                    told->told.push_back({change.id, now});
                    told->toldIds.insert(change.id);
                }
            });
        seat->from = seat->following->position();
        m_seats.push_back(std::move(seat));
    }
}

Followers::~Followers() = default;

void Followers::askAll()
{
    for (const auto &seat : m_seats)
        seat->following->askNow();
}

bool handleEventsUntil(const std::function<bool()> &done, int limitMs)
{
    const QDeadlineTimer limit = limitMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever)
                                             : QDeadlineTimer(limitMs);
    QEventLoop loop;
    QTimer look;
    look.callOnTimeout([&] {
        if (done() || limit.hasExpired())
            loop.quit();
    });
    look.start(50);
    if (!done())
        loop.exec();
    return done();
}

} // namespace load
