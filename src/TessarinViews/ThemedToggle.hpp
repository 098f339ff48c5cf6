#pragma once

#include "TessarinViews/ThemedButton.hpp"

namespace tessarin {

// A switch shown as a themed button: clicking flips it, and it looks on while it is on.
class ThemedToggle final : public ThemedButton {
    Q_OBJECT

public:
    explicit ThemedToggle(const QString& text = {}, QWidget* parent = nullptr);
};

}  // namespace tessarin
