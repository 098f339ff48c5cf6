#include "TessarinModel/OutputBuffer.hpp"

#include <QCoreApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QTextBlock>

#include <cmath>
#include <utility>
#include <vector>

namespace tessarin {
namespace {

// The kind travels with each run of text so that a change of appearance can re-colour it.
constexpr int kindProperty = QTextFormat::UserProperty + 1;

struct Tint {
    QColor light;
    QColor dark;
};

// The desktop's accent colours, each in its light and its dark variant.
const Tint blue{QColor(0x00, 0x7A, 0xFF), QColor(0x0A, 0x84, 0xFF)};
const Tint orange{QColor(0xFF, 0x95, 0x00), QColor(0xFF, 0x9F, 0x0A)};
const Tint red{QColor(0xFF, 0x3B, 0x30), QColor(0xFF, 0x45, 0x3A)};
const Tint teal{QColor(0x30, 0xB0, 0xC7), QColor(0x40, 0xC8, 0xE0)};

QColor blend(const QColor& front, const QColor& back, double frontShare) {
    const auto mix = [frontShare](int f, int b) {
        return static_cast<int>(std::lround(f * frontShare + b * (1.0 - frontShare)));
    };
    return QColor(mix(front.red(), back.red()), mix(front.green(), back.green()),
                  mix(front.blue(), back.blue()));
}

bool isDark(const QPalette& palette) {
    return palette.color(QPalette::WindowText).lightness() > palette.color(QPalette::Window).lightness();
}

QPalette currentPalette() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
               ? QGuiApplication::palette()
               : QPalette();
}

}  // namespace

OutputBuffer::OutputBuffer(QObject* parent) : QObject(parent), m_cursor(&m_document) {
    m_font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_font.setPointSizeF(12);
    m_font.setWeight(QFont::Normal);
    m_renderTimer.setSingleShot(true);
    m_renderTimer.setInterval(0);
    connect(&m_renderTimer, &QTimer::timeout, this, &OutputBuffer::render);
    m_document.setUndoRedoEnabled(false);
    m_document.setDefaultFont(m_font);
    m_dark = isDark(currentPalette());
    buildFormats();
    if (auto* app = QCoreApplication::instance()) {
        app->installEventFilter(this);
    }
}

OutputBuffer::~OutputBuffer() {
    if (auto* app = QCoreApplication::instance()) {
        app->removeEventFilter(this);
    }
}

void OutputBuffer::buildFormats() {
    const QPalette palette = currentPalette();
    const QColor text = palette.color(QPalette::Text);
    const QColor base = palette.color(QPalette::Base);
    const auto pick = [this](const Tint& tint) { return m_dark ? tint.dark : tint.light; };

    QFont systemFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    systemFont.setPointSizeF(11);
    systemFont.setWeight(QFont::Medium);

    // Kinds in the buffer font carry no font of their own but take the document's default
    // font: a font is a dozen properties that every insertion would copy and compare.
    for (std::size_t index = 0; index < m_formats.size(); ++index) {
        QTextCharFormat format;
        format.setProperty(kindProperty, static_cast<int>(index));
        switch (static_cast<LogSegment::Kind>(index)) {
            case LogSegment::Kind::text:
            case LogSegment::Kind::response:
                break;  // the view's own text colour
            case LogSegment::Kind::timestamp:
                format.setForeground(blend(text, base, 0.55));
                break;
            case LogSegment::Kind::meta:
                format.setForeground(blend(text, base, 0.35));
                break;
            case LogSegment::Kind::request:
                format.setForeground(pick(blue));
                break;
            case LogSegment::Kind::warning:
                format.setForeground(pick(orange));
                break;
            case LogSegment::Kind::error:
                format.setForeground(pick(red));
                break;
            case LogSegment::Kind::system:
                format.setFont(systemFont);
                format.setForeground(pick(teal));
                break;
        }
        m_formats[index] = format;
    }
    m_lineFeedFormat = m_formats[static_cast<std::size_t>(LogSegment::Kind::text)];
}

const QTextCharFormat& OutputBuffer::format(LogSegment::Kind kind) const {
    return m_formats[static_cast<std::size_t>(kind)];
}

QTextDocument* OutputBuffer::document() {
    render();
    return &m_document;
}

void OutputBuffer::append(std::vector<LogSegment> line) {
    qsizetype length = 1;
    for (const LogSegment& segment : line) {
        length += segment.text.size();
    }
    m_pending.push_back({std::move(line), length});
    m_pendingLength += length;
    if (!m_renderTimer.isActive()) {
        m_renderTimer.start();
    }
}

