#include "TessarinViews/SymbolIconEngine.hpp"

#include "TessarinViews/Icons.hpp"

#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>

namespace tessarin {

namespace {

// The drawing's luminance becomes transparency: black strokes take the tint, white strokes
// drawn over them cut holes (the tick inside a filled circle).
QImage tinted(const QString& symbol, const QColor& tint, QSize pixels) {
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(Icons::symbolPath(symbol));
    if (!renderer.isValid()) {
        return image;
    }
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    }
    const int red = tint.red();
    const int green = tint.green();
    const int blue = tint.blue();
    const double tintAlpha = tint.alphaF();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            const int alpha = qAlpha(pixel);
            if (alpha == 0) {
                continue;
            }
            // Premultiplied: the grey level relative to alpha is the drawing's lightness.
            const double lightness = static_cast<double>(qGray(pixel)) / alpha;
            const double coverage = std::clamp(alpha / 255.0 * (1.0 - lightness) * tintAlpha, 0.0, 1.0);
            const auto scaled = [coverage](int channel) {
                return static_cast<int>(std::lround(channel * coverage));
            };
            line[x] = qRgba(scaled(red), scaled(green), scaled(blue),
                            static_cast<int>(std::lround(255.0 * coverage)));
        }
    }
    return image;
}

}  // namespace

SymbolIconEngine::SymbolIconEngine(QString symbol, QColor normal, QColor disabled)
    : m_symbol(std::move(symbol)), m_normal(normal), m_disabled(disabled) {}

QColor SymbolIconEngine::tintFor(QIcon::Mode mode) const {
    return mode == QIcon::Disabled ? m_disabled : m_normal;
}

void SymbolIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) {
    const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
    painter->drawPixmap(rect, scaledPixmap(rect.size(), mode, state, ratio));
}

QPixmap SymbolIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    return scaledPixmap(size, mode, state, 1.0);
}

QPixmap SymbolIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State /*state*/,
                                       qreal scale) {
    if (size.isEmpty()) {
        return {};
    }
    // Table cells and banners ask for the same few symbols on every repaint; parsing and
    // tinting the drawing each time would cost more than the rest of the paint.
    const QColor tint = tintFor(mode);
    const QSize pixels = size * scale;
    const QString cacheKey = QStringLiteral("tessarin.symbol:%1:%2:%3x%4@%5")
                                 .arg(m_symbol)
                                 .arg(static_cast<qulonglong>(tint.rgba64()), 16, 16, QLatin1Char('0'))
                                 .arg(pixels.width())
                                 .arg(pixels.height())
                                 .arg(scale);
    QPixmap pixmap;
    if (QPixmapCache::find(cacheKey, &pixmap)) {
        return pixmap;
    }
    pixmap = QPixmap::fromImage(tinted(m_symbol, tint, pixels));
    pixmap.setDevicePixelRatio(scale);
    QPixmapCache::insert(cacheKey, pixmap);
    return pixmap;
}

QIconEngine* SymbolIconEngine::clone() const {
    return new SymbolIconEngine(m_symbol, m_normal, m_disabled);
}

QString SymbolIconEngine::key() const {
    return QStringLiteral("tessarin.symbol");
}

bool SymbolIconEngine::isNull() {
    return !Icons::hasSymbol(m_symbol);
}

}  // namespace tessarin
