#include "Localization/Language.hpp"

#include <cstdlib>

namespace tessarin {

namespace {

constexpr char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// "C", "POSIX" and their encoding or modifier variants ("C.UTF-8") name no language at all.
bool isNeutralLocale(std::string_view identifier) {
    const std::string code = languageCode(identifier);
    return code == "c" || code == "posix";
}

void appendEnvironment(std::vector<std::string>& list, const char* name, bool colonSeparated) {
    // NOLINTNEXTLINE(concurrency-mt-unsafe): nothing in the application changes its environment
    const char* value = std::getenv(name);
    if (value == nullptr) return;
    std::string_view rest{value};
    while (!rest.empty()) {
        const std::size_t end = colonSeparated ? rest.find(':') : std::string_view::npos;
        const std::string_view item = rest.substr(0, end);
        if (!item.empty() && !isNeutralLocale(item)) list.emplace_back(item);
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
}

}  // namespace

std::string languageCode(std::string_view localeIdentifier) {
    std::string code;
    for (const char c : localeIdentifier) {
        if (c == '-' || c == '_' || c == '.' || c == '@') break;
        code.push_back(asciiLower(c));
    }
    return code;
}

Language chooseLanguage(std::span<const std::string> preferredLanguages) {
    for (const std::string& identifier : preferredLanguages) {
        if (const auto language = languageFromRawValue(languageCode(identifier))) return *language;
    }
    return Language::en;
}

std::vector<std::string> preferredLanguagesFromEnvironment() {
    std::vector<std::string> list;
    appendEnvironment(list, "LANGUAGE", true);
    appendEnvironment(list, "LC_ALL", false);
    appendEnvironment(list, "LC_MESSAGES", false);
    appendEnvironment(list, "LANG", false);
    return list;
}

Language currentLanguage() {
    // A function-local static is initialised exactly once even when the first texts are asked
    // for on the main thread and the engine's worker at the same time.
    static const Language current = chooseLanguage(preferredLanguagesFromEnvironment());
    return current;
}

}  // namespace tessarin