void OutputBuffer::render() {
    m_renderTimer.stop();
    if (m_pending.empty()) {
        return;
    }
    const std::vector<PendingLine> lines = std::exchange(m_pending, {});
    const qsizetype total = documentLength() + std::exchange(m_pendingLength, 0);
    std::span<const PendingLine> kept(lines);

    m_cursor.beginEditBlock();
    if (total > m_maxCharacters) {
        // The first line feed at or after the cut ends the oldest line that stays out, so
        // every line that starts at or before the cut goes, in the document or in the batch.
        const qsizetype cut = total - m_trimTarget;
        qsizetype start = documentLength();
        if (cut < start) {
            removeThroughLineAt(cut);
        } else {
            clear();
            while (!kept.empty() && start <= cut) {
                start += kept.front().length;
                kept = kept.subspan(1);
            }
        }
    }
    insertLines(kept);
    m_cursor.endEditBlock();
    if (m_autoscroll) {
        Q_EMIT scrollToEndRequested();
    }
}

void OutputBuffer::insertLines(std::span<const PendingLine> lines) {
    m_cursor.movePosition(QTextCursor::End);
    // Every insertion becomes a piece of the document's piece table, and their number is what
    // rendering costs: neighbouring segments of one kind go in as one piece.
    for (const PendingLine& line : lines) {
        const std::span<const LogSegment> segments(line.segments);
        for (std::size_t first = 0; first < segments.size();) {
            const LogSegment::Kind kind = segments[first].kind;
            std::size_t end = first + 1;
            while (end < segments.size() && segments[end].kind == kind) {
                ++end;
            }
            if (end == first + 1) {
                m_cursor.insertText(segments[first].text, format(kind));
            } else {
                QString run;
                for (const LogSegment& segment : segments.subspan(first, end - first)) {
                    run += segment.text;
                }
                m_cursor.insertText(run, format(kind));
            }
            first = end;
        }
        m_cursor.insertBlock(QTextBlockFormat(), m_lineFeedFormat);
    }
}

void OutputBuffer::removeThroughLineAt(qsizetype cut) {
    // Every line ends its block, so the block that holds the cut ends in the line feed at or
    // after it. The trailing block after the last line feed has none.
    const QTextBlock block = m_document.findBlock(static_cast<int>(cut));
    if (block.isValid() && block.next().isValid()) {
        cut = block.next().position();
    }
    QTextCursor range(&m_document);
    range.setPosition(0);
    range.setPosition(static_cast<int>(cut), QTextCursor::KeepAnchor);
    range.removeSelectedText();
}

void OutputBuffer::clear() {
    m_pending.clear();
    m_pendingLength = 0;
    QTextCursor all(&m_document);
    all.select(QTextCursor::Document);
    all.removeSelectedText();
    all.setBlockCharFormat(m_lineFeedFormat);
}

qsizetype OutputBuffer::length() {
    render();
    return documentLength();
}

qsizetype OutputBuffer::documentLength() const {
    // characterCount() counts the separator of the trailing empty block as well.
    return m_document.characterCount() - 1;
}

QString OutputBuffer::plainText() {
    render();
    // toPlainText() turns no-break spaces into spaces and line separators into line feeds,
    // which would change French numbers and the lines themselves; only the blocks' own
    // separators are line feeds.
    QString text = m_document.toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

void OutputBuffer::setLimits(qsizetype maxCharacters, qsizetype trimTarget) {
    Q_ASSERT(trimTarget <= maxCharacters);
    m_maxCharacters = maxCharacters;
    m_trimTarget = trimTarget;
}

void OutputBuffer::applyPalette(const QPalette& palette) {
    render();
    m_dark = isDark(palette);
    buildFormats();

    struct Run {
        int position;
        int length;
        std::size_t kind;
    };
    std::vector<Run> runs;
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QVariant kind = fragment.charFormat().property(kindProperty);
            if (kind.isValid()) {
                runs.push_back(
                    {fragment.position(), fragment.length(), static_cast<std::size_t>(kind.toInt())});
            }
        }
    }
    QTextCursor cursor(&m_document);
    cursor.beginEditBlock();
    for (const Run& run : runs) {
        if (run.kind >= m_formats.size()) {
            continue;
        }
        cursor.setPosition(run.position);
        cursor.setPosition(run.position + run.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(m_formats[run.kind]);
    }
    cursor.endEditBlock();
}

bool OutputBuffer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ApplicationPaletteChange && watched == QCoreApplication::instance()) {
        applyPalette(currentPalette());
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tessarin
