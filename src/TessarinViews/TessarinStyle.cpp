#include "TessarinViews/TessarinStyle.hpp"

#include "TessarinViews/Theme.hpp"

#include <QApplication>
#include <QPainter>
#include <QStyleOption>

#include <algorithm>

namespace tessarin {

TessarinStyle::TessarinStyle(const QString& baseKey) : QProxyStyle(baseKey) {}

void TessarinStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                  const QWidget* widget) const {
    if ((element != PE_IndicatorCheckBox && element != PE_IndicatorItemViewItemCheck) || option == nullptr ||
        painter == nullptr) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const QStyle::State state = option->state;
    // A box in a square, however the caller shaped the rectangle.
    const int side = std::min(option->rect.width(), option->rect.height());
    QRectF box(0, 0, side, side);
    box.moveCenter(QRectF(option->rect).center());
    painter->save();
    if (!state.testFlag(State_Enabled)) painter->setOpacity(painter->opacity() * Theme::disabledOpacity);
    // A partly ticked box shows as ticked: none of the application's boxes is tri-state.
    const bool checked = state.testAnyFlags(State_On | State_NoChange);
    // Menus draw their check items on the highlight when the pointer is over them.
    Theme::drawCheckBox(*painter, box, checked, option->palette, state.testFlag(State_Selected));
    painter->restore();
}

void TessarinStyle::install() {
    if (qobject_cast<TessarinStyle*>(QApplication::style()) != nullptr) return;
    QApplication::setStyle(new TessarinStyle(QApplication::style()->name()));
}

}  // namespace tessarin
