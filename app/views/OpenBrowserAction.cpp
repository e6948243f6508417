#include "OpenBrowserAction.h"

#include "Localized.h"

OpenBrowserAction::OpenBrowserAction(ViewEnvironment &environment, PaperPtr paper, QObject *parent)
    : PaperAction(environment, localized("Open in Browser"), QStringLiteral("safari"),
                  localized("Open this paper in your web browser"), parent),
      m_paper(std::move(paper))
{
    connect(this, &QAction::triggered, this, [this] {
        // Reports nothing; the task holds the paper should the action go first.
        [](PaperPtr paper) -> QCoro::Task<void> { co_await paper->openInBrowser(); }(m_paper);
    });
}
