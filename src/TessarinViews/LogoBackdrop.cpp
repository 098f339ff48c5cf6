#include "TessarinViews/LogoBackdrop.hpp"

#include "TessarinViews/Assets.hpp"

#include <QPainter>

namespace tessarin {

LogoBackdrop::LogoBackdrop(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LogoBackdrop::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const QColor tint = palette().color(QPalette::Text);
    const qreal ratio = devicePixelRatioF();
    if (m_logo.isNull() || m_logoTint != tint || !qFuzzyCompare(m_logo.devicePixelRatio(), ratio)) {
        m_logo = Assets::logo(logoWidth, tint, ratio);
        m_logoTint = tint;
    }
    painter.setOpacity(logoOpacity);
    const QPoint topLeft((width() - logoWidth) / 2, (height() - logoWidth) / 2);
    painter.drawPixmap(topLeft, m_logo);
}

}  // namespace tessarin
