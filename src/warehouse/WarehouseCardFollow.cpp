// The warehouse card follows the changes other seats make while it shows a
// stored warehouse: a change or a delete of that warehouse is told in the
// bar above the boxes as soon as it is stored, and 重新读取 reads the
// warehouse again. The boxes change only on that click, so nothing typed is
// lost; the save still checks the row as read, as before.
//
// Whose change it was is not asked: the card reads the warehouse as it is
// stored now and compares it with the one it shows. A change the card holds
// already (its own save, a change that came again, a change undone) tells
// nothing; any other is news, whichever seat or window made it.
#include "WarehouseCard.h"

#include "WarehouseCardBar.h"
#include "WarehouseCardHost.h"
#include "WarehouseCardNews.h"
#include "WarehouseMessages.h"

#include <utility>

namespace {

void ignoreFailure(const services::DatabaseFailure &)
{
}

}  // namespace

void frmWHCard::followChanges()
{
    m_following.reset();
    m_news.reset();
    if (mblnAddMark)
        return;
    // A card that cannot follow still works: its save meets a change made
    // meanwhile, as it always has.
    services::guarded(
        [this] {
            m_following = services::ChangeFeed::follow(
                m_host->account(),
                [this](const services::ChangeFeed::Changes &changes) { takeChanges(changes); });
        },
        ignoreFailure);
}

void frmWHCard::takeChanges(const services::ChangeFeed::Changes &changes)
{
    if (mblnAddMark)
        return;
    if (std::optional<services::HistoryEntry> news =
            cardnews::newestOf(changes, mRecwarehouse.code)) {
        m_news = std::move(news);
        showNews();
    }
}

// Tells the change kept, unless a save is running: the save's questions and
// outcome come first, and what it leaves decides what the change means.
void frmWHCard::showNews()
{
    if (m_saving || !m_news)
        return;
    const services::HistoryEntry news = *std::exchange(m_news, std::nullopt);
    if (mblnAddMark)
        return;
    std::optional<services::WarehouseRecord> stored;
    // A read that fails tells nothing; the next change or the save will.
    if (!services::guarded([&] { stored = m_host->warehouses().read(news.key); }, ignoreFailure))
        return;
    if (!stored) {
        ChangedBar->tell(cardnews::deletedText(news), false);
    } else if (*stored != mRecwarehouse) {
        m_reloadCode = news.key;
        ChangedBar->tell(cardnews::changedText(news), true);
    } else {
        ChangedBar->dismiss();
    }
}

// 重新读取: the warehouse as stored now replaces what the card shows, typed
// changes included, as if the card had just been opened on it.
void frmWHCard::reloadRecord()
{
    std::optional<services::WarehouseRecord> stored;
    if (!whmessages::guarded(this, [&] { stored = m_host->warehouses().read(m_reloadCode); }))
        return;
    if (!stored) {
        // Deleted since the bar appeared: the feed tells it at once.
        if (m_following)
            m_following->askNow();
        return;
    }
    mRecwarehouse = *stored;
    LoadRecord();
    mstrOldCode = mRecwarehouse.code;
    mblnChanged = false;
    ShowSaveState();
    ChangedBar->dismiss();
}
