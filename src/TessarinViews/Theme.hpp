#pragma once

#include <QColor>
#include <QPainter>
#include <QPalette>
#include <QRectF>

// The application's own colours and the rounded box its compact controls share.
namespace tessarin::Theme {

// The theme colour, 008184.
[[nodiscard]] QColor color();
[[nodiscard]] QColor withAlpha(QColor color, double alpha);

// Status colours that read on light and dark backgrounds.
[[nodiscard]] QColor green();
[[nodiscard]] QColor yellow();
[[nodiscard]] QColor orange();
[[nodiscard]] QColor red();
[[nodiscard]] QColor grey();

// Texts that step back: labels beside fields, captions under forms.
[[nodiscard]] QColor secondaryText(const QPalette& palette);

inline constexpr double cornerRadius = 6.0;
// How much of a disabled control still shows.
inline constexpr double disabledOpacity = 0.45;

// A rounded box whose one-point outline lies half a point inside rect.
void drawBox(QPainter& painter, const QRectF& rect, const QColor& fill, const QColor& outline);

// A check box in the theme's look, for cells that the platform style would draw faintly on
// a dark base: the empty box outlined in the secondary text colour, the ticked one filled
// with the theme colour. onSelection draws it for a selected row, whose fill may be the
// theme colour itself.
void drawCheckBox(QPainter& painter, const QRectF& rect, bool checked, const QPalette& palette,
                  bool onSelection);

}  // namespace tessarin::Theme
