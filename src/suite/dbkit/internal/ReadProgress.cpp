#include "ReadProgress.h"

#include <utility>

namespace dbkit {

namespace {

thread_local ReadProgress *progressOfThread = nullptr;

} // namespace

ReadProgress *ReadProgress::ofThisThread()
{
    return progressOfThread;
}

ReadProgress::OnThisThread::OnThisThread(ReadProgress &progress)
{
    progressOfThread = &progress;
}

ReadProgress::OnThisThread::~OnThisThread()
{
    progressOfThread = nullptr;
}

void ReadProgress::cancel()
{
    m_cancelled.store(true);
    const std::lock_guard lock(m_mutex);
    if (m_interrupt)
        m_interrupt();
}

void ReadProgress::setInterrupt(std::function<void()> interrupt)
{
    const std::lock_guard lock(m_mutex);
    m_interrupt = std::move(interrupt);
    // A cancel that came before the statement began stops it at once.
    if (m_interrupt && m_cancelled.load())
        m_interrupt();
}

QSqlError ReadProgress::cancelledError()
{
    return QSqlError(QStringLiteral("cancelled"), QStringLiteral("the read was cancelled"),
                     QSqlError::StatementError, QStringLiteral("cancelled"));
}

} // namespace dbkit
