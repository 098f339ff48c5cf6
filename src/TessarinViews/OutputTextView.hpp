#pragma once

#include <QPlainTextEdit>
#include <QTimer>

namespace tessarin {

class OutputBuffer;

// The communication log as text: the buffer's own document shown in place (the buffer keeps
// appending to it), read-only but selectable, without a background of its own so that the
// backdrop behind it shows. It follows the end of the log whenever the buffer asks, which the
// buffer does only while autoscroll is on.
//
// The view catches up with the document once a frame rather than once a change: a fast device
// changes the log many times a frame, and the plain-text layout answers every change by
// measuring the last screenful of lines for the scroll bar and repainting it. While the
// document changes, the layout's signals are held back; the next frame (or anybody who needs
// the scroll bar's range now) sends the one size change and repaint that cover them all.
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
    // Whether the end of the log is in view, the lines still waiting for the next frame included.
    [[nodiscard]] bool isAtEnd() const;
    // Brings the scroll bar's range and the picture up to date with the document at once.
    void catchUp();

    // Selects the next occurrence of text (case-insensitively) after the selection, or before
    // it going backward, wrapping round the log. Incremental search starts at the selection
    // itself, so that typing more letters grows the match in place. Without an occurrence the
    // selection stays and the result is false; an empty text finds nothing and changes nothing.
    bool findText(const QString& text, Direction direction, bool incremental = false);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void holdLayoutSignals();
    void releaseLayoutSignals();
    void nextFrame();

    OutputBuffer& m_buffer;
    // Document changes and the buffer's requests to follow the end are gathered the same way:
    // measuring and scrolling lay out the lines they bring into view.
    QTimer m_frame;
    bool m_layoutBehind = false;
    bool m_followEnd = false;
};

}  // namespace tessarin
