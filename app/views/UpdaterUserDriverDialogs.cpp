#include "UpdaterUserDriverDialogs.h"

#include "Workspace.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <coroutine>

namespace {

const char *const updaterDialogProperty = "brivetUpdaterDialog";

// Awaits the end of a dialog: its result code, or Rejected when the dialog is
// destroyed unanswered (its window closed with it). Either way the waiting
// coroutine resumes, so a check can never hang on a vanished dialog.
class DialogResult {
public:
    explicit DialogResult(QDialog *dialog) : m_dialog(dialog) {}

    bool await_ready() const noexcept { return m_dialog.isNull(); }

    void await_suspend(std::coroutine_handle<> waiting)
    {
        m_waiting = waiting;
        m_finished = QObject::connect(m_dialog, &QDialog::finished, [this](int result) { end(result); });
        m_destroyed = QObject::connect(m_dialog, &QObject::destroyed, [this] { end(QDialog::Rejected); });
    }

    int await_resume() const noexcept { return m_result; }

private:
    void end(int result)
    {
        QObject::disconnect(m_finished);
        QObject::disconnect(m_destroyed);
        m_result = result;
        // Resumed from the event loop, once the dialog's own code has returned.
        QTimer::singleShot(0, [waiting = m_waiting] { waiting.resume(); });
    }

    QPointer<QDialog> m_dialog;
    std::coroutine_handle<> m_waiting;
    QMetaObject::Connection m_finished, m_destroyed;
    int m_result = QDialog::Rejected;
};

// The window a dialog belongs to: the active one, else the first one shown.
// Never a dialog of the updater's own: the one just answered is on its way
// out and would take its successor with it.
QWidget *dialogParent()
{
    QWidget *active = QApplication::activeWindow();
    while (active && (!active->isVisible() || active->property(updaterDialogProperty).toBool()))
        active = active->parentWidget() ? active->parentWidget()->window() : nullptr;
    if (active)
        return active;
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window->isVisible() && !window->parentWidget())
            return window;
    }
    return nullptr;
}

enum Result { later = QDialog::Rejected, download = QDialog::Accepted, skip = 2 };

QIcon standardIcon(QStyle::StandardPixmap icon)
{
    return QApplication::style()->standardIcon(icon);
}

QPushButton *addButton(QDialogButtonBox *buttons, const QString &text, QDialogButtonBox::ButtonRole role)
{
    QPushButton *button = buttons->addButton(text, role);
    button->setAccessibleName(text);
    return button;
}

} // namespace

UpdaterUserDriverDialogs::UpdaterUserDriverDialogs(Workspace &workspace, QObject *parent)
    : QObject(parent), m_workspace(workspace)
{
}

UpdaterUserDriverDialogs::Dialog UpdaterUserDriverDialogs::makeDialog(const QString &objectName, const QIcon &icon,
                                                                      const QString &headline, const QString &body,
                                                                      const QUrl &notesURL)
{
    auto *dialog = new QDialog(dialogParent());
    dialog->setObjectName(objectName);
    dialog->setProperty(updaterDialogProperty, true);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(tr("Software Update"));
    dialog->setAccessibleName(headline);

    auto *iconLabel = new QLabel(dialog);
    const int iconSize = dialog->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, dialog);
    iconLabel->setPixmap(icon.pixmap(iconSize));
    iconLabel->setAlignment(Qt::AlignTop);

    auto *title = new QLabel(headline, dialog);
    title->setObjectName(QStringLiteral("headline"));
    title->setTextFormat(Qt::PlainText);
    title->setWordWrap(true);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);

    // Plain text: descriptions can carry what a server sent.
    auto *text = new QLabel(body, dialog);
    text->setObjectName(QStringLiteral("body"));
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *column = new QVBoxLayout;
    column->addWidget(title);
    column->addWidget(text);
    if (!notesURL.isEmpty()) {
        auto *link = new QLabel(dialog);
        link->setObjectName(QStringLiteral("releaseNotesLink"));
        link->setTextFormat(Qt::RichText);
        link->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                          .arg(QString::fromUtf8(notesURL.toEncoded()).toHtmlEscaped(), tr("Release Notes").toHtmlEscaped()));
        link->setAccessibleName(tr("Release Notes"));
        link->setToolTip(notesURL.toDisplayString());
        link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        Workspace &workspace = m_workspace;
        connect(link, &QLabel::linkActivated, dialog, [&workspace, notesURL] { workspace.open(notesURL); });
        column->addWidget(link);
    }
    column->addStretch();

    auto *row = new QHBoxLayout;
    row->addWidget(iconLabel);
    row->addLayout(column, 1);
    row->setSpacing(dialog->style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing) * 2);

    auto *buttons = new QDialogButtonBox(dialog);
    connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);

    auto *layout = new QVBoxLayout(dialog);
    layout->addLayout(row);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    text->setMinimumWidth(text->fontMetrics().averageCharWidth() * 48);
    return {dialog, buttons};
}

