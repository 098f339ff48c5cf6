#pragma once

#include <QProxyStyle>

namespace tessarin {

// The platform's style with the theme's check boxes. Fusion, the style most Linux desktops
// leave Qt with, draws the empty box in the base colour with an outline a shade darker than
// the window, which vanishes on a dark base; the theme's box reads on every palette and is the
// one the datapoint table draws. Every other element is the platform's.
class TessarinStyle final : public QProxyStyle {
    Q_OBJECT

public:
    // Over the style called baseKey (QStyleFactory's names).
    explicit TessarinStyle(const QString& baseKey);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

    // Puts the style on the application unless it is there already.
    static void install();
};

}  // namespace tessarin
