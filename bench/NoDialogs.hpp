#pragma once

#include "TessarinModel/DesktopServices.hpp"

#include <QString>

#include <optional>

namespace tessarin::bench {

// Desktop services for a benchmark's model: every panel is cancelled and every alert answered
// with its last button, so that nothing waits for a person.
class NoDialogs final : public DesktopServices {
public:
    std::optional<QString> runOpenPanel(const OpenPanelRequest&) override { return std::nullopt; }
    std::optional<QString> runSavePanel(const SavePanelRequest&) override { return std::nullopt; }
    AlertResponse runAlert(const AlertRequest&) override { return AlertResponse::third; }
};

}  // namespace tessarin::bench
