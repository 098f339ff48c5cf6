#include "TessarinViews/Theme.hpp"

#include <QPainterPath>

namespace tessarin::Theme {

QColor color() {
    static const QColor theme(0x00, 0x81, 0x84);
    return theme;
}

QColor withAlpha(QColor color, double alpha) {
    color.setAlphaF(static_cast<float>(alpha));
    return color;
}

QColor green() {
    return {0x2e, 0xa0, 0x43};
}
QColor yellow() {
    return {0xe6, 0xb4, 0x00};
}
QColor orange() {
    return {0xf0, 0x8a, 0x00};
}
QColor red() {
    return {0xe0, 0x3b, 0x2e};
}
QColor grey() {
    return {0x8e, 0x8e, 0x93};
}

QColor secondaryText(const QPalette& palette) {
    return withAlpha(palette.color(QPalette::Active, QPalette::WindowText), 0.6);
}

void drawBox(QPainter& painter, const QRectF& rect, const QColor& fill, const QColor& outline) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF inside = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(outline, 1.0));
    painter.setBrush(fill);
    painter.drawRoundedRect(inside, cornerRadius, cornerRadius);
    painter.restore();
}

void drawCheckBox(QPainter& painter, const QRectF& rect, bool checked, const QPalette& palette,
                  bool onSelection) {
    const QColor ink = onSelection ? palette.color(QPalette::Active, QPalette::HighlightedText) : color();
    const QColor mark =
        onSelection ? palette.color(QPalette::Active, QPalette::Highlight) : QColor(Qt::white);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF inside = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    constexpr double boxRadius = 3.0;
    if (checked) {
        painter.setPen(QPen(ink, 1.0));
        painter.setBrush(ink);
        painter.drawRoundedRect(inside, boxRadius, boxRadius);
        QPainterPath tick;
        tick.moveTo(inside.left() + inside.width() * 0.24, inside.top() + inside.height() * 0.52);
        tick.lineTo(inside.left() + inside.width() * 0.42, inside.top() + inside.height() * 0.70);
        tick.lineTo(inside.left() + inside.width() * 0.76, inside.top() + inside.height() * 0.32);
        painter.setPen(QPen(mark, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(tick);
    } else {
        const QColor outline = onSelection ? withAlpha(ink, 0.8) : secondaryText(palette);
        painter.setPen(QPen(outline, 1.2));
        painter.setBrush(withAlpha(color(), onSelection ? 0.0 : 0.08));
        painter.drawRoundedRect(inside, boxRadius, boxRadius);
    }
    painter.restore();
}

}  // namespace tessarin::Theme
