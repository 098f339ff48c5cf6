#include "ModbusCore/NumberLocale.hpp"

#include <fmt/format.h>
#include <unicode/dcfmtsym.h>
#include <unicode/locid.h>
#include <unicode/numberformatter.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace tessarin {

namespace number = icu::number;

struct NumberLocale::Formatters {
    std::string identifier;
    std::string decimalSeparator;
    number::LocalizedNumberFormatter significant;
    std::array<number::LocalizedNumberFormatter, maxFractionDigits + 1> fixed;
};

namespace {

// From 2^53 on every double is whole, and ICU would print the shortest digits that identify it
// ("18446744073709552000" for 2^64); a 64-bit register value reads better with its exact digits.
constexpr double exactFrom = 9007199254740992.0;

std::string formatWith(const number::LocalizedNumberFormatter& formatter, double value) {
    UErrorCode status = U_ZERO_ERROR;
    number::FormattedNumber formatted;
    if (std::isfinite(value) && std::fabs(value) >= exactFrom) {
        const std::string digits = fmt::format("{:.0f}", value);
        formatted = formatter.formatDecimal(
            icu::StringPiece(digits.data(), static_cast<std::int32_t>(digits.size())), status);
    } else {
        formatted = formatter.formatDouble(value, status);
    }
    std::string out;
    if (U_FAILURE(status)) return out;
    formatted.toString(status).toUTF8String(out);
    return U_SUCCESS(status) ? out : std::string{};
}

}  // namespace

NumberLocale::NumberLocale(std::string_view identifier) {
    const icu::Locale locale(std::string(identifier).c_str());
    const number::UnlocalizedNumberFormatter base =
        number::NumberFormatter::with().grouping(UNUM_GROUPING_OFF);

    auto formatters = std::make_shared<Formatters>(Formatters{
        .identifier = std::string(identifier),
        .decimalSeparator = ".",
        .significant = base.precision(number::Precision::minMaxSignificantDigits(1, maxSignificantDigits))
                           .locale(locale),
        .fixed = {},
    });
    for (int digits = 0; digits <= maxFractionDigits; ++digits) {
        formatters->fixed[static_cast<std::size_t>(digits)] =
            base.precision(number::Precision::fixedFraction(digits)).locale(locale);
    }
    UErrorCode status = U_ZERO_ERROR;
    const icu::DecimalFormatSymbols symbols(locale, status);
    if (U_SUCCESS(status)) {
        std::string separator;
        symbols.getConstSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol).toUTF8String(separator);
        if (!separator.empty()) formatters->decimalSeparator = separator;
    }
    m_formatters = std::move(formatters);
}

std::string NumberLocale::identifierFromEnvironment(const char* lcAll, const char* lcNumeric,
                                                    const char* lang) {
    std::string_view chosen;
    for (const char* candidate : {lcAll, lcNumeric, lang}) {
        if (candidate != nullptr && *candidate != '\0') {
            chosen = candidate;
            break;
        }
    }
    // "de_DE.UTF-8@euro": the codeset and the modifier say nothing about number symbols.
    chosen = chosen.substr(0, chosen.find_first_of(".@"));
    if (chosen.empty() || chosen == "C" || chosen == "POSIX") return "en_US_POSIX";
    return std::string(chosen);
}

const NumberLocale& NumberLocale::current() {
    // NOLINTBEGIN(concurrency-mt-unsafe): nothing in the application changes its environment
    static const NumberLocale locale(
        identifierFromEnvironment(std::getenv("LC_ALL"), std::getenv("LC_NUMERIC"), std::getenv("LANG")));
    // NOLINTEND(concurrency-mt-unsafe)
    return locale;
}

const std::string& NumberLocale::identifier() const {
    return m_formatters->identifier;
}

const std::string& NumberLocale::decimalSeparator() const {
    return m_formatters->decimalSeparator;
}

std::string NumberLocale::significant(double value) const {
    return formatWith(m_formatters->significant, value);
}

std::string NumberLocale::fixed(double value, int fractionDigits) const {
    const auto index = static_cast<std::size_t>(std::clamp(fractionDigits, 0, maxFractionDigits));
    return formatWith(m_formatters->fixed[index], value);
}

}  // namespace tessarin
