#pragma once

// The warehouse list read in two steps, so that its window appears at once
// and stays responsive while a long list loads: the first screen on the
// window's login, then every row on a thread of its own, with a login of its
// own, which the window takes when the read has ended.
//
// Threads: the read's thread owns its login and the rows it reads until it
// ends. The window's thread owns the list's data set and its grid; it asks
// for the count read so far, may cancel, and once the read has ended moves
// the rows into the list's data set in one step. Nothing else crosses.

#include <QString>

#include <functional>
#include <memory>

namespace dbkit {
class BackgroundRead;
class DbDataSet;
class DbLogin;
}

namespace services::warehouse_list {

// Rows the list reads before its window appears: more than a screen shows.
constexpr int firstScreenRows = 200;

// `statement` limited to its first screen, on the login's engine.
QString firstScreenStatement(dbkit::DbLogin &login, const QString &statement);

class FullRead {
public:
    explicit FullRead(std::unique_ptr<dbkit::BackgroundRead> read);
    ~FullRead();
    long long rowsRead() const;
    bool finished() const;
    // `call` runs once the read has ended (see dbkit::BackgroundRead).
    void whenFinished(std::function<void()> call);
    void cancel();
    // Once finished: the list's data set holds every row, on its first one.
    // False, with the reason in `failure`, when the read failed or was
    // cancelled; the data set then keeps what it held.
    bool moveInto(dbkit::DbDataSet &list, QString &failure);

private:
    std::unique_ptr<dbkit::BackgroundRead> m_read;
};

// Every row of `statement` read in the background when the first screen
// `first` is full; null when `first` already holds the whole list.
std::unique_ptr<FullRead> readRest(dbkit::DbLogin &login, const dbkit::DbDataSet &first,
                                   const QString &statement);
// The list read again in the background, its rows shown meanwhile, when it
// holds more than a first screen; null when reading it at once is as quick.
std::unique_ptr<FullRead> readAgain(dbkit::DbLogin &login, const dbkit::DbDataSet &list);

} // namespace services::warehouse_list
