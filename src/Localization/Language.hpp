#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessarin {

// The languages every user-visible text exists in. The raw value is the two-letter code.
enum class Language : std::uint8_t { en, nl, de, fr, es };

struct LanguageInfo {
    Language language;
    std::string_view rawValue;
};

inline constexpr std::array<LanguageInfo, 5> languageTable{{
    {Language::en, "en"},
    {Language::nl, "nl"},
    {Language::de, "de"},
    {Language::fr, "fr"},
    {Language::es, "es"},
}};

// Every case, in declaration order.
inline constexpr std::array<Language, languageTable.size()> allLanguages{
    Language::en, Language::nl, Language::de, Language::fr, Language::es};

[[nodiscard]] constexpr std::string_view rawValue(Language language) {
    for (const LanguageInfo& info : languageTable) {
        if (info.language == language) return info.rawValue;
    }
    return {};
}

// Exactly the two-letter code of a case; anything else yields no value.
[[nodiscard]] constexpr std::optional<Language> languageFromRawValue(std::string_view raw) {
    for (const LanguageInfo& info : languageTable) {
        if (info.rawValue == raw) return info.language;
    }
    return std::nullopt;
}

// The language code of a locale identifier such as "de-CH", "fr_CA.UTF-8" or "nl": the
// leading subtag, lower-cased. Empty when the identifier has no language subtag.
[[nodiscard]] std::string languageCode(std::string_view localeIdentifier);

// The first identifier, in the user's order, whose language code is one of ours; English when
// none is (or the list is empty).
[[nodiscard]] Language chooseLanguage(std::span<const std::string> preferredLanguages);

// The preferred-language list of this process's environment: the colon-separated LANGUAGE,
// then LC_ALL, LC_MESSAGES and LANG; unset or empty entries and the C and POSIX locales are
// left out.
[[nodiscard]] std::vector<std::string> preferredLanguagesFromEnvironment();

// The process-wide language, chosen from the environment at the first call (from whichever
// thread comes first) and the same for the rest of the run.
[[nodiscard]] Language currentLanguage();

}  // namespace tessarin
