#include "TessarinModel/AutosaveFile.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace tessarin::AutosaveFile {

std::optional<QString> defaultPath() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty()) {
        return std::nullopt;
    }
    return base + QStringLiteral("/Tessarin/project.json");
}

QString unreadableName(const QDateTime& now) {
    return QStringLiteral("project-unreadable-") + now.toString(QStringLiteral("yyyy-MM-dd'T'HHmmss")) +
           QStringLiteral(".json");
}

std::expected<QString, QString> moveAside(const QString& path, const QDateTime& now) {
    const QDir folder = QFileInfo(path).dir();
    const QString name = unreadableName(now);
    QString target = folder.filePath(name);
    for (int copy = 2; QFileInfo::exists(target); ++copy) {
        target = folder.filePath(name.chopped(5) + QStringLiteral(" %1.json").arg(copy));
    }
    QFile file(path);
    if (!file.rename(target)) {
        return std::unexpected(file.errorString());
    }
    return target;
}

}  // namespace tessarin::AutosaveFile
