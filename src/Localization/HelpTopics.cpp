#include "Localization/HelpTopics.hpp"

#include "Localization/HelpTopicTexts.hpp"
#include "Localization/L10n.hpp"

#include <array>
#include <cstddef>
#include <utility>

namespace tessarin::L10n::Help {

const std::vector<HelpTopic>& topics(Language language) {
    static const std::array<std::vector<HelpTopic>, allLanguages.size()> byLanguage{
        HelpTopicTexts::english(L10n::appName(Language::en)),
        HelpTopicTexts::dutch(L10n::appName(Language::nl)),
        HelpTopicTexts::german(L10n::appName(Language::de)),
        HelpTopicTexts::french(L10n::appName(Language::fr)),
        HelpTopicTexts::spanish(L10n::appName(Language::es)),
    };
    return byLanguage[static_cast<std::size_t>(std::to_underlying(language))];
}

}  // namespace tessarin::L10n::Help
