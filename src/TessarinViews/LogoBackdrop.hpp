#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

namespace tessarin {

// The log's background: the text background colour with the application logo faintly in the
// middle, drawn in the text colour so that it shows in light and dark palettes alike.
class LogoBackdrop final : public QWidget {
    Q_OBJECT

public:
    static constexpr int logoWidth = 460;
    static constexpr qreal logoOpacity = 0.07;

    explicit LogoBackdrop(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Drawn once per colour and screen density.
    QPixmap m_logo;
    QColor m_logoTint;
};

}  // namespace tessarin
