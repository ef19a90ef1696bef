#include "BackgroundRead.h"

#include "DbDataSet.h"
#include "DbLogin.h"
#include "SqlDialect.h"
#include "internal/DbDataSetImpl.h"
#include "internal/LoginAccess.h"
#include "internal/ReadProgress.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <thread>

namespace dbkit {

struct BackgroundRead::Impl {
    QString url;
    QString sql;
    int mode = OpenMode::ReadOnly;
    ReadProgress progress;
    std::atomic<bool> done{false};
    std::mutex ending;  // between the end of the read and whenFinished
    std::function<void()> whenDone;
    std::thread thread;

    // Written by the read's thread before `done`, read by the caller after.
    std::shared_ptr<ColumnStore> rows;
    LoadedShape shape;
    std::optional<DbError> failure;
    bool handedOver = false;

    void read();
};

void BackgroundRead::Impl::read()
{
    const ReadProgress::OnThisThread installed(progress);
    try {
        // The login lives and dies on this thread, as Qt's connections must.
        const DbLoginPtr login = DbLogin::open(url);
        const DbDataSetPtr data = login->OpenDataSet(sql, mode);
        progress.setRows(data->RecordCount());
        rows = data->d->rows;
        shape.names = data->d->names;
        shape.tables = data->d->tables;
        shape.types = data->d->types;
    } catch (const DbError &error) {
        failure = error;
    }
    std::function<void()> call;
    {
        const std::lock_guard lock(ending);
        done.store(true, std::memory_order_release);
        call = std::move(whenDone);
    }
    if (call)
        call();
}

BackgroundRead::BackgroundRead(const QString &url, const QString &sql, int mode)
    : d(std::make_unique<Impl>())
{
    d->url = url;
    d->sql = sql;
    d->mode = mode;
    d->thread = std::thread([impl = d.get()] { impl->read(); });
}

BackgroundRead::~BackgroundRead()
{
    if (d->thread.joinable()) {
        d->progress.cancel();
        d->thread.join();
    }
}

long long BackgroundRead::rowsRead() const
{
    return d->progress.rows();
}

bool BackgroundRead::finished() const
{
    return d->done.load(std::memory_order_acquire);
}

void BackgroundRead::whenFinished(std::function<void()> call)
{
    {
        const std::lock_guard lock(d->ending);
        if (!d->done.load(std::memory_order_acquire)) {
            d->whenDone = std::move(call);
            return;
        }
    }
    call();
}

void BackgroundRead::cancel()
{
    d->progress.cancel();
}

void BackgroundRead::wait()
{
    if (d->thread.joinable())
        d->thread.join();
}

void BackgroundRead::moveRowsInto(DbDataSet &target)
{
    wait();
    DbDataSet::Impl &into = *target.d;
    into.sql = d->sql;
    into.statement = LoginAccess::dialect(into.login).rewrite(d->sql);
    into.values.clear();
    if (d->progress.cancelled())
        throw DbError(ErrorNumber::Cancelled, QStringLiteral("the read was cancelled"), QString(),
                      d->sql);
    if (d->failure)
        throw *d->failure;
    if (d->handedOver || !d->rows)
        throw DbError(ErrorNumber::General, QStringLiteral("the read's rows were handed over"),
                      QString(), d->sql);
    into.rows = std::move(d->rows);
    into.setShape(d->shape);
    into.pos = 0;
    into.noMatch = false;
    into.editing = DbDataSet::Impl::Editing::None;
    into.pending.clear();
    d->handedOver = true;
}

} // namespace dbkit
