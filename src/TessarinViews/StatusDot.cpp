#include "TessarinViews/StatusDot.hpp"

#include "TessarinViews/StateText.hpp"
#include "TessarinViews/Theme.hpp"

#include <QPainter>

namespace tessarin {

StatusDot::StatusDot(QWidget* parent) : QWidget(parent) {
    setFixedSize(diameter, diameter);
    setState(PollerState::stopped);
}

void StatusDot::setState(PollerState state) {
    m_state = state;
    setToolTip(StateText::of(state));
    setAccessibleName(StateText::of(state));
    update();
}

QColor StatusDot::fillColor() const {
    switch (m_state) {
        case PollerState::stopped:
            return Theme::grey();
        case PollerState::connecting:
            return Theme::yellow();
        case PollerState::running:
            return Theme::green();
    }
    return Theme::grey();
}

void StatusDot::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Theme::withAlpha(Qt::white, 0.6), 0.5));
    painter.setBrush(fillColor());
    painter.drawEllipse(QRectF(rect()).adjusted(0.25, 0.25, -0.25, -0.25));
}

}  // namespace tessarin
