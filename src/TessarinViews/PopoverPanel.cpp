#include "TessarinViews/PopoverPanel.hpp"

#include <QScreen>

namespace tessarin {

PopoverPanel::PopoverPanel(int width, QWidget* parent) : QFrame(parent, Qt::Popup) {
    setFrameShape(QFrame::StyledPanel);
    setFixedWidth(width);
}

void PopoverPanel::openBelow(QWidget* anchor) {
    adjustSize();
    QPoint position = anchor->mapToGlobal(QPoint(anchor->width() / 2 - width() / 2, anchor->height() + 4));
    if (const QScreen* screen = anchor->screen()) {
        const QRect area = screen->availableGeometry();
        position.setX(std::clamp(position.x(), area.left(), std::max(area.left(), area.right() - width())));
        if (position.y() + height() > area.bottom()) {
            position.setY(anchor->mapToGlobal(QPoint(0, 0)).y() - height() - 4);
        }
    }
    move(position);
    show();
}

}  // namespace tessarin

namespace tessarin {

void PopoverPanel::openAbove(QWidget* anchor) {
    adjustSize();
    QPoint position = anchor->mapToGlobal(QPoint(0, -height() - 4));
    if (const QScreen* screen = anchor->screen()) {
        const QRect area = screen->availableGeometry();
        position.setX(std::clamp(position.x(), area.left(), std::max(area.left(), area.right() - width())));
        position.setY(std::max(position.y(), area.top()));
    }
    move(position);
    show();
}

}  // namespace tessarin
