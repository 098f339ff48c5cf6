#include "ModbusCore/DecimalText.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace tessarin::DecimalText {

namespace {

constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The decimal exponent of the first significant digit of a validated number: 2 for "123",
// -3 for "0.00123", 5 for "1.2e5". Exponents are saturated so that no text can overflow it.
std::int64_t leadingExponent(std::string_view mantissa, std::int64_t exponent) {
    const std::size_t point = mantissa.find('.');
    const auto integerDigits =
        static_cast<std::int64_t>(point == std::string_view::npos ? mantissa.size() : point);
    std::int64_t index = 0;  // among the digits only
    for (char c : mantissa) {
        if (!isDigit(c)) continue;
        if (c != '0') return integerDigits - 1 - index + exponent;
        ++index;
    }
    return 0;
}

}  // namespace

std::optional<double> parse(std::string_view text) {
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) ++i;
    const std::size_t mantissaStart = i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    const std::string_view mantissa = text.substr(mantissaStart, i - mantissaStart);
    std::int64_t exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        const bool negativeExponent = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (i == text.size() || !isDigit(text[i])) return std::nullopt;
        for (; i < text.size() && isDigit(text[i]); ++i) {
            if (exponent < 1'000'000'000) exponent = exponent * 10 + (text[i] - '0');
        }
        if (negativeExponent) exponent = -exponent;
    }
    if (i != text.size()) return std::nullopt;

    // from_chars takes the C syntax but not a leading plus.
    const std::string_view unsigned_ = text.substr(mantissaStart);
    double magnitude = 0;
    const auto [end, error] =
        std::from_chars(unsigned_.data(), unsigned_.data() + unsigned_.size(), magnitude);
    if (error == std::errc::result_out_of_range) {
        if (leadingExponent(mantissa, exponent) >= 0) return std::nullopt;
        magnitude = 0;
    } else if (error != std::errc{} || end != unsigned_.data() + unsigned_.size() ||
               !std::isfinite(magnitude)) {
        return std::nullopt;
    }
    return negative ? -magnitude : magnitude;
}

}  // namespace tessarin::DecimalText
