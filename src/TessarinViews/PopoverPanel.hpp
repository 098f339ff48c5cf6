#pragma once

#include <QFrame>

namespace tessarin {

// A panel that opens under the button it belongs to and closes when the user clicks anywhere
// else or presses Escape.
class PopoverPanel : public QFrame {
    Q_OBJECT

public:
    PopoverPanel(int width, QWidget* parent);

    // Shows the panel under anchor (above it, for anchors at the bottom of a window), kept on
    // the anchor's screen.
    void openBelow(QWidget* anchor);
    void openAbove(QWidget* anchor);
};

}  // namespace tessarin
