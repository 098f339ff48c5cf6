#pragma once

#include <optional>
#include <string_view>

// Reading numbers the way the C locale writes them, whatever locale the process has set.
namespace tessarin::DecimalText {

// The whole text as a decimal floating-point number: optional sign, digits with an optional
// full stop and fraction (".5" and "5." included), optional exponent. Nothing else: no spaces,
// no hexadecimal, no "inf" or "nan". A magnitude too large for a double gives no value; one too
// small rounds to zero as strtod would.
[[nodiscard]] std::optional<double> parse(std::string_view text);

}  // namespace tessarin::DecimalText
