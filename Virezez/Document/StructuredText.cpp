#include "StructuredText.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace {

// Slice of layout work done per turn of the event loop for notes too large to lay out at once.
constexpr int kLayoutSliceMs = 12;

std::shared_ptr<const MarkupParser> defaultParser(const QUrl &baseURL, std::vector<SyntaxExtension> extensions)
{
    AttributedStringMarkdownParser::Options options;
    options.syntax = AttributedStringMarkdownParser::Options::Syntax::full;
    options.failurePolicy = AttributedStringMarkdownParser::Options::FailurePolicy::throwError;
    options.allowsExtendedAttributes = false;
    return std::make_shared<AttributedStringMarkdownParser>(baseURL, options, PatternProcessor(std::move(extensions)));
}

// Whether the text is longer than `limit` bytes in UTF-8, without converting it.
bool utf8Exceeds(QStringView text, qsizetype limit)
{
    if (text.size() > limit)
        return true;
    if (text.size() * 3 <= limit)
        return false;
    qsizetype bytes = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        // A surrogate pair is four bytes, two for each half.
        bytes += u < 0x80 ? 1 : u < 0x800 || c.isSurrogate() ? 2 : 3;
        if (bytes > limit)
            return true;
    }
    return false;
}

} // namespace

StructuredText::StructuredText(const QString &markdown, const QUrl &baseURL,
                               std::vector<SyntaxExtension> syntaxExtensions, QWidget *parent)
    : QWidget(parent)
    , m_markup(markdown)
    , m_parser(defaultParser(baseURL, std::move(syntaxExtensions)))
    , m_style(font(), palette())
    , m_background(this, [this](AttributedString &&document, BlockTree &&blocks) {
        install(std::move(document), std::move(blocks));
    })
    , m_linkHandler([](const QUrl &url) { QDesktopServices::openUrl(url); })
{
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    m_layoutTimer.setSingleShot(true);
    m_layoutTimer.setInterval(0);
    connect(&m_layoutTimer, &QTimer::timeout, this, &StructuredText::continueLayout);
}

StructuredText::~StructuredText() = default;

void StructuredText::setMarkup(const QString &markup)
{
    if (markup == m_markup)
        return;
    m_markup = markup;
    if (m_shown)
        parse();
}

void StructuredText::setParser(std::shared_ptr<const MarkupParser> parser)
{
    if (!parser)
        return;
    m_parser = std::move(parser);
    if (m_shown)
        parse();
}

void StructuredText::parse()
{
    // The Markdown engine parses one text at a time; while a background parse holds it, even a
    // small note goes to the background rather than have the GUI thread wait its turn.
    if (utf8Exceeds(m_markup, kBackgroundParseBytes) || BackgroundParse::busy()) {
        m_layout.reset(); // laid out over the document handed away below
        m_previousLayout.reset();
        m_background.request(m_markup, m_parser, {std::move(m_document), std::move(m_blocks)});
        install(AttributedString(), BlockTree());
        return;
    }
    m_background.cancel();
    AttributedString document;
    try {
        document = m_parser->attributedString(m_markup);
    } catch (const std::exception &) {
        // A note that cannot be parsed is shown empty; the failure is not the reader's concern.
        document = AttributedString();
    }
    BlockTree blocks(document);
    if (m_document.text().size() > kBackgroundParseBytes / 4) {
        // A large note replaced by a small one takes longer to free than to parse the new one.
        m_layout.reset();
        m_previousLayout.reset();
        BackgroundParse::retire({std::move(m_document), std::move(m_blocks)});
    }
    install(std::move(document), std::move(blocks));
}

void StructuredText::install(AttributedString &&document, BlockTree &&blocks)
{
    m_layout.reset();
    m_previousLayout.reset();
    m_layoutTimer.stop();
    m_document = std::move(document);
    m_blocks = std::move(blocks);
    updateGeometry();
    update();
    emit documentChanged();
}

void StructuredText::restyle()
{
    m_layout.reset();
    m_previousLayout.reset();
    m_style = DefaultStyle(font(), palette());
    updateGeometry();
    update();
}

