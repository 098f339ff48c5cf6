#pragma once

#include "PollerCore/PollerProject.hpp"

namespace tessarin {

// The project of the first start (and of any start without a usable autosave): one poll
// of seven datapoints of a local test device, named in the current language.
[[nodiscard]] PollerProject makeExampleProject();

}  // namespace tessarin
