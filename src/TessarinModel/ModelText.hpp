#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace tessarin {

// The one crossing between the UTF-8 texts of the lower layers (the string table, names in
// the project) and Qt's strings.
[[nodiscard]] inline QString qtText(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

[[nodiscard]] inline std::string utf8Text(const QString& text) {
    return text.toStdString();
}

}  // namespace tessarin
