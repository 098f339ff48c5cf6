#include "TessarinViews/OutputTextView.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinModel/OutputBuffer.hpp"

#include <QScrollBar>
#include <QTextDocument>

#include <utility>

namespace tessarin {

OutputTextView::OutputTextView(OutputBuffer& buffer, QWidget* parent)
    : QPlainTextEdit(parent), m_buffer(buffer) {
    setObjectName(QStringLiteral("outputText"));
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAutoFillBackground(false);
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(false);
    setAccessibleName(qtText(L10n::Footer::outputAccessibility()));

    // The plain-text view needs the plain-text layout; the buffer leaves the choice to its view.
    // The view's font becomes the document's default font, which the buffer's lines rely on.
    QTextDocument* document = m_buffer.document();
    if (qobject_cast<QPlainTextDocumentLayout*>(document->documentLayout()) == nullptr) {
        document->setDocumentLayout(new QPlainTextDocumentLayout(document));
    }
    setFont(m_buffer.font());
    setDocument(document);
    document->setDocumentMargin(textInset);

    m_frame.setSingleShot(true);
    m_frame.setInterval(frameMs);
    connect(&m_frame, &QTimer::timeout, this, &OutputTextView::nextFrame);
    // The document announces each change just before its layout hears of it, and reports it
    // done just after.
    connect(document, &QTextDocument::contentsChange, this, &OutputTextView::holdLayoutSignals);
    connect(document, &QTextDocument::contentsChanged, this, &OutputTextView::releaseLayoutSignals);
    connect(&m_buffer, &OutputBuffer::scrollToEndRequested, this, [this] {
        m_followEnd = true;
        if (!m_frame.isActive()) {
            m_frame.start();
        }
    });
}

void OutputTextView::holdLayoutSignals() {
    document()->documentLayout()->blockSignals(true);
}

void OutputTextView::releaseLayoutSignals() {
    document()->documentLayout()->blockSignals(false);
    m_layoutBehind = true;
    if (!m_frame.isActive()) {
        m_frame.start();
    }
}

void OutputTextView::catchUp() {
    if (!m_layoutBehind) {
        return;
    }
    m_layoutBehind = false;
    auto* layout = qobject_cast<QPlainTextDocumentLayout*>(document()->documentLayout());
    // The two signals the held-back changes would have sent: the scroll bar's range follows
    // the size, and the whole text is drawn again.
    Q_EMIT layout->documentSizeChanged(layout->documentSize());
    layout->requestUpdate();
}

void OutputTextView::nextFrame() {
    catchUp();
    if (std::exchange(m_followEnd, false)) {
        QScrollBar* bar = verticalScrollBar();
        bar->setValue(bar->maximum());
    }
}

void OutputTextView::scrollToEnd() {
    m_frame.stop();
    m_followEnd = true;
    nextFrame();
}

bool OutputTextView::isAtEnd() const {
    const QScrollBar* bar = verticalScrollBar();
    return !m_layoutBehind && bar->value() == bar->maximum();
}

bool OutputTextView::findText(const QString& text, Direction direction, bool incremental) {
    if (text.isEmpty()) {
        return false;
    }
    m_buffer.render();
    // Showing the match scrolls within the scroll bar's range, which must hold every line.
    catchUp();
    const QTextCursor selection = textCursor();
    QTextCursor from(document());
    const bool backward = direction == Direction::backward;
    from.setPosition(incremental || backward ? selection.selectionStart() : selection.selectionEnd());
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    QTextCursor found = document()->find(text, from, flags);
    if (found.isNull()) {
        QTextCursor wrapped(document());
        wrapped.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        found = document()->find(text, wrapped, flags);
    }
    if (found.isNull()) {
        return false;
    }
    setTextCursor(found);
    return true;
}

void OutputTextView::showEvent(QShowEvent* event) {
    QPlainTextEdit::showEvent(event);
    // Lines that arrived while the log was hidden moved its end.
    if (m_buffer.autoscroll()) {
        scrollToEnd();
    }
}

}  // namespace tessarin
