#include "TessarinViews/Tone.hpp"

namespace tessarin {

QColor toneColor(Tone tone, const QPalette& palette) {
    const QColor text = palette.color(QPalette::Active, QPalette::WindowText);
    switch (tone) {
    case Tone::primary: return text;
    case Tone::secondary: return withOpacity(text, 0.62);
    case Tone::tertiary: return withOpacity(text, 0.35);
    case Tone::green: return QColor(0x2F, 0xA8, 0x4F);
    case Tone::orange: return QColor(0xF0, 0x8A, 0x00);
    case Tone::red: return QColor(0xE0, 0x3A, 0x30);
    }
    return text;
}

QColor withOpacity(QColor color, double opacity) {
    color.setAlphaF(static_cast<float>(color.alphaF() * opacity));
    return color;
}

}  // namespace tessarin
