#pragma once

#include <QDateTime>
#include <QString>

#include <expected>
#include <optional>

namespace tessarin::AutosaveFile {

// "project.json" in the folder "Tessarin" of the user's data location; none when the system
// has no such location.
[[nodiscard]] std::optional<QString> defaultPath();

// The name an autosave file that could not be read is kept under, beside the new one:
// "project-unreadable-2025-03-14T091502.json".
[[nodiscard]] QString unreadableName(const QDateTime& now);

// Renames the file at path to unreadableName(now) in the same folder, with " 2", " 3" … before
// the extension when that name is taken. Gives the new path, or the system's reason when the
// file could not be moved.
[[nodiscard]] std::expected<QString, QString> moveAside(const QString& path, const QDateTime& now);

}  // namespace tessarin::AutosaveFile
