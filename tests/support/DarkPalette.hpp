#pragma once

#include <QColor>
#include <QPalette>

namespace tessarin::test {

// A dark desktop palette as Linux desktops set it, for the widget tests and the screenshots:
// the application has no palette of its own and must read on whichever the desktop gives.
inline QPalette darkPalette() {
    const QColor window(0x26, 0x27, 0x2B);
    const QColor base(0x1E, 0x1F, 0x22);
    const QColor text(0xEC, 0xEC, 0xEE);
    const QColor disabled(0x6A, 0x6B, 0x70);
    QPalette dark;
    dark.setColor(QPalette::Window, window);
    dark.setColor(QPalette::WindowText, text);
    dark.setColor(QPalette::Base, base);
    dark.setColor(QPalette::AlternateBase, QColor(0x2A, 0x2B, 0x30));
    dark.setColor(QPalette::Text, text);
    dark.setColor(QPalette::Button, QColor(0x33, 0x34, 0x39));
    dark.setColor(QPalette::ButtonText, text);
    dark.setColor(QPalette::Highlight, QColor(0x2F, 0x6F, 0xD6));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::ToolTipBase, QColor(0x33, 0x34, 0x39));
    dark.setColor(QPalette::ToolTipText, text);
    dark.setColor(QPalette::PlaceholderText, QColor(0x8A, 0x8B, 0x90));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        dark.setColor(QPalette::Disabled, role, disabled);
    }
    return dark;
}

}  // namespace tessarin::test
