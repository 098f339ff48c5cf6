#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessarin::test {

// "0F 00 13" → {0x0F, 0x00, 0x13}; spaces are optional between bytes. Aborts the test
// binary on a malformed literal, which is a mistake in the test itself.
std::vector<std::uint8_t> bytes(std::string_view hex);

// Two-digit upper-case hexadecimal bytes separated by single spaces.
std::string hex(std::span<const std::uint8_t> data);

::testing::AssertionResult bytesEqual(const char* actualExpr, const char* expectedExpr,
                                      std::span<const std::uint8_t> actual, std::string_view expected);

}  // namespace tessarin::test

// EXPECT_BYTES(frame, "0F 00 13 00 0A 02 CD 01") shows both sides as hex on a mismatch.
#define EXPECT_BYTES(actual, expected) EXPECT_PRED_FORMAT2(::tessarin::test::bytesEqual, actual, expected)
#define ASSERT_BYTES(actual, expected) ASSERT_PRED_FORMAT2(::tessarin::test::bytesEqual, actual, expected)
