#include "TessarinViews/Icons.hpp"

#include "TessarinViews/SymbolIconEngine.hpp"

#include <QFile>
#include <QPainter>

#include <algorithm>
#include <cassert>
#include <cmath>

// The resources live in this static library; a linker keeps them only when something
// refers to their initialiser, which must be called outside any namespace.
static void initAssets() {
    Q_INIT_RESOURCE(assets);
}

namespace tessarin::Icons {

namespace {

void ensureAssets() {
    static const bool loaded = [] {
        initAssets();
        return true;
    }();
    Q_UNUSED(loaded);
}

}  // namespace

QString symbolPath(QStringView symbol) {
    return QStringLiteral(":/icons/") + symbol + QStringLiteral(".svg");
}

bool hasSymbol(QStringView symbol) {
    ensureAssets();
    return !symbol.isEmpty() && QFile::exists(symbolPath(symbol));
}

QIcon symbolIcon(QStringView symbol, const QPalette& palette) {
    assert(hasSymbol(symbol) && "every symbol the views name has a drawing");
    if (!hasSymbol(symbol)) {
        return {};
    }
    return QIcon(new SymbolIconEngine(symbol.toString(), palette.color(QPalette::Active, QPalette::WindowText),
                                      palette.color(QPalette::Disabled, QPalette::WindowText)));
}

QIcon symbolIcon(QStringView symbol, const QColor& tint) {
    assert(hasSymbol(symbol) && "every symbol the views name has a drawing");
    if (!hasSymbol(symbol)) {
        return {};
    }
    QColor disabled = tint;
    disabled.setAlphaF(tint.alphaF() * 0.45F);
    return QIcon(new SymbolIconEngine(symbol.toString(), tint, disabled));
}

QPixmap symbolPixmap(QStringView symbol, const QColor& tint, QSize size, qreal devicePixelRatio) {
    SymbolIconEngine engine(symbol.toString(), tint, tint);
    return engine.scaledPixmap(size, QIcon::Normal, QIcon::Off, devicePixelRatio);
}

void paintSymbol(QPainter& painter, const QRectF& box, QStringView symbol, const QColor& tint) {
    assert(hasSymbol(symbol) && "every symbol the views name has a drawing");
    const int side = static_cast<int>(std::floor(std::min(box.width(), box.height())));
    if (side <= 0) {
        return;
    }
    const qreal ratio = painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1.0;
    // Whole pixels keep the strokes on the grid the drawing was rendered for.
    const QPointF corner(std::round(box.center().x() - side / 2.0),
                         std::round(box.center().y() - side / 2.0));
    painter.drawPixmap(corner, symbolPixmap(symbol, tint, QSize(side, side), ratio));
}

QIcon applicationIcon() {
    ensureAssets();
    return QIcon(QStringLiteral(":/tessarin.svg"));
}

QString logoPath() {
    ensureAssets();
    return QStringLiteral(":/logo.svg");
}

}  // namespace tessarin::Icons
