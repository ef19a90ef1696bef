#pragma once

#include "DbDataSet.h"
#include "DbError.h"
#include "export/DepotbaseExport.h"

#include <QString>

#include <functional>
#include <memory>

namespace dbkit {

class DbDataSet;

// Reads a statement's rows on a thread of its own, on a login of its own to
// the same database, while the caller's thread goes on (a window stays
// responsive). The caller follows the count of rows read, may cancel, and
// once the read has ended takes its rows into a data set of its own login.
//
// Threads: the read's thread opens, uses and closes its login and fills a
// store nobody else sees while it runs. The caller's thread only reads the
// count, cancels, and after finished() (or wait()) takes the rows; the end of
// the read publishes the store to it. A read is destroyed on the caller's
// thread; destroying a running read cancels it and waits for its end.
class DEPOTBASE_EXPORT BackgroundRead {
public:
    // Starts reading `sql` from the database `url` names, opened in `mode`
    // (a data set that writes also learns the tables its columns come from).
    BackgroundRead(const QString &url, const QString &sql, int mode = OpenMode::ReadOnly);
    ~BackgroundRead();
    BackgroundRead(const BackgroundRead &) = delete;
    BackgroundRead &operator=(const BackgroundRead &) = delete;

    // Rows read so far (SQLite counts as it goes; a server's read tells its
    // count when the server has answered).
    long long rowsRead() const;
    bool finished() const;
    // `call` runs once the read has ended: on the read's thread as it ends,
    // or at once on the caller's when it already has. It must only hand the
    // news to the caller's thread (a queued call), and runs before the read
    // is destroyed.
    void whenFinished(std::function<void()> call);
    // From the caller's thread: the read stops as soon as its engine lets it.
    void cancel();
    void wait();

    // Once finished, on the caller's thread: the rows become `target`'s, as
    // if it had been opened with this read's statement on its own login,
    // on its first record. Throws the read's failure, or a DbError numbered
    // ErrorNumber::Cancelled when the read was cancelled; `target` then keeps
    // its rows. Either way its statement becomes this read's, so reading it
    // again reads every row. The rows are handed over once.
    void moveRowsInto(DbDataSet &target);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace dbkit
