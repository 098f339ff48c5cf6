#include "TessarinViews/FormCaption.hpp"

#include "TessarinViews/Theme.hpp"

namespace tessarin {

FormCaption::FormCaption(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setWordWrap(true);
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    setFont(small);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, Theme::secondaryText(colours));
    setPalette(colours);
}

}  // namespace tessarin
