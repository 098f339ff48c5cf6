#pragma once

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTimer>

namespace tessarin {

class OutputBuffer;

// The communication log as text: the buffer's own document shown in place (the buffer keeps
// appending to it), read-only but selectable, without a background of its own so that the
// backdrop behind it shows. It follows the end of the log whenever the buffer asks, which the
// buffer does only while autoscroll is on.
class OutputTextView final : public QPlainTextEdit {
    Q_OBJECT

public:
    static constexpr int textInset = 6;
    static constexpr int frameMs = 16;

    enum class Direction { forward, backward };

    // buffer must outlive the view.
    explicit OutputTextView(OutputBuffer& buffer, QWidget* parent = nullptr);

    // At once.
    void scrollToEnd();
    [[nodiscard]] bool isAtEnd() const;

    // Selects the next occurrence of text (case-insensitively) after the selection, or before
    // it going backward, wrapping round the log. Incremental search starts at the selection
    // itself, so that typing more letters grows the match in place. Without an occurrence the
    // selection stays and the result is false; an empty text finds nothing and changes nothing.
    bool findText(const QString& text, Direction direction, bool incremental = false);

protected:
    void showEvent(QShowEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    OutputBuffer& m_buffer;
    // Paints come at most once a frame: a fast device appends lines many times a frame, and
    // drawing each state would cost the main thread more than taking the lines.
    QElapsedTimer m_sinceLastPaint;
    QTimer m_deferredPaint;
    // The buffer's requests to follow the end are gathered the same way: scrolling lays out
    // the lines it brings into view.
    QTimer m_deferredScroll;
};

}  // namespace tessarin
