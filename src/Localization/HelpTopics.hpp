#pragma once

#include "Localization/HelpTopic.hpp"
#include "Localization/Language.hpp"

#include <vector>

namespace tessarin::L10n::Help {

// The help topics in reading order. Every language has the same topics with the same ids,
// symbols, block kinds and screenshot names; only the texts differ. Built once per language
// on first use and shared read-only afterwards, so any thread may ask.
[[nodiscard]] const std::vector<HelpTopic>& topics(Language language = currentLanguage());

}  // namespace tessarin::L10n::Help
