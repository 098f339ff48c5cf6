#pragma once

#include <QString>

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace tessarin {

// The kinds of file the panels offer; each view implementation maps them to its own filters.
enum class FileType { json, plainText, commaSeparatedText, tabSeparatedText };

inline constexpr std::array<std::string_view, 4> fileTypeNames{"json", "plainText", "commaSeparatedText",
                                                               "tabSeparatedText"};

constexpr std::string_view rawValue(FileType type) {
    return fileTypeNames[static_cast<std::size_t>(type)];
}

struct OpenPanelRequest {
    std::vector<FileType> allowedTypes;

    bool operator==(const OpenPanelRequest&) const = default;
};

// Save panels always allow creating folders.
struct SavePanelRequest {
    FileType type = FileType::json;
    QString proposedName;

    bool operator==(const SavePanelRequest&) const = default;
};

// A modal alert with two or three buttons, given in the order they are shown.
struct AlertRequest {
    QString message;
    QString informativeText;
    std::vector<QString> buttons;

    bool operator==(const AlertRequest&) const = default;
};

enum class AlertResponse { first, second, third };

// The modal dialogs the model needs from the desktop. Every call runs on the main thread and
// returns when the user has answered. A path is a local file path; none means cancelled.
class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    virtual std::optional<QString> runOpenPanel(const OpenPanelRequest& request) = 0;
    virtual std::optional<QString> runSavePanel(const SavePanelRequest& request) = 0;
    virtual AlertResponse runAlert(const AlertRequest& request) = 0;
};

}  // namespace tessarin
