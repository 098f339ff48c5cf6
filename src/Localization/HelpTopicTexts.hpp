#pragma once

#include "Localization/HelpTopic.hpp"

#include <string_view>
#include <vector>

// The help topics written out per language, one source file each so that a translator reviews
// one language in one place. Every language lists the same topics with the same ids, symbols,
// block kinds and screenshot names; only the texts differ. The product name comes in from the
// string table so that it is spelled in one place.
namespace tessarin::HelpTopicTexts {

[[nodiscard]] std::vector<HelpTopic> english(std::string_view appName);
[[nodiscard]] std::vector<HelpTopic> dutch(std::string_view appName);
[[nodiscard]] std::vector<HelpTopic> german(std::string_view appName);
[[nodiscard]] std::vector<HelpTopic> french(std::string_view appName);
[[nodiscard]] std::vector<HelpTopic> spanish(std::string_view appName);

}  // namespace tessarin::HelpTopicTexts
