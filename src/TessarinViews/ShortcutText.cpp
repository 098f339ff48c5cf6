#include "TessarinViews/ShortcutText.hpp"

namespace tessarin::ShortcutText {

namespace {

constexpr char16_t command = u'⌘';
constexpr char16_t shift = u'⇧';
constexpr char16_t option = u'⌥';

bool isModifier(QChar c) {
    return c == command || c == shift || c == option;
}

std::optional<Qt::Key> keyOf(QChar c) {
    if (c == u'⌫') {
        return Qt::Key_Backspace;
    }
    if (c.isLetter() && c.unicode() < 0x80) {
        return static_cast<Qt::Key>(Qt::Key_A + (c.toUpper().unicode() - u'A'));
    }
    if (c.isDigit()) {
        return static_cast<Qt::Key>(Qt::Key_0 + (c.unicode() - u'0'));
    }
    if (c == u'?') {
        return Qt::Key_Question;
    }
    return std::nullopt;
}

}  // namespace

QKeySequence sequence(QStringView spelled) {
    Qt::KeyboardModifiers modifiers;
    bool hasCommand = false;
    qsizetype i = 0;
    for (; i < spelled.size() && isModifier(spelled[i]); ++i) {
        if (spelled[i] == command) {
            hasCommand = true;
            modifiers |= Qt::ControlModifier;
        } else if (spelled[i] == shift) {
            modifiers |= Qt::ShiftModifier;
        } else {
            modifiers |= Qt::AltModifier;
        }
    }
    if (!hasCommand || i + 1 != spelled.size()) {
        return {};
    }
    const auto key = keyOf(spelled[i]);
    if (!key) {
        return {};
    }
    return QKeySequence(QKeyCombination(modifiers, *key));
}

QString native(const QString& text) {
    QString result;
    result.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        if (!isModifier(text[i])) {
            result += text[i++];
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && isModifier(text[end])) {
            ++end;
        }
        if (end < text.size()) {
            const QKeySequence keys = sequence(QStringView(text).sliced(i, end - i + 1));
            if (!keys.isEmpty()) {
                result += keys.toString(QKeySequence::NativeText);
                i = end + 1;
                continue;
            }
        }
        result += QStringView(text).sliced(i, end - i);
        i = end;
    }
    return result;
}

}  // namespace tessarin::ShortcutText
