#include "TessarinViews/ThemedButton.hpp"

#include "TessarinViews/Theme.hpp"

#include <QFontMetrics>
#include <QPainter>

namespace tessarin {

ThemedButton::ThemedButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ThemedButton::setOn(bool on) {
    if (m_on != on) {
        m_on = on;
        update();
    }
}

QSize ThemedButton::sizeHint() const {
    const QFontMetrics metrics(font());
    int width = text().isEmpty() ? 0 : metrics.horizontalAdvance(text());
    int height = metrics.height();
    if (!icon().isNull()) {
        width += iconSize().width() + (text().isEmpty() ? 0 : iconSpacing);
        height = std::max(height, iconSize().height());
    }
    return {width + 2 * horizontalPadding + 2, height + 2 * verticalPadding + 2};
}

void ThemedButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled()) {
        painter.setOpacity(Theme::disabledOpacity);
    }
    const double fill = isDown() ? 0.28 : (isOn() ? 0.30 : 0.14);
    Theme::drawBox(painter, rect(), Theme::withAlpha(Theme::color(), fill), Theme::withAlpha(Theme::color(), 0.35));
    if (hasFocus()) {
        painter.setPen(QPen(Theme::withAlpha(Theme::color(), 0.9), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1.25, 1.25, -1.25, -1.25), Theme::cornerRadius - 1,
                                Theme::cornerRadius - 1);
    }

    const QFontMetrics metrics(font());
    const int textWidth = text().isEmpty() ? 0 : metrics.horizontalAdvance(text());
    const bool withIcon = !icon().isNull();
    const int iconWidth = withIcon ? iconSize().width() + (text().isEmpty() ? 0 : iconSpacing) : 0;
    int x = (width() - textWidth - iconWidth) / 2;
    if (withIcon) {
        const QRect iconRect(x, (height() - iconSize().height()) / 2, iconSize().width(), iconSize().height());
        icon().paint(&painter, iconRect, Qt::AlignCenter, QIcon::Normal);
        x += iconWidth;
    }
    painter.setPen(palette().color(QPalette::Active, QPalette::ButtonText));
    painter.drawText(QRect(x, 0, textWidth + 1, height()), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextShowMnemonic,
                     text());
}

}  // namespace tessarin
