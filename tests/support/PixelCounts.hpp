#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include <cstdlib>

namespace tessarin::test {

// Pixels of area near the colour, allowing for the blend of antialiased edges.
inline int pixelsNear(const QImage& image, const QRect& area, const QColor& color) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            const auto close = [](int a, int b) { return std::abs(a - b) < 24; };
            if (close(pixel.red(), color.red()) && close(pixel.green(), color.green()) &&
                close(pixel.blue(), color.blue())) {
                ++count;
            }
        }
    }
    return count;
}

// Pixels of area that stand apart from what is behind them, whichever way the palette runs.
inline int pixelsApartFrom(const QImage& image, const QRect& area, const QColor& background) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            const int distance = std::abs(pixel.red() - background.red()) +
                                 std::abs(pixel.green() - background.green()) +
                                 std::abs(pixel.blue() - background.blue());
            if (distance > 120) ++count;
        }
    }
    return count;
}

}  // namespace tessarin::test
