#pragma once

#include <QPushButton>

namespace tessarin {

// A compact button drawn on a rounded box in the theme colour instead of the platform's
// style: a light fill, stronger when on or pressed (pressed wins), and the whole control
// faded when disabled. Checkable buttons are on while checked.
class ThemedButton : public QPushButton {
    Q_OBJECT

public:
    explicit ThemedButton(const QString& text = {}, QWidget* parent = nullptr);

    [[nodiscard]] bool isOn() const { return m_on || isChecked(); }
    void setOn(bool on);

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override { return sizeHint(); }

    static constexpr int horizontalPadding = 8;
    static constexpr int verticalPadding = 3;
    static constexpr int iconSpacing = 4;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_on = false;
};

}  // namespace tessarin
