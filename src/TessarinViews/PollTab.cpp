#include "TessarinViews/PollTab.hpp"

#include "TessarinViews/Icons.hpp"
#include "TessarinViews/Tone.hpp"

#include <QPainter>
#include <QPainterPath>

namespace tessarin {

namespace {

constexpr int paddingX = 10;
constexpr int paddingY = 4;
constexpr int gap = 6;
constexpr int dotSide = 7;
constexpr int pauseSide = 10;

}  // namespace

PollTab::PollTab(Uuid pollID, QWidget* parent) : QAbstractButton(parent), m_pollID(pollID) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

void PollTab::setLook(const Look& look) {
    if (look == m_look) return;
    const bool resized = look.title != m_look.title || look.paused != m_look.paused;
    m_look = look;
    setText(look.title);
    setAccessibleName(look.title);
    if (resized) updateGeometry();
    update();
}

QSize PollTab::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    int width = paddingX + dotSide + gap + metrics.horizontalAdvance(m_look.title) + paddingX;
    if (m_look.paused) width += gap + pauseSide;
    return {width, metrics.height() + 2 * paddingY + 2};
}

void PollTab::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF capsule = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = capsule.height() / 2;
    QPainterPath path;
    path.addRoundedRect(capsule, radius, radius);
    const QColor theme = palette().color(QPalette::Highlight);
    if (m_look.selected) {
        painter.fillPath(path, withOpacity(theme, 0.18));
        painter.setPen(QPen(withOpacity(theme, 0.60), 1.0));
    } else {
        painter.setPen(QPen(withOpacity(toneColor(Tone::secondary, palette()), 0.25), 1.0));
    }
    painter.drawPath(path);
    if (hasFocus()) {
        painter.setPen(QPen(theme, 1.5));
        painter.drawPath(path);
    }

    double x = paddingX;
    const double middle = height() / 2.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_look.dot);
    painter.drawEllipse(QRectF(x, middle - dotSide / 2.0, dotSide, dotSide));
    x += dotSide + gap;
    const int textWidth = fontMetrics().horizontalAdvance(m_look.title);
    painter.setPen(toneColor(Tone::primary, palette()));
    painter.drawText(QRectF(x, 0, textWidth + 1, height()), Qt::AlignVCenter | Qt::AlignLeft, m_look.title);
    x += textWidth + gap;
    if (m_look.paused) {
        Icons::paintSymbol(painter, QRectF(x, middle - pauseSide / 2.0, pauseSide, pauseSide), u"pause.fill",
                           toneColor(Tone::secondary, palette()));
    }
}

}  // namespace tessarin
