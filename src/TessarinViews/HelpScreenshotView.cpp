#include "TessarinViews/HelpScreenshotView.hpp"

#include <QPainter>
#include <QPainterPath>

namespace tessarin {

HelpScreenshotView::HelpScreenshotView(QImage image, QWidget* parent)
    : QWidget(parent), m_image(std::move(image)) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int HelpScreenshotView::heightForWidth(int width) const {
    if (m_image.isNull() || m_image.width() == 0) {
        return 0;
    }
    const int cardWidth = std::max(0, width - 2 * shadowMargin);
    return qRound(static_cast<double>(cardWidth) * m_image.height() / m_image.width()) + 2 * shadowMargin;
}

QSize HelpScreenshotView::sizeHint() const {
    const QSize natural = m_image.deviceIndependentSize().toSize();
    return {natural.width() + 2 * shadowMargin, natural.height() + 2 * shadowMargin};
}

void HelpScreenshotView::paintEvent(QPaintEvent* /*event*/) {
    if (m_image.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const QRectF card(shadowMargin, shadowMargin - 1, width() - 2 * shadowMargin,
                      heightForWidth(width()) - 2 * shadowMargin);

    // A soft edge from a few widening, fading outlines; no blur effect is needed at this size.
    painter.setPen(Qt::NoPen);
    for (int step = 1; step <= shadowMargin; ++step) {
        painter.setBrush(QColor(0, 0, 0, qRound(255 * shadowOpacity / step)));
        painter.drawRoundedRect(card.adjusted(-step + 1, 0, step - 1, step), cornerRadius + step,
                                cornerRadius + step);
    }

    QPainterPath rounded;
    rounded.addRoundedRect(card, cornerRadius, cornerRadius);
    painter.save();
    painter.setClipPath(rounded);
    painter.drawImage(card, m_image);
    painter.restore();

    QColor outline = palette().color(QPalette::WindowText);
    outline.setAlphaF(0.18F);
    painter.setPen(QPen(outline, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(card.adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);
}

}  // namespace tessarin
