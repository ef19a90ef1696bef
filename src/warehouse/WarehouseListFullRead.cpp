#include "WarehouseListFullRead.h"

#include "services/WarehouseListRead.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QThread>
#include <QWidget>

namespace {

constexpr int LookEveryMs = 100;
constexpr int ShowBoxAfterMs = 300;

QString readingText(long long rows)
{
    return QStringLiteral("正在读取… %1").arg(rows);
}

} // namespace

WarehouseListFullRead::WarehouseListFullRead(QWidget *window,
                                             std::shared_ptr<dbkit::DbDataSet> &list, Calls calls)
    : m_window(window), m_list(list), m_calls(std::move(calls))
{
    m_timer.setInterval(LookEveryMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { look(); });
}

WarehouseListFullRead::~WarehouseListFullRead() = default;

void WarehouseListFullRead::hold(std::unique_ptr<services::warehouse_list::FullRead> read)
{
    stop();
    m_read = std::move(read);
    m_stopped = false;
}

void WarehouseListFullRead::follow()
{
    if (m_read) {
        m_calls.progressed(m_read->rowsRead());
        m_timer.start();
        // The end is taken at once, not at the next look; the read ends
        // before this object goes (stop() waits for it).
        m_read->whenFinished(
            [this] { QMetaObject::invokeMethod(this, [this] { look(); }, Qt::QueuedConnection); });
    }
}

void WarehouseListFullRead::look()
{
    if (!m_read)
        return;
    if (m_read->finished())
        take();
    else
        m_calls.progressed(m_read->rowsRead());
}

bool WarehouseListFullRead::waitForEnd()
{
    if (!m_read)
        return true;
    if (!m_read->finished()) {
        QProgressDialog progress(readingText(m_read->rowsRead()), QStringLiteral("取消"), 0, 0,
                                 m_window);
        progress.setWindowTitle(QStringLiteral("仓库档案"));
        progress.setWindowModality(Qt::WindowModal);
        // A short wait shows no box at all; a longer one shows it.
        QElapsedTimer waited;
        waited.start();
        // The events handled while waiting may take the read's end (its
        // queued look) or stop it (the window closing): the loop sees both.
        while (m_read && !m_read->finished()) {
            if (!progress.isVisible() && waited.elapsed() >= ShowBoxAfterMs)
                progress.show();
            progress.setLabelText(readingText(m_read->rowsRead()));
            QCoreApplication::processEvents(QEventLoop::AllEvents, 30);
            if (progress.wasCanceled())
                return false;
            QThread::msleep(20);
        }
        if (!m_read)
            return !m_stopped;
    }
    take();
    return true;
}

void WarehouseListFullRead::take()
{
    m_timer.stop();
    const std::unique_ptr<services::warehouse_list::FullRead> read = std::move(m_read);
    // The reason stays empty when the rows went in.
    QString failure;
    if (m_list)
        read->moveInto(*m_list, failure);
    m_calls.ended(failure);
}

void WarehouseListFullRead::stop()
{
    m_stopped = true;
    m_timer.stop();
    if (m_read) {
        m_read->cancel();
        m_read.reset();
    }
}
