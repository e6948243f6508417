#pragma once
// The note view: renders one Markdown document as a vertical stack of blocks in the default
// style. It parses its own text, when first shown and whenever the text changes; a text that
// does not parse shows as an empty document and nothing is reported. Text selection is off.
// Ordinary notes are parsed at once on the GUI thread. Large ones are parsed on a worker thread
// and shown empty until their document arrives, so the window never stalls on them.
#include "AttributedString.h"
#include "AttributedStringMarkdownParser.h"
#include "BackgroundParse.h"
#include "BlockTree.h"
#include "DefaultStyle.h"
#include "DocumentLayout.h"
#include "MarkupParser.h"

#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class StructuredText : public QWidget {
    Q_OBJECT
public:
    using SyntaxExtension = AttributedStringMarkdownParser::SyntaxExtension;
    using DefaultStyle = ::DefaultStyle;
    // Opens a clicked link. The default hands it to the desktop's browser.
    using LinkHandler = std::function<void(const QUrl &)>;

    explicit StructuredText(const QString &markdown, const QUrl &baseURL = QUrl(),
                            std::vector<SyntaxExtension> syntaxExtensions = {}, QWidget *parent = nullptr);
    ~StructuredText() override;

    const QString &markup() const { return m_markup; }
    // Parses again when the view has already been shown, otherwise when it is.
    void setMarkup(const QString &markup);

    const MarkupParser &parser() const { return *m_parser; }
    void setParser(std::shared_ptr<const MarkupParser> parser);

    // The parsed document: empty until the first parse, after a parse that failed, and while
    // a large note is being parsed in the background.
    const AttributedString &document() const { return m_document; }
    // Whether a background parse is still to deliver the document for the current text.
    bool isParsing() const { return m_background.isPending(); }
    // Notes with more UTF-8 bytes than this are parsed in the background.
    static constexpr qsizetype kBackgroundParseBytes = 256 * 1024;
    const BlockTree &blocks() const { return m_blocks; }
    bool textSelectionEnabled() const { return false; }

    void setLinkHandler(LinkHandler handler) { m_linkHandler = std::move(handler); }
    // Finishes any layout still pending at the current width (large notes lay out in slices).
    void finishLayout();
    const DocumentLayout *currentLayout() const { return m_layout.get(); }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void linkActivated(const QUrl &url);
    // A link that may not be opened (its scheme is not one of the web or of mail) was
    // clicked; nothing was opened.
    void linkRefused(const QUrl &url);
    // The document was replaced: parsed, emptied for a background parse, or delivered by one.
    void documentChanged();

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void parse();
    void install(AttributedString &&document, BlockTree &&blocks);
    void restyle();
    DocumentLayout &layoutAt(int width) const;
    void continueLayout();

    QString m_markup;
    std::shared_ptr<const MarkupParser> m_parser;
    AttributedString m_document;
    BlockTree m_blocks;
    DefaultStyle m_style;
    bool m_shown = false;
    // Laid out lazily for the width asked about; mutable because Qt asks through const calls.
    // The layout for the width asked about before is kept too: parent layouts tend to ask
    // about two widths in turn (with and without a scroll bar), and a large note must not
    // start over each time.
    mutable std::unique_ptr<DocumentLayout> m_layout;
    mutable std::unique_ptr<DocumentLayout> m_previousLayout;
    mutable QTimer m_layoutTimer;
    BackgroundParse m_background;
    LinkHandler m_linkHandler;
    QString m_pressedLink;
    QString m_pressedRefusedLink;
    int m_dragRegion = -1;
    qreal m_dragX = 0;
};
