#pragma once

#include "ModbusCore/DataType.hpp"
#include "ModbusCore/WordOrder.hpp"

#include <cstdint>
#include <span>
#include <vector>

// Conversions between registers, a type's raw bits and engineering values. A value is reduced
// to a 64-bit pattern (the type's representation in the low bits), the pattern is laid out over
// one, two or four registers in the word order, and the scale turns raw into engineering units.
// A scale of exactly 0 or 1 means "unscaled" in both directions: 0 is never a multiplication by
// zero. Every function is pure and total; only the functions returning registers allocate.
namespace tessarin::ValueCodec {

// The type's raw bits for value. Integer types clamp into the type's range first, then round
// half away from zero (2.5 → 3, −2.5 → −3); NaN gives 0. bool_ is 1 for values above 0.
// float32 rounds to the nearest single (beyond its range: infinity; NaN: the quiet NaN
// 0x7FC00000); float64 is the value's own pattern. uint64 at 2^64 and int64 at or above 2^63
// saturate to their largest value.
[[nodiscard]] std::uint64_t bitsOf(double value, DataType type);

// The value the type's raw bits stand for, widened to double (the low 1, 16, 32 or 64 bits).
[[nodiscard]] double valueOf(std::uint64_t bits, DataType type);

// bits over registerCount(type) registers in address order. A single register is never
// reordered; cdab and dcba reverse all the words, badc and dcba swap the bytes inside each.
[[nodiscard]] std::vector<std::uint16_t> registersFromBits(std::uint64_t bits, DataType type,
                                                           WordOrder order);

// The inverse of registersFromBits over the first registerCount(type) registers; when fewer
// are given it combines those there are (none give 0), reordering only from two on.
[[nodiscard]] std::uint64_t bitsFromRegisters(std::span<const std::uint16_t> registers, DataType type,
                                              WordOrder order);

// The registers to write for an engineering value: value ÷ scale, then bitsOf and the layout.
[[nodiscard]] std::vector<std::uint16_t> registersFor(double value, DataType type, WordOrder order,
                                                      double scale);

// The engineering value of registers: bitsFromRegisters, valueOf, then × scale.
[[nodiscard]] double valueFromRegisters(std::span<const std::uint16_t> registers, DataType type,
                                        WordOrder order, double scale);

// True for the two scales that mean "no scaling", 0 and 1.
[[nodiscard]] constexpr bool isUnscaled(double scale) {
    return scale == 0.0 || scale == 1.0;
}

}  // namespace tessarin::ValueCodec
