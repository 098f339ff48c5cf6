#pragma once

#include "PollerCore/PollerProject.hpp"

#include <QString>
#include <QTimer>

#include <expected>
#include <functional>
#include <optional>

namespace tessarin {

// The project on disk: the autosave file with its debounce and its care for a file that could
// not be read, and the project files the user opens and saves. Knows nothing of the model's
// properties; the model hands it whole projects. Main thread only.
class ProjectStore {
public:
    static constexpr int autosaveDelayMs = 1000;

    // autosaveDue runs on the main thread once a scheduled autosave's delay has passed.
    explicit ProjectStore(std::function<void()> autosaveDue);

    // The autosaved project, or none when there is no file or no data folder. A file that is
    // there but cannot be read gives none too, and is moved aside before the first autosave
    // replaces it: it may hold the user's only copy of a project.
    [[nodiscard]] std::optional<PollerProject> loadAutosave();

    // (Re)starts the delay; edits in quick succession give one autosave.
    void scheduleAutosave();
    [[nodiscard]] bool autosavePending() const { return m_timer.isActive(); }
    // Writes the project as the autosave now and cancels a pending one. False when nothing
    // was written: no data folder, the unreadable file could not be moved aside (the next
    // autosave tries again), or the write failed. Autosave failures are not shown to anybody.
    bool writeAutosave(const PollerProject& project);

    // A project file's project; none when it cannot be read or decoded.
    [[nodiscard]] static std::optional<PollerProject> readFile(const QString& path);
    // Writes the project's document atomically; the system's reason on failure.
    [[nodiscard]] static std::expected<void, QString> writeFile(const QString& path,
                                                                const PollerProject& project);

private:
    QTimer m_timer;
    bool m_autosaveUnreadable = false;
};

}  // namespace tessarin
