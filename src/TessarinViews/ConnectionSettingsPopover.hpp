#pragma once

#include "TessarinViews/PopoverPanel.hpp"

#include <QPointer>

class QButtonGroup;
class QLabel;

namespace tessarin {

class PollerModel;
class ThemedPickerBox;
class ThemedToggle;

// Protocol, response timeout, how reads are combined and how single values are written.
// The protocol and the combining change what the running engine was built with, so they are
// locked while reading; the timeout and the write method apply at once.
class ConnectionSettingsPopover final : public PopoverPanel {
    Q_OBJECT

public:
    static constexpr int panelWidth = 400;
    static constexpr std::array<int, 5> gaps{0, 4, 8, 16, 32};

    ConnectionSettingsPopover(PollerModel& model, QWidget* parent);

    [[nodiscard]] ThemedToggle* modbusTCPButton() const { return m_modbusTCP; }
    [[nodiscard]] ThemedToggle* rtuOverTCPButton() const { return m_rtuOverTCP; }
    [[nodiscard]] ThemedPickerBox* timeoutPicker() const { return m_timeout; }
    [[nodiscard]] ThemedPickerBox* combinePicker() const { return m_combine; }
    [[nodiscard]] ThemedPickerBox* writeModePicker() const { return m_writeMode; }

private:
    void refresh();

    PollerModel& m_model;
    QWidget* m_framingRow = nullptr;
    ThemedToggle* m_modbusTCP = nullptr;
    ThemedToggle* m_rtuOverTCP = nullptr;
    ThemedPickerBox* m_timeout = nullptr;
    ThemedPickerBox* m_combine = nullptr;
    ThemedPickerBox* m_writeMode = nullptr;
};

}  // namespace tessarin
