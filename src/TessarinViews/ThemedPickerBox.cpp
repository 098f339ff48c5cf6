#include "TessarinViews/ThemedPickerBox.hpp"

#include "TessarinViews/Theme.hpp"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace tessarin {

ThemedPickerBox::ThemedPickerBox(QWidget* parent) : QComboBox(parent) {
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
}

int ThemedPickerBox::chevronWidth() const {
    return QFontMetrics(font()).height();
}

QSize ThemedPickerBox::sizeHint() const {
    const QFontMetrics metrics(font());
    int widest = 0;
    for (int i = 0; i < count(); ++i) {
        widest = std::max(widest, metrics.horizontalAdvance(itemText(i)));
    }
    // Room for a focus ring and a little air before the chevron.
    return {leadingPadding + widest + 6 + chevronWidth() + trailingPadding + 2,
            metrics.height() + 2 * verticalPadding + 6};
}

void ThemedPickerBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool enabled = isEnabled();
    Theme::drawBox(painter, rect(), Theme::withAlpha(Theme::color(), enabled ? 0.14 : 0.06),
                   Theme::withAlpha(Theme::color(), enabled ? 0.35 : 0.15));
    if (hasFocus()) {
        painter.setPen(QPen(Theme::withAlpha(Theme::color(), 0.9), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1.25, 1.25, -1.25, -1.25), Theme::cornerRadius - 1,
                                Theme::cornerRadius - 1);
    }
    const QPalette::ColorGroup group = enabled ? QPalette::Active : QPalette::Disabled;
    const QColor text = palette().color(group, QPalette::ButtonText);
    const int chevron = chevronWidth();
    const QRect textRect = rect().adjusted(leadingPadding, verticalPadding, -(trailingPadding + chevron), -verticalPadding);
    painter.setPen(text);
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
                     QFontMetrics(font()).elidedText(currentText(), Qt::ElideRight, textRect.width()));

    // Up-and-down chevrons: the list opens around the current choice.
    const double cx = width() - trailingPadding - chevron / 2.0;
    const double cy = height() / 2.0;
    const double half = chevron / 5.0;
    QPainterPath path;
    path.moveTo(cx - half, cy - 1.5);
    path.lineTo(cx, cy - 1.5 - half);
    path.lineTo(cx + half, cy - 1.5);
    path.moveTo(cx - half, cy + 1.5);
    path.lineTo(cx, cy + 1.5 + half);
    path.lineTo(cx + half, cy + 1.5);
    painter.setPen(QPen(text, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

}  // namespace tessarin
