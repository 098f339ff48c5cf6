#include "TessarinViews/ConnectionField.hpp"

#include "TessarinViews/Theme.hpp"

namespace tessarin {

namespace {

QString rgba(const QColor& color) {
    return QStringLiteral("rgba(%1,%2,%3,%4)")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(QString::number(color.alphaF(), 'f', 2));
}

}  // namespace

ConnectionField::ConnectionField(QWidget* parent) : QLineEdit(parent) {
    setLook(false, false);
}

void ConnectionField::setLook(bool reading, bool invalid) {
    m_showsInvalid = !reading && invalid;
    const QColor fill = Theme::withAlpha(Qt::white, reading ? 0.08 : 0.18);
    // White at a quarter reads as an edge on dark windows only; light windows get the same
    // strength in the text colour.
    const QColor text = palette().color(QPalette::Active, QPalette::Text);
    const bool darkWindow = palette().color(QPalette::Window).lightness() < 128;
    const QColor outline = m_showsInvalid ? Theme::withAlpha(Theme::red(), 0.8)
                                          : Theme::withAlpha(darkWindow ? QColor(Qt::white) : text, 0.25);
    const QColor textColour = reading ? Theme::secondaryText(palette()) : text;
    setStyleSheet(QStringLiteral("QLineEdit { background: %1; border: 1px solid %2; border-radius: 6px;"
                                 " padding: 2px 5px; color: %3; }")
                      .arg(rgba(fill), rgba(outline), rgba(textColour)));
}

}  // namespace tessarin
