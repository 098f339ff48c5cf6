#pragma once

#include <string>
#include <string_view>

// The small text clean-ups that the tolerant parsers share. They work on ASCII only: every
// word the parsers accept is ASCII, and multi-byte UTF-8 sequences pass through untouched.
namespace tessarin::AsciiText {

// text without leading and trailing spaces and tabs (other white space is kept).
[[nodiscard]] std::string_view trimSpacesAndTabs(std::string_view text);

// text with A-Z turned into a-z.
[[nodiscard]] std::string lowercased(std::string_view text);

// text without any ' ' character.
[[nodiscard]] std::string withoutSpaces(std::string_view text);

}  // namespace tessarin::AsciiText
