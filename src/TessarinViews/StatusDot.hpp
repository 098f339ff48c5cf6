#pragma once

#include "TessarinModel/PollerState.hpp"

#include <QWidget>

namespace tessarin {

// A small filled circle for the reading state: grey stopped, yellow connecting, green reading;
// its tooltip and accessible name are the state's text.
class StatusDot final : public QWidget {
    Q_OBJECT

public:
    explicit StatusDot(QWidget* parent = nullptr);

    [[nodiscard]] PollerState state() const { return m_state; }
    void setState(PollerState state);
    [[nodiscard]] QColor fillColor() const;

    [[nodiscard]] QSize sizeHint() const override { return {diameter, diameter}; }

    static constexpr int diameter = 10;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PollerState m_state = PollerState::stopped;
};

}  // namespace tessarin
