#pragma once
// Parses a view's large notes on a worker thread and hands the result back on the view's own
// thread. One parse per view runs at a time; a request made while one runs replaces any request
// still waiting, so a burst of edits costs at most one parse that nobody will see. A result is
// delivered only while it is the latest request, and never once the view is gone: the worker
// shares only the state below with the view, never the view itself.
#include "AttributedString.h"
#include "BlockTree.h"
#include "MarkupParser.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class BackgroundParse {
public:
    // Called on the receiver's thread with the parsed document (empty when the parser threw).
    using Deliver = std::function<void(AttributedString &&document, BlockTree &&blocks)>;

    BackgroundParse(QObject *receiver, Deliver deliver);
    // Detaches from the worker: a parse still running finishes on its own and is thrown away.
    ~BackgroundParse();
    BackgroundParse(const BackgroundParse &) = delete;
    BackgroundParse &operator=(const BackgroundParse &) = delete;

    // A document the view no longer shows, handed over to be freed on the worker: a large
    // one takes longer to free than a frame lasts.
    struct Retired {
        AttributedString document;
        BlockTree blocks;
    };

    // Queues a parse of `markup`; the parser is kept alive by the request until it is done.
    void request(QString markup, std::shared_ptr<const MarkupParser> parser, Retired retired = {});
    // Drops the request waiting or running, e.g. because the text was parsed another way.
    void cancel();
    // True from a request until its document is delivered or the request is dropped.
    bool isPending() const;

    // Frees a document on a pool thread.
    static void retire(Retired retired);
    // Whether a parse is running or waiting anywhere in the process.
    static bool busy();

private:
    struct State;
    static void run(const std::shared_ptr<State> &state);

    std::shared_ptr<State> m_state;
};
