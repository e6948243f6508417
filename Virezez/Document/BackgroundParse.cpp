#include "BackgroundParse.h"

#include <QMetaObject>
#include <QThreadPool>
#include <atomic>
#include <mutex>
#include <optional>

namespace {

// Workers running or about to run, over all views.
std::atomic<int> activeWorkers{0};

} // namespace

struct BackgroundParse::State {
    struct Request {
        quint64 generation = 0;
        QString markup;
        std::shared_ptr<const MarkupParser> parser;
        std::shared_ptr<Retired> retired;
    };

    std::mutex mutex;
    QObject *receiver = nullptr;     // guarded by mutex; null once the view is gone
    std::optional<Request> waiting;  // guarded by mutex
    bool running = false;            // guarded by mutex
    // The generation of a result posted to the receiver and not yet handed over; a parse counts
    // as pending until then, or the view would say it is idle while its document is in the queue.
    std::atomic<quint64> posted{0};
    std::atomic<quint64> generation{0}; // written on the receiver's thread only
    Deliver deliver;                 // used on the receiver's thread only
};

BackgroundParse::BackgroundParse(QObject *receiver, Deliver deliver)
    : m_state(std::make_shared<State>())
{
    m_state->receiver = receiver;
    m_state->deliver = std::move(deliver);
}

BackgroundParse::~BackgroundParse()
{
    // Once the receiver is cleared under the lock no worker can post to it any more; anything
    // posted before is discarded with the receiver's other pending events.
    const std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->receiver = nullptr;
    m_state->waiting.reset();
    m_state->deliver = nullptr;
}

void BackgroundParse::request(QString markup, std::shared_ptr<const MarkupParser> parser, Retired retired)
{
    const quint64 generation = ++m_state->generation;
    auto garbage = std::make_shared<Retired>(std::move(retired));
    const std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->waiting = State::Request{generation, std::move(markup), std::move(parser), std::move(garbage)};
    if (m_state->running)
        return;
    m_state->running = true;
    ++activeWorkers;
    QThreadPool::globalInstance()->start([state = m_state] { run(state); });
}

void BackgroundParse::cancel()
{
    ++m_state->generation;
    const std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->waiting.reset();
}

bool BackgroundParse::isPending() const
{
    const std::lock_guard<std::mutex> lock(m_state->mutex);
    if (m_state->running || m_state->waiting.has_value())
        return true;
    const quint64 posted = m_state->posted.load();
    return posted != 0 && posted == m_state->generation.load();
}

void BackgroundParse::retire(Retired retired)
{
    QThreadPool::globalInstance()->start([garbage = std::make_shared<Retired>(std::move(retired))]() mutable {
        garbage.reset();
    });
}

bool BackgroundParse::busy()
{
    return activeWorkers.load() > 0;
}

void BackgroundParse::run(const std::shared_ptr<State> &state)
{
    for (;;) {
        std::optional<State::Request> request;
        {
            const std::lock_guard<std::mutex> lock(state->mutex);
            request.swap(state->waiting);
            if (!request) {
                state->running = false;
                --activeWorkers;
                return;
            }
        }
        request->retired.reset();
        if (request->generation != state->generation.load())
            continue;
        auto result = std::make_shared<std::pair<AttributedString, BlockTree>>();
        try {
            result->first = request->parser->attributedString(request->markup);
        } catch (...) {
            // Shown empty, like on the GUI thread; nothing may escape a pool thread.
            result->first = AttributedString();
        }
        result->second = BlockTree(result->first);
        const quint64 generation = request->generation;
        request.reset(); // the text and the parser reference are released here, not later

        const std::lock_guard<std::mutex> lock(state->mutex);
        if (!state->receiver || generation != state->generation.load())
            continue; // a stale document is freed here, off the GUI thread
        state->posted = generation;
        QMetaObject::invokeMethod(
            state->receiver,
            [state, generation, result] {
                // Cleared before delivering, so the view is idle when it shows the document.
                quint64 expected = generation;
                state->posted.compare_exchange_strong(expected, 0);
                // The text may have changed again while the result waited in the queue.
                if (generation == state->generation.load() && state->deliver)
                    state->deliver(std::move(result->first), std::move(result->second));
            },
            Qt::QueuedConnection);
    }
}
