#pragma once

#include <QWidget>

#include <array>

namespace tessarin {

class ThemedPickerBox;

// The chart's period: the last minute, 5 minutes, 15 minutes, hour, or everything recorded
// (0). The choice is kept in the settings under "chartWindow"; a stored value that is not
// one of the choices reads as the default.
class ChartPeriodPicker final : public QWidget {
    Q_OBJECT

public:
    static constexpr std::array<int, 5> choices{60, 300, 900, 3600, 0};
    static constexpr int defaultWindow = 300;

    explicit ChartPeriodPicker(QWidget* parent = nullptr);

    // Seconds, 0 meaning everything.
    [[nodiscard]] int window() const;
    // A value that is not one of the choices is ignored.
    void setWindow(int seconds);

    [[nodiscard]] ThemedPickerBox* box() const { return m_box; }

Q_SIGNALS:
    void windowChanged(int seconds);

private:
    ThemedPickerBox* m_box = nullptr;
};

}  // namespace tessarin
