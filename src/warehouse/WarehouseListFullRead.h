#pragma once

// The rest of the warehouse list, read while the window already shows its
// first screen (see services/WarehouseListRead.h for the threads): the
// window's thread looks at the read every tenth of a second and shows how far
// it got, and takes its rows as soon as the read tells it has ended. Commands that need every row
// wait for it first, with a progress box that can be cancelled.

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class QWidget;
namespace dbkit {
class DbDataSet;
}
namespace services::warehouse_list {
class FullRead;
}

class WarehouseListFullRead : public QObject {
    Q_OBJECT
public:
    // `progressed` runs with the rows read so far; `ended` once the rows are
    // in the list's data set, or with the reason the read failed.
    struct Calls {
        std::function<void(long long rows)> progressed;
        std::function<void(const QString &failure)> ended;
    };
    WarehouseListFullRead(QWidget *window, std::shared_ptr<dbkit::DbDataSet> &list, Calls calls);
    ~WarehouseListFullRead() override;

    // Takes over `read` (null: nothing to follow); follow() starts looking.
    void hold(std::unique_ptr<services::warehouse_list::FullRead> read);
    void follow();
    bool running() const { return m_read != nullptr; }
    // Waits for the end with a progress box; false when the user cancelled
    // the wait (the read goes on). True at once when nothing is read.
    bool waitForEnd();
    // Cancels the read and forgets it (the window closes).
    void stop();

private:
    void look();
    void take();

    QWidget *m_window;
    std::shared_ptr<dbkit::DbDataSet> &m_list;
    Calls m_calls;
    std::unique_ptr<services::warehouse_list::FullRead> m_read;
    bool m_stopped = false;  // the read was cancelled, not taken
    QTimer m_timer;
};
