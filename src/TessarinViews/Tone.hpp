#pragma once

#include <QColor>
#include <QPalette>

namespace tessarin {

// The colours the poll area speaks in: three text levels of the palette and the signal
// colours of states (good, attention, fault).
enum class Tone { primary, secondary, tertiary, green, orange, red };

// Text levels follow the palette, so the dark palette keeps its contrast; signal colours are
// fixed hues that read on light and dark backgrounds alike.
[[nodiscard]] QColor toneColor(Tone tone, const QPalette& palette);

// The colour at the given opacity (0 … 1).
[[nodiscard]] QColor withOpacity(QColor color, double opacity);

}  // namespace tessarin
