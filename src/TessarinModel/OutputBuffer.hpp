#pragma once

#include "TessarinModel/LogSegment.hpp"

#include <QFont>
#include <QObject>
#include <QPalette>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <array>
#include <span>

namespace tessarin {

// The communication log: one QTextDocument that a log view shows directly, coloured by
// segment kind and kept below a size limit by dropping its oldest lines in large cuts.
//
// The document has no layout of its own because the plain-text layout lives in Qt Widgets;
// a view installs a QPlainTextDocumentLayout before it first shows the document. Kinds drawn
// in the text colour carry no colour of their own, so they follow the view's palette; the
// other kinds are re-coloured whenever the application's palette changes between light and
// dark.
class OutputBuffer final : public QObject {
    Q_OBJECT

public:
    static constexpr qsizetype defaultMaxCharacters = 2'000'000;
    static constexpr qsizetype defaultTrimTarget = 1'500'000;

    explicit OutputBuffer(QObject* parent = nullptr);
    ~OutputBuffer() override;

    [[nodiscard]] QTextDocument* document() { return &m_document; }
    [[nodiscard]] const QTextDocument* document() const { return &m_document; }

    // Renders one line (its segments, then a line feed) and trims the oldest text when the
    // document has grown past maxCharacters.
    void append(std::span<const LogSegment> line);
    void clear();

    // Length of the text in UTF-16 code units, every line feed included.
    [[nodiscard]] qsizetype length() const;
    [[nodiscard]] QString plainText() const;

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
    // Sent after each append while autoscroll is on; the log view scrolls to the end.
    void scrollToEndRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildFormats();
    void trim();

    QTextDocument m_document;
    QTextCursor m_cursor;
    QFont m_font;
    std::array<QTextCharFormat, logSegmentKindNames.size()> m_formats;
    QTextCharFormat m_lineFeedFormat;
    bool m_dark = false;
    bool m_autoscroll = true;
    qsizetype m_maxCharacters = defaultMaxCharacters;
    qsizetype m_trimTarget = defaultTrimTarget;
};

}  // namespace tessarin
