#include "NodeRightsLoader.h"

#include <QMetaObject>
#include <QObject>
#include <memory>
#include <utility>

NodeRightsLoader::NodeRightsLoader(const services::Account &account, QObject &receiver,
                                   Delivery delivered)
    : m_rights(account), m_receiver(receiver), m_delivered(std::move(delivered))
{
}

NodeRightsLoader::~NodeRightsLoader()
{
    cancel();
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    // A statement already sent runs to its end (at most its time limit).
    if (m_worker.joinable())
        m_worker.join();
}

unsigned long long NodeRightsLoader::load(services::NodeKind kind, const QString &code)
{
    const unsigned long long number = ++m_latest;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_request = Request{number, kind, code};
        if (!m_worker.joinable())
            m_worker = std::thread([this] { run(); });
    }
    m_wake.notify_all();
    return number;
}

void NodeRightsLoader::cancel()
{
    ++m_latest;
}

void NodeRightsLoader::run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || m_request; });
        if (m_stopping)
            break;
        const Request request = *std::exchange(m_request, std::nullopt);
        lock.unlock();
        if (std::optional<Result> result = read(request)) {
            auto shared = std::make_shared<const Result>(std::move(*result));
            QMetaObject::invokeMethod(
                &m_receiver, [delivered = m_delivered, shared] { delivered(*shared); },
                Qt::QueuedConnection);
        }
        lock.lock();
    }
    lock.unlock();
    // The worker's login closes on the thread that opened it.
    m_rights.close();
}

std::optional<NodeRightsLoader::Result> NodeRightsLoader::read(const Request &request)
{
    if (!wanted(request.load))
        return std::nullopt;
    Result result;
    result.load = request.load;
    services::guarded(
        [&] {
            result.rights = m_rights.rightsOfNode(request.kind, request.code,
                                                  [&] { return wanted(request.load); });
        },
        [&](const services::DatabaseFailure &failure) { result.failure = failure; });
    if (!wanted(request.load))
        return std::nullopt;
    return result;
}
