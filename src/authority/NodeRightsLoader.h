#pragma once

// Reads the rights of the node the authority editor shows on a thread of
// its own, so a node with tens of thousands of rights does not stop the
// window from painting and taking keys while they are read.
//
// Who owns what:
// - The window's thread makes the loader, calls load() and cancel(), and
//   destroys it. The results come back to that thread only: each is posted
//   as a queued call on `receiver` (a QObject living there), and `delivered`
//   runs inside that call. A receiver destroyed first drops the call.
// - The worker thread is started by the first load and ends in the
//   destructor, which waits for it. It opens a login of its own from the
//   account's URL on its first load, keeps it for the loads that follow and
//   closes it before it ends: that login is used on the worker alone, and
//   the window's login is never touched there.
// - Only a request (under the mutex) and the number of the latest load (an
//   atomic) pass between the two threads; the rows read go over inside the
//   queued call.
//
// A load asked for while another runs supersedes it: the worker stops taking
// the older rights at the next one, sends nothing for it, and a request it
// has not begun is never read. The window still compares the number of a
// result with the load it waits for, since a result may already be on its
// way when the next load is asked for.

#include "services/DatabaseFailure.h"
#include "services/NodeKind.h"
#include "services/OwnLoginRights.h"

#include <QString>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class QObject;

class NodeRightsLoader {
public:
    // The rights of one load, or why it failed.
    struct Result {
        unsigned long long load = 0;  // the number load() gave it
        std::vector<services::JoinedRight> rights;
        std::optional<services::DatabaseFailure> failure;
    };
    using Delivery = std::function<void(const Result &)>;

    // The worker's login goes to the database of `account`, as its URL names it.
    NodeRightsLoader(const services::Account &account, QObject &receiver, Delivery delivered);
    ~NodeRightsLoader();
    NodeRightsLoader(const NodeRightsLoader &) = delete;
    NodeRightsLoader &operator=(const NodeRightsLoader &) = delete;

    // Asks for the rights of this operator or warehouse; returns the load's
    // number, which its result carries. Any earlier load is superseded.
    unsigned long long load(services::NodeKind kind, const QString &code);
    // The load going on, if any, is no longer wanted.
    void cancel();

private:
    struct Request {
        unsigned long long load = 0;
        services::NodeKind kind = services::NodeKind::Operator;
        QString code;
    };

    void run();
    // Reads one request on the worker's login; nothing when the load was
    // superseded meanwhile.
    std::optional<Result> read(const Request &request);
    bool wanted(unsigned long long load) const { return m_latest.load() == load; }

    services::OwnLoginRights m_rights;  // read and closed on the worker only
    QObject &m_receiver;
    const Delivery m_delivered;

    std::atomic<unsigned long long> m_latest{0};
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<Request> m_request;  // under m_mutex
    bool m_stopping = false;           // under m_mutex
    std::thread m_worker;
};
