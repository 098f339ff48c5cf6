#pragma once

#include <QKeySequence>
#include <QString>
#include <QStringView>

// The string table spells shortcuts the way one platform shows them ("⌘R", "⇧⌘D", "⌘⌫");
// people on every other platform should read their own ("Ctrl+R", German "Strg+R").
namespace tessarin::ShortcutText {

// The key sequence a spelled shortcut stands for: ⌘ is Ctrl (Qt shows ⌘ on macOS), ⇧ Shift,
// ⌥ Alt; an empty sequence when the text is no shortcut.
[[nodiscard]] QKeySequence sequence(QStringView spelled);

// The text with every spelled shortcut in it replaced by the platform's own text.
[[nodiscard]] QString native(const QString& text);

}  // namespace tessarin::ShortcutText
