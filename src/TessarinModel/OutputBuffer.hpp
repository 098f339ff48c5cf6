#pragma once

#include "TessarinModel/LogSegment.hpp"

#include <QFont>
#include <QObject>
#include <QPalette>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <array>
#include <span>
#include <vector>

namespace tessarin {

// The communication log: one QTextDocument that a log view shows directly, coloured by
// segment kind and kept below a size limit by dropping its oldest lines in large cuts.
//
// Lines are rendered into the document in batches: append() queues a line and the batch is
// rendered once control returns to the event loop, or at once when anybody reads the log. A
// batch that would overflow the document is trimmed before it is rendered, so lines that the
// trim would drop again are never laid out: however fast lines arrive, one batch costs at
// most the rendering of maxCharacters.
//
// The document has no layout of its own because the plain-text layout lives in Qt Widgets;
// a view installs a QPlainTextDocumentLayout before it first shows the document. Text in the
// buffer font takes the document's default font, so a view that sets its own font as the
// document's default (QPlainTextEdit does) must use font() for it. Kinds drawn in the text
// colour carry no colour of their own, so they follow the view's palette; the other kinds are
// re-coloured whenever the application's palette changes between light and dark.
class OutputBuffer final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OutputBuffer)

public:
    static constexpr qsizetype defaultMaxCharacters = 2'000'000;
    static constexpr qsizetype defaultTrimTarget = 1'500'000;

    explicit OutputBuffer(QObject* parent = nullptr);
    ~OutputBuffer() override;

    // The document with every line appended so far.
    [[nodiscard]] QTextDocument* document();

    // Queues one line (its segments, then a line feed) for the next render.
    void append(std::vector<LogSegment> line);
    // Renders the queued lines, trimming the oldest text when the document would grow past
    // maxCharacters, and asks for scrolling. Runs by itself from the event loop.
    void render();
    void clear();

    // Length of the text in UTF-16 code units, every line feed included.
    [[nodiscard]] qsizetype length();
    // The text exactly as the lines gave it (no-break spaces and line separators included),
    // each line ended by a line feed.
    [[nodiscard]] QString plainText();

    [[nodiscard]] bool autoscroll() const { return m_autoscroll; }
    void setAutoscroll(bool on) { m_autoscroll = on; }

    [[nodiscard]] qsizetype maxCharacters() const { return m_maxCharacters; }
    [[nodiscard]] qsizetype trimTarget() const { return m_trimTarget; }
    // Tests use small limits to reach the trimming corner cases quickly.
    void setLimits(qsizetype maxCharacters, qsizetype trimTarget);

    [[nodiscard]] const QFont& font() const { return m_font; }
    [[nodiscard]] const QTextCharFormat& format(LogSegment::Kind kind) const;
    [[nodiscard]] bool darkAppearance() const { return m_dark; }

    // Re-colours the formats and the text already written for the palette's appearance.
    void applyPalette(const QPalette& palette);

Q_SIGNALS:
    // Sent after each render while autoscroll is on; the log view scrolls to the end.
    void scrollToEndRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct PendingLine {
        std::vector<LogSegment> segments;
        qsizetype length = 0;  // with the line feed
    };

    void buildFormats();
    [[nodiscard]] qsizetype documentLength() const;
    // Removes the document's text up to the end of the line that holds position cut.
    void removeThroughLineAt(qsizetype cut);
    void insertLines(std::span<const PendingLine> lines);

    QTextDocument m_document;
    QTextCursor m_cursor;
    QFont m_font;
    std::array<QTextCharFormat, logSegmentKindNames.size()> m_formats;
    QTextCharFormat m_lineFeedFormat;
    std::vector<PendingLine> m_pending;
    qsizetype m_pendingLength = 0;
    QTimer m_renderTimer;
    bool m_dark = false;
    bool m_autoscroll = true;
    qsizetype m_maxCharacters = defaultMaxCharacters;
    qsizetype m_trimTarget = defaultTrimTarget;
};

}  // namespace tessarin