DocumentLayout &StructuredText::layoutAt(int width) const
{
    const qreal w = qreal(std::max(1, width));
    if (m_layout && m_layout->width() == w)
        return *m_layout;
    std::swap(m_layout, m_previousLayout);
    if (!m_layout || m_layout->width() != w) {
        m_layout = std::make_unique<DocumentLayout>(m_document, m_blocks, m_style, w);
        m_layout->layoutFor(kLayoutSliceMs);
    }
    if (!m_layout->isComplete())
        m_layoutTimer.start();
    return *m_layout;
}

void StructuredText::continueLayout()
{
    if (!m_layout)
        return;
    if (!m_layout->layoutFor(kLayoutSliceMs))
        m_layoutTimer.start();
    updateGeometry();
    update();
}

void StructuredText::finishLayout()
{
    layoutAt(width()).layoutAll();
    m_layoutTimer.stop();
    updateGeometry();
}

int StructuredText::heightForWidth(int width) const
{
    return int(layoutAt(width).height());
}

QSize StructuredText::sizeHint() const
{
    const int w = width() > 1 ? width() : 600;
    return QSize(w, heightForWidth(w));
}

QSize StructuredText::minimumSizeHint() const
{
    return QSize(0, 0);
}

void StructuredText::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        parse();
    }
}

void StructuredText::paintEvent(QPaintEvent *event)
{
    if (m_document.isEmpty())
        return;
    QPainter painter(this);
    layoutAt(width()).paint(&painter, event->rect());
}

void StructuredText::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    update();
}

void StructuredText::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange
        || event->type() == QEvent::StyleChange)
        restyle();
}

void StructuredText::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragRegion >= 0 && (event->buttons() & Qt::LeftButton)) {
        const qreal x = event->position().x();
        if (m_layout && m_layout->scrollRegion(m_dragRegion, m_dragX - x))
            update();
        m_dragX = x;
        m_pressedLink.clear();
        m_pressedRefusedLink.clear();
        return;
    }
    const bool overLink = m_layout && !m_layout->linkAt(event->position()).isEmpty();
    if (overLink)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

void StructuredText::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_layout) {
        event->ignore();
        return;
    }
    m_pressedLink = m_layout->linkAt(event->position());
    m_pressedRefusedLink = m_layout->refusedLinkAt(event->position());
    // Dragging a wide code block or table moves it sideways, like a scroll bar would.
    m_dragRegion = m_layout->regionAt(event->position());
    m_dragX = event->position().x();
    if (m_pressedLink.isEmpty() && m_pressedRefusedLink.isEmpty() && m_dragRegion < 0)
        event->ignore();
}

void StructuredText::mouseReleaseEvent(QMouseEvent *event)
{
    const QString pressed = std::exchange(m_pressedLink, QString());
    const QString refused = std::exchange(m_pressedRefusedLink, QString());
    m_dragRegion = -1;
    if (event->button() != Qt::LeftButton || !m_layout)
        return;
    if (!refused.isEmpty() && m_layout->refusedLinkAt(event->position()) == refused) {
        emit linkRefused(QUrl(refused));
        return;
    }
    if (pressed.isEmpty() || m_layout->linkAt(event->position()) != pressed)
        return;
    const QUrl url(pressed);
    emit linkActivated(url);
    if (m_linkHandler)
        m_linkHandler(url);
}

void StructuredText::wheelEvent(QWheelEvent *event)
{
    const int region = m_layout ? m_layout->regionAt(event->position()) : -1;
    QPoint delta = event->pixelDelta().isNull() ? event->angleDelta() / 2 : event->pixelDelta();
    if (event->modifiers() & Qt::ShiftModifier && delta.x() == 0)
        delta = QPoint(delta.y(), 0);
    // Only sideways motion belongs to a wide block; vertical motion scrolls the note.
    if (region >= 0 && delta.x() != 0 && m_layout->scrollRegion(region, -delta.x())) {
        update();
        event->accept();
        return;
    }
    event->ignore();
}
