#pragma once

#include <QImage>
#include <QWidget>

namespace tessarin {

// One screenshot of the help, scaled to the width it is given (never stretched beyond that
// width's share of its height), with smooth interpolation on a rounded card with a thin
// outline and a faint shadow.
class HelpScreenshotView final : public QWidget {
    Q_OBJECT

public:
    static constexpr qreal cornerRadius = 8.0;
    static constexpr qreal shadowOpacity = 0.12;
    // Room below and beside the card for its shadow.
    static constexpr int shadowMargin = 3;

    explicit HelpScreenshotView(QImage image, QWidget* parent = nullptr);

    [[nodiscard]] const QImage& image() const { return m_image; }

    [[nodiscard]] bool hasHeightForWidth() const override { return true; }
    [[nodiscard]] int heightForWidth(int width) const override;
    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
};

}  // namespace tessarin
