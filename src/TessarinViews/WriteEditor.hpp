#pragma once

#include "ModbusCore/Datapoint.hpp"

#include <QFrame>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tessarin {

// The popup that sends one new value for one datapoint: Off and On for a coil, otherwise a
// field checked by the datapoint's own parser. A value that does not fit is never sent; the
// popup says so and keeps the text for correcting. A sent value closes the popup.
class WriteEditor final : public QFrame {
    Q_OBJECT

public:
    WriteEditor(Datapoint point, std::optional<double> current, std::function<void(double)> onWrite,
                QWidget* parent = nullptr);

    // Shows the popup below the rectangle (global coordinates), kept on the screen.
    void popUp(const QRect& anchor);

    // Parses the field's text and writes it when it is a value of the datapoint.
    void submit();

    [[nodiscard]] bool invalid() const { return m_invalid; }
    [[nodiscard]] QLineEdit* field() const { return m_field; }
    [[nodiscard]] QLabel* caption() const { return m_caption; }

private:
    void buildBitButtons();
    void buildValueField(std::optional<double> current);
    void setInvalid(bool invalid);
    void send(double value);

    Datapoint m_point;
    std::function<void(double)> m_onWrite;
    QLineEdit* m_field = nullptr;
    QLabel* m_caption = nullptr;
    bool m_invalid = false;
};

}  // namespace tessarin
