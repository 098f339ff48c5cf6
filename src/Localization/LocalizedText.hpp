#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include <fmt/format.h>

#include "Localization/Language.hpp"

namespace tessarin {

// One key's five texts, in the order of Language: English, Dutch, German, French, Spanish.
// Built at compile time only, so a text that is empty, has unbalanced braces, or names other
// values than the English text does not compile.
class LocalizedText {
public:
    consteval LocalizedText(std::string_view english, std::string_view dutch, std::string_view german,
                            std::string_view french, std::string_view spanish)
        : m_texts{english, dutch, german, french, spanish} {
        for (const std::string_view text : m_texts) {
            if (text.empty()) fail("every language needs a text");
            if (!sameValues(m_texts[0], text)) fail("every language must embed the same values");
        }
    }

    // A text that is deliberately identical in every language (a product name, a unit).
    static consteval LocalizedText same(std::string_view text) { return {text, text, text, text, text}; }

    [[nodiscard]] constexpr std::string_view in(Language language) const {
        return m_texts[static_cast<std::size_t>(std::to_underlying(language))];
    }

private:
    // Not constexpr: reaching it during constant evaluation stops the compilation.
    static void fail(const char* /*why*/) {}

    struct Values {
        std::array<std::string_view, 8> names{};
        std::size_t count = 0;
        bool wellFormed = true;
    };

    // The {name} markers of a text, sorted. "{{" and "}}" are literal braces.
    static consteval Values valuesIn(std::string_view text) {
        Values values;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '}') {
                if (i + 1 < text.size() && text[i + 1] == '}') {
                    ++i;
                    continue;
                }
                values.wellFormed = false;
                return values;
            }
            if (text[i] != '{') continue;
            if (i + 1 < text.size() && text[i + 1] == '{') {
                ++i;
                continue;
            }
            const std::size_t close = text.find('}', i);
            if (close == std::string_view::npos || close == i + 1 || values.count == values.names.size()) {
                values.wellFormed = false;
                return values;
            }
            const std::string_view name = text.substr(i + 1, close - i - 1);
            for (const char c : name) {
                const bool identifier =
                    (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
                if (!identifier) values.wellFormed = false;
            }
            std::size_t at = values.count++;
            while (at > 0 && values.names[at - 1] > name) {
                values.names[at] = values.names[at - 1];
                --at;
            }
            values.names[at] = name;
            i = close;
        }
        return values;
    }

    static consteval bool sameValues(std::string_view reference, std::string_view text) {
        const Values expected = valuesIn(reference);
        const Values actual = valuesIn(text);
        if (!expected.wellFormed || !actual.wellFormed || expected.count != actual.count) return false;
        for (std::size_t i = 0; i < expected.count; ++i) {
            if (expected.names[i] != actual.names[i]) return false;
        }
        return true;
    }

    std::array<std::string_view, 5> m_texts;
};

namespace l10n_detail {

// Whether a counted text takes its singular form. French counts zero as singular as well
// ("0 point de données trouvé"); the other languages only one.
[[nodiscard]] constexpr bool takesSingular(std::int64_t count, Language language) {
    return count == 1 || (count == 0 && language == Language::fr);
}

[[nodiscard]] inline std::string fixed(Language language, const LocalizedText& text) {
    return std::string(text.in(language));
}

// Fills the {name} markers of the chosen text with fmt::arg values. The markers were checked
// when the table was compiled; a marker without a value is a programming error that the
// table's tests catch for every key and language.
template <typename... Values>
[[nodiscard]] std::string filled(Language language, const LocalizedText& text, const Values&... values) {
    return fmt::format(fmt::runtime(text.in(language)), values...);
}

}  // namespace l10n_detail

}  // namespace tessarin
