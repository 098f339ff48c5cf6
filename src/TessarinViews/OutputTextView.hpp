#pragma once

#include <QPlainTextEdit>

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

    enum class Direction { forward, backward };

    // buffer must outlive the view.
    explicit OutputTextView(OutputBuffer& buffer, QWidget* parent = nullptr);

    void scrollToEnd();
    [[nodiscard]] bool isAtEnd() const;

    // Selects the next occurrence of text (case-insensitively) after the selection, or before
    // it going backward, wrapping round the log. Incremental search starts at the selection
    // itself, so that typing more letters grows the match in place. Without an occurrence the
    // selection stays and the result is false; an empty text finds nothing and changes nothing.
    bool findText(const QString& text, Direction direction, bool incremental = false);

protected:
    void showEvent(QShowEvent* event) override;

private:
    OutputBuffer& m_buffer;
};

}  // namespace tessarin
