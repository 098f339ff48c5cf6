#pragma once

#include <QByteArrayView>
#include <QString>

#include <expected>
#include <optional>
#include <string_view>

namespace tessarin::AtomicFile {

// Writes data to path through a temporary file that replaces the target only when every
// byte has been written, so a reader never sees a half-written file and a full disk never
// truncates the file that was there. The parent folder must exist. The error is the
// system's description of what went wrong.
[[nodiscard]] std::expected<void, QString> write(const QString& path, QByteArrayView data);
// The same for the UTF-8 text the lower layers produce.
[[nodiscard]] inline std::expected<void, QString> writeText(const QString& path, std::string_view text) {
    return write(path, QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

// Test seam: from now on the "disk" accepts only this many more bytes per file (none lifts
// the limit). Writes beyond it come back short and then fail as on a full disk.
void setSpaceLimitForTesting(std::optional<qint64> bytes);

}  // namespace tessarin::AtomicFile
