#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tessarin {

// Locale-aware decimal text for numbers shown to people: the locale's decimal separator and
// minus sign, never grouping separators. Copies are cheap and share the prepared formatters;
// a NumberLocale is immutable and may be used from any thread.
class NumberLocale {
public:
    // An ICU locale identifier such as "en_US", "de_DE" or "nl_NL". An identifier ICU does not
    // know falls back to ICU's root data (full stop, hyphen-minus).
    explicit NumberLocale(std::string_view identifier);

    // The user's locale, from LC_ALL, then LC_NUMERIC, then LANG (the first that is set and not
    // empty; codeset and modifier dropped). "C", "POSIX" or none at all mean en_US_POSIX. The
    // environment is read once, on the first call.
    [[nodiscard]] static const NumberLocale& current();

    // The identifier current() would choose for these variable values (nullptr = unset).
    [[nodiscard]] static std::string identifierFromEnvironment(const char* lcAll, const char* lcNumeric,
                                                               const char* lang);

    // The identifier this locale was made with.
    [[nodiscard]] const std::string& identifier() const;

    // The locale's decimal separator, UTF-8 ("." or "," for most).
    [[nodiscard]] const std::string& decimalSeparator() const;

    // value with 1 to 7 significant digits (123456789 → "123456800", 0.1f → "0.1"). Finite
    // values only; infinities and NaN are the caller's to spell.
    [[nodiscard]] std::string significant(double value) const;

    // value with exactly fractionDigits (0 to 6, clamped) fraction digits, rounded by ICU's
    // default rounding. Finite values only.
    [[nodiscard]] std::string fixed(double value, int fractionDigits) const;

    static constexpr int maxSignificantDigits = 7;
    static constexpr int maxFractionDigits = 6;

private:
    struct Formatters;
    std::shared_ptr<const Formatters> m_formatters;
};

}  // namespace tessarin
