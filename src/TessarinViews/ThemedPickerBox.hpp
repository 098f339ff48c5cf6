#pragma once

#include <QComboBox>

namespace tessarin {

// A menu-style picker on a light rounded box in the theme colour: the current choice and a
// small chevron, the list opening on click or with the keyboard like any combo box.
class ThemedPickerBox final : public QComboBox {
    Q_OBJECT

public:
    explicit ThemedPickerBox(QWidget* parent = nullptr);

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override { return sizeHint(); }

    static constexpr int leadingPadding = 6;
    static constexpr int trailingPadding = 2;
    static constexpr int verticalPadding = 1;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    [[nodiscard]] int chevronWidth() const;
};

}  // namespace tessarin
