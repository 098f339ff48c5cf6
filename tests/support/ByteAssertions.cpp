#include "support/ByteAssertions.hpp"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace tessarin::test {

namespace {

int nibble(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    std::fprintf(stderr, "bad hex digit '%c' in a test literal\n", c);
    std::abort();
}

}  // namespace

std::vector<std::uint8_t> bytes(std::string_view hex) {
    std::vector<std::uint8_t> out;
    std::size_t i = 0;
    while (i < hex.size()) {
        if (std::isspace(static_cast<unsigned char>(hex[i])) != 0) {
            ++i;
            continue;
        }
        if (i + 1 >= hex.size()) nibble('?');
        out.push_back(static_cast<std::uint8_t>(nibble(hex[i]) * 16 + nibble(hex[i + 1])));
        i += 2;
    }
    return out;
}

std::string hex(std::span<const std::uint8_t> data) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (i > 0) out += ' ';
        out += digits[data[i] >> 4];
        out += digits[data[i] & 0x0F];
    }
    return out;
}

::testing::AssertionResult bytesEqual(const char* actualExpr, const char*,
                                      std::span<const std::uint8_t> actual, std::string_view expected) {
    const std::vector<std::uint8_t> want = bytes(expected);
    if (std::equal(actual.begin(), actual.end(), want.begin(), want.end())) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << actualExpr << " is [" << hex(actual) << "]\n"
                                         << "      expected [" << hex(want) << "]";
}

}  // namespace tessarin::test
