#include "TessarinViews/ThemedToggle.hpp"

namespace tessarin {

ThemedToggle::ThemedToggle(const QString& text, QWidget* parent) : ThemedButton(text, parent) {
    setCheckable(true);
}

}  // namespace tessarin
