#pragma once

#include "TessarinModel/PollerState.hpp"

#include <QPushButton>

namespace tessarin {

// The prominent button that starts and stops reading: "Start" with a play symbol while
// stopped, "Stop" with a stop symbol otherwise, filled in the theme colour, orange while
// connecting or reading.
class StartStopButton final : public QPushButton {
    Q_OBJECT

public:
    explicit StartStopButton(QWidget* parent = nullptr);

    void setState(PollerState state);
    [[nodiscard]] QColor fillColor() const;

    [[nodiscard]] QSize sizeHint() const override;
    static constexpr int minimumWidth = 80;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void refresh();

    PollerState m_state = PollerState::stopped;
};

}  // namespace tessarin
