#pragma once

#include <QColor>
#include <QIcon>
#include <QRectF>

class QPainter;

namespace tessarin {

// The symbols the poll area draws, named after the system symbols they stand for. Drawn with
// QPainter so that the table needs no image files; a shared icon set can replace glyphIcon()
// without touching the callers.
enum class Glyph {
    circleDashed,           // "circle.dashed"
    checkmarkCircleFill,    // "checkmark.circle.fill"
    exclamationTriangle,    // "exclamationmark.triangle.fill"
    pencil,                 // "pencil"
    plus,                   // "plus"
    pauseFill,              // "pause.fill"
    xmark,                  // "xmark"
    networkSlash,           // "network.slash"
    tableCells,             // "tablecells"
    trash,                  // "trash"
    plusSquareOnSquare,     // "plus.square.on.square"
    chevronUpDown,          // "chevron.up.chevron.down"
};

// Draws the glyph centred in the box, in the colour, fitting its shorter side.
void paintGlyph(QPainter& painter, const QRectF& box, Glyph glyph, const QColor& color);

// The glyph as an icon of the given side length in device-independent pixels.
[[nodiscard]] QIcon glyphIcon(Glyph glyph, const QColor& color, int side = 16);

}  // namespace tessarin
