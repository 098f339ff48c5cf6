#include "TessarinModel/ProjectStore.hpp"

#include "TessarinModel/AtomicFile.hpp"
#include "TessarinModel/AutosaveFile.hpp"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <string_view>
#include <utility>

namespace tessarin {

ProjectStore::ProjectStore(std::function<void()> autosaveDue) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(autosaveDelayMs);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [due = std::move(autosaveDue)] { due(); });
}

std::optional<PollerProject> ProjectStore::loadAutosave() {
    const auto path = AutosaveFile::defaultPath();
    if (!path || !QFileInfo::exists(*path)) {
        return std::nullopt;
    }
    auto project = readFile(*path);
    if (!project) {
        m_autosaveUnreadable = true;
    }
    return project;
}

void ProjectStore::scheduleAutosave() {
    m_timer.start();
}

bool ProjectStore::writeAutosave(const PollerProject& project) {
    m_timer.stop();
    const auto path = AutosaveFile::defaultPath();
    if (!path || !QDir().mkpath(QFileInfo(*path).path())) {
        return false;
    }
    const std::string text = project.document();
    if (m_autosaveUnreadable) {
        if (QFileInfo::exists(*path) && !AutosaveFile::moveAside(*path, QDateTime::currentDateTime())) {
            return false;
        }
        m_autosaveUnreadable = false;
    }
    return AtomicFile::writeText(*path, text).has_value();
}

std::optional<PollerProject> ProjectStore::readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    auto project = PollerProject::fromDocument(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!project) {
        return std::nullopt;
    }
    return std::move(*project);
}

std::expected<void, QString> ProjectStore::writeFile(const QString& path, const PollerProject& project) {
    auto written = AtomicFile::writeText(path, project.document());
    if (!written) {
        return std::unexpected(std::move(written.error()));
    }
    return {};
}

}  // namespace tessarin
