#pragma once

#include <QScrollArea>

namespace tessarin {

class PollerModel;
class ThemedButton;

// What the log area shows before there is a log: how to begin, and a button that starts
// reading. Whether it shows is the log area's choice.
class EmptyLogView final : public QScrollArea {
    Q_OBJECT

public:
    static constexpr int textMaximumWidth = 480;

    explicit EmptyLogView(PollerModel& model, QWidget* parent = nullptr);

    [[nodiscard]] ThemedButton* startButton() const { return m_start; }

private:
    ThemedButton* m_start = nullptr;
};

}  // namespace tessarin