QCoro::Task<bool> UpdaterUserDriverDialogs::askToCheckAutomatically()
{
    const Dialog d = makeDialog(QStringLiteral("updateQuestionDialog"), standardIcon(QStyle::SP_MessageBoxQuestion),
                                tr("Check for updates automatically?"),
                                tr("Brivet can look for a newer version once a day and tell you when one is available."));
    addButton(d.buttons, tr("Check Automatically"), QDialogButtonBox::AcceptRole)->setDefault(true);
    addButton(d.buttons, tr("Don\u2019t Check"), QDialogButtonBox::RejectRole);
    d.dialog->open();
    const int result = co_await DialogResult(d.dialog);
    co_return result == QDialog::Accepted;
}

QCoro::Task<void> UpdaterUserDriverDialogs::showUpToDate(QString runningVersion)
{
    const Dialog d = makeDialog(QStringLiteral("upToDateDialog"), standardIcon(QStyle::SP_MessageBoxInformation),
                                tr("You\u2019re up to date!"),
                                tr("Brivet %1 is the newest version available.").arg(runningVersion));
    d.buttons->setStandardButtons(QDialogButtonBox::Ok);
    d.dialog->open();
    co_await DialogResult(d.dialog);
}

QCoro::Task<UpdaterUserDriver::UpdateChoice> UpdaterUserDriverDialogs::showUpdateFound(UpdateFeedItem update,
                                                                                      QString runningVersion)
{
    // The application's own icon where it has one: the news is about Brivet.
    const QIcon appIcon = QApplication::windowIcon();
    const Dialog d = makeDialog(QStringLiteral("updateFoundDialog"),
                                appIcon.isNull() ? standardIcon(QStyle::SP_MessageBoxInformation) : appIcon,
                                tr("A new version of Brivet is available!"),
                                tr("Brivet %1 is now available; you have %2.").arg(update.version.text(), runningVersion),
                                update.releaseNotesURL);
    QPushButton *downloadButton = addButton(d.buttons, tr("Open Download Page"), QDialogButtonBox::AcceptRole);
    downloadButton->setDefault(true);
    QPushButton *skipButton = addButton(d.buttons, tr("Skip This Version"), QDialogButtonBox::ActionRole);
    addButton(d.buttons, tr("Remind Me Later"), QDialogButtonBox::RejectRole);
    QDialog *dialog = d.dialog;
    Workspace &workspace = m_workspace;
    connect(downloadButton, &QPushButton::clicked, dialog,
            [&workspace, url = update.downloadURL] { workspace.open(url); });
    connect(skipButton, &QPushButton::clicked, dialog, [dialog] { dialog->done(skip); });
    dialog->open();
    switch (co_await DialogResult(dialog)) {
    case download:
        co_return UpdateChoice::download;
    case skip:
        co_return UpdateChoice::skip;
    default:
        co_return UpdateChoice::later;
    }
}

QCoro::Task<void> UpdaterUserDriverDialogs::showCheckFailed(QString description)
{
    const Dialog d = makeDialog(QStringLiteral("updateFailedDialog"), standardIcon(QStyle::SP_MessageBoxWarning),
                                tr("Brivet could not check for updates."), description);
    d.buttons->setStandardButtons(QDialogButtonBox::Ok);
    d.dialog->open();
    co_await DialogResult(d.dialog);
}
