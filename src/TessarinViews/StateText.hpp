#pragma once

#include "TessarinModel/PollerState.hpp"

#include <QString>

namespace tessarin::StateText {

// "Stopped", "Connecting…" or "Reading" in the current language.
[[nodiscard]] QString of(PollerState state);

}  // namespace tessarin::StateText
