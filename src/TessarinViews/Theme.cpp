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

}  // namespace tessarin::Theme
