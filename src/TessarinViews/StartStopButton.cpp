#include "TessarinViews/StartStopButton.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinViews/Icons.hpp"
#include "TessarinViews/ShortcutText.hpp"
#include "TessarinViews/Theme.hpp"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

namespace tessarin {

StartStopButton::StartStopButton(QWidget* parent) : QPushButton(parent) {
    setCursor(Qt::PointingHandCursor);
    setIconSize({12, 12});
    refresh();
}

void StartStopButton::setState(PollerState state) {
    if (m_state != state) {
        m_state = state;
        refresh();
    }
}

void StartStopButton::refresh() {
    const bool stopped = m_state == PollerState::stopped;
    setText(qtText(stopped ? L10n::Header::start() : L10n::Header::stop()));
    setIcon(Icons::symbolIcon(stopped ? u"play.fill" : u"stop.fill", QColor(Qt::white)));
    setToolTip(ShortcutText::native(qtText(stopped ? L10n::Header::startHelp() : L10n::Header::stopHelp())));
    setAccessibleName(text());
    updateGeometry();
    update();
}

QColor StartStopButton::fillColor() const {
    return m_state == PollerState::stopped ? Theme::color() : Theme::orange();
}

QSize StartStopButton::sizeHint() const {
    const QFontMetrics metrics(font());
    // The wider of the two labels, so that the bar does not jump when reading starts.
    const int label = std::max(metrics.horizontalAdvance(qtText(L10n::Header::start())),
                               metrics.horizontalAdvance(qtText(L10n::Header::stop())));
    const int width = label + iconSize().width() + 6 + 2 * 12;
    return {std::max(width, minimumWidth), metrics.height() + 10};
}

void StartStopButton::changeEvent(QEvent* event) {
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        refresh();
    }
}

void StartStopButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled()) {
        painter.setOpacity(Theme::disabledOpacity);
    }
    QColor fill = fillColor();
    if (isDown()) {
        fill = fill.darker(115);
    }
    Theme::drawBox(painter, rect(), fill, fill.darker(120));
    if (hasFocus()) {
        painter.setPen(QPen(Theme::withAlpha(Qt::white, 0.8), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(2, 2, -2, -2), Theme::cornerRadius - 2, Theme::cornerRadius - 2);
    }
    const QFontMetrics metrics(font());
    const int textWidth = metrics.horizontalAdvance(text());
    const int total = iconSize().width() + 6 + textWidth;
    const int x = (width() - total) / 2;
    icon().paint(&painter, QRect(x, (height() - iconSize().height()) / 2, iconSize().width(), iconSize().height()));
    painter.setPen(Qt::white);
    painter.drawText(QRect(x + iconSize().width() + 6, 0, textWidth + 1, height()), Qt::AlignVCenter | Qt::AlignLeft,
                     text());
}

}  // namespace tessarin
