#pragma once

#include <QColor>
#include <QIcon>
#include <QPalette>
#include <QPixmap>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringView>

class QPainter;

// The project's own drawings of the symbols the views name ("play.fill", "stop.fill",
// "slider.horizontal.3", …), tinted at draw time. A name without a drawing gives a null icon
// (and asserts in debug builds), so that a typo shows up at once instead of an empty button.
namespace tessarin::Icons {

// The resource path of a symbol's drawing.
[[nodiscard]] QString symbolPath(QStringView symbol);
[[nodiscard]] bool hasSymbol(QStringView symbol);

// Tinted in the palette's text colour; the disabled mode uses the palette's disabled text colour.
[[nodiscard]] QIcon symbolIcon(QStringView symbol, const QPalette& palette);
// Tinted in one colour (status symbols: green, orange, red); disabled at 45 % of it.
[[nodiscard]] QIcon symbolIcon(QStringView symbol, const QColor& tint);
// One tinted rendering, for painting code (delegates, banners).
[[nodiscard]] QPixmap symbolPixmap(QStringView symbol, const QColor& tint, QSize size,
                                   qreal devicePixelRatio = 1.0);
// Draws the symbol centred in the box, fitting its shorter side, sharp at the painter's
// device pixel ratio. A box too small for a pixel draws nothing.
void paintSymbol(QPainter& painter, const QRectF& box, QStringView symbol, const QColor& tint);

// The application's icon (window and desktop) and the logo drawn behind an empty log.
[[nodiscard]] QIcon applicationIcon();
[[nodiscard]] QString logoPath();

}  // namespace tessarin::Icons
