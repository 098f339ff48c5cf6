#include "TessarinViews/NoticeBanner.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinViews/Icons.hpp"
#include "TessarinViews/Tone.hpp"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <QToolButton>

#include <utility>

namespace tessarin {

namespace {

constexpr int padding = 12;
constexpr int spacing = 10;
constexpr int symbolSide = 16;
constexpr double cornerRadius = 9;
constexpr int shadow = 3;  // room around the card for its shadow

}  // namespace

NoticeBanner::NoticeBanner(QString symbol, QColor tint, bool dismissible, QWidget* parent)
    : QWidget(parent),
      m_symbol(std::move(symbol)),
      m_tint(tint),
      m_text(new QLabel(this)),
      m_opacity(new QGraphicsOpacityEffect(this)),
      m_fade(new QPropertyAnimation(m_opacity, "opacity", this)) {
    setMaximumWidth(maxWidth);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(padding + shadow + symbolSide + spacing, padding + shadow, padding + shadow,
                            padding + shadow);
    row->setSpacing(spacing);
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row->addWidget(m_text, 1, Qt::AlignTop);
    if (dismissible) {
        m_dismiss = new QToolButton(this);
        m_dismiss->setAutoRaise(true);
        m_dismiss->setIcon(Icons::symbolIcon(u"xmark", toneColor(Tone::secondary, palette())));
        m_dismiss->setIconSize({12, 12});
        m_dismiss->setToolTip(qtText(L10n::Notice::dismiss()));
        m_dismiss->setAccessibleName(qtText(L10n::Notice::dismiss()));
        connect(m_dismiss, &QToolButton::clicked, this, &NoticeBanner::dismissed);
        row->addWidget(m_dismiss, 0, Qt::AlignTop);
    }
    m_opacity->setOpacity(0.0);
    setGraphicsEffect(m_opacity);
    m_fade->setDuration(fadeMs);
    m_fade->setEasingCurve(QEasingCurve::InOutQuad);
    connect(m_fade, &QPropertyAnimation::finished, this, [this] {
        if (!m_shown) hide();
        Q_EMIT fadeFinished();
    });
    hide();
}

void NoticeBanner::setText(const QString& text) {
    m_text->setText(text);
    adjustSize();
}

QSize NoticeBanner::sizeWithin(int limit) const {
    const QMargins margins = layout()->contentsMargins();
    int chrome = margins.left() + margins.right();
    if (m_dismiss != nullptr) chrome += spacing + m_dismiss->sizeHint().width();
    const int widest = std::max(40, std::min(limit, maxWidth) - chrome);
    const int textWidth = std::min(widest, m_text->fontMetrics().horizontalAdvance(m_text->text()) + 2);
    int height = m_text->heightForWidth(textWidth);
    if (m_dismiss != nullptr) height = std::max(height, m_dismiss->sizeHint().height());
    return {textWidth + chrome, height + margins.top() + margins.bottom()};
}

QString NoticeBanner::text() const {
    return m_text->text();
}

void NoticeBanner::setShown(bool shown) {
    if (shown == m_shown) return;
    m_shown = shown;
    m_fade->stop();
    m_fade->setStartValue(m_opacity->opacity());
    m_fade->setEndValue(shown ? 1.0 : 0.0);
    if (shown) show();
    m_fade->start();
}

void NoticeBanner::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card = QRectF(rect()).adjusted(shadow, shadow - 1, -shadow, -shadow - 1);
    for (int ring = shadow; ring > 0; --ring) {
        QPainterPath halo;
        halo.addRoundedRect(card.adjusted(-ring, -ring + 2, ring, ring + 1), cornerRadius + ring,
                            cornerRadius + ring);
        painter.fillPath(halo, QColor(0, 0, 0, 7));
    }
    QPainterPath path;
    path.addRoundedRect(card, cornerRadius, cornerRadius);
    painter.fillPath(path, palette().color(QPalette::Window));
    painter.setPen(QPen(withOpacity(m_tint, 0.35), 1.0));
    painter.drawPath(path.translated(0.5, 0.5));
    const int lineHeight = m_text->fontMetrics().height();
    const QRectF symbol(card.left() + padding, card.top() + padding + (lineHeight - symbolSide) / 2.0,
                        symbolSide, symbolSide);
    Icons::paintSymbol(painter, symbol, m_symbol, m_tint);
}

}  // namespace tessarin
