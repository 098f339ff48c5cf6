#pragma once

#include "ModbusCore/DataType.hpp"
#include "ModbusCore/DisplayFormat.hpp"
#include "ModbusCore/JSONDecodeError.hpp"
#include "ModbusCore/NumberLocale.hpp"
#include "ModbusCore/RegisterTable.hpp"
#include "ModbusCore/Simulation.hpp"
#include "ModbusCore/Uuid.hpp"
#include "ModbusCore/WordOrder.hpp"

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <cstdint>
#include <expected>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessarin {

// The addresses a datapoint covers, lower ... upper inclusive; upper may pass 65535.
struct AddressRange {
    int lower;
    int upper;

    bool operator==(const AddressRange&) const = default;
};

// One value the user reads from (and perhaps writes to) a device.
//
// Invariant: a datapoint in a bit table (coil, discreteInput) has the type bool_. make(),
// fromJSON() and setTable() keep it; code that assigns table or dataType directly must keep it
// itself (the type choosers offer allowedDataTypes(table) only).
struct Datapoint {
    Uuid id = Uuid::random();
    std::string name;
    std::uint8_t unitID = 1;
    RegisterTable table = RegisterTable::holdingRegister;
    std::uint16_t address = 0;  // protocol address, 0-based
    DataType dataType = DataType::uint16;
    WordOrder wordOrder = WordOrder::abcd;
    double scale = 1;  // engineering = raw × scale; 0 and 1 both mean unscaled
    std::string engineeringUnit;
    DisplayFormat format = DisplayFormat::decimal;
    double value = 0;  // a value kept with the datapoint, in engineering units
    std::string notes;
    Simulation simulation;

    // The memberwise form: fields as given, but bool_ whenever the table is a bit table.
    [[nodiscard]] static Datapoint make(Datapoint fields);

    // Addresses occupied: 1 in a bit table, else the type's register count.
    [[nodiscard]] int count() const;
    // address ... address + count − 1, without wrapping.
    [[nodiscard]] AddressRange addressRange() const;
    // address + count − 1, or no value when that passes 65535.
    [[nodiscard]] std::optional<std::uint16_t> lastAddress() const;
    // "40001" for holding register 0 (see tessarin::modiconAddress).
    [[nodiscard]] std::string modiconAddress() const;

    // A bit table makes the type bool_; a register table turns bool_ into uint16 and keeps any
    // other type.
    void setTable(RegisterTable newTable);

    // Same unit, same table, and at least one address in common.
    [[nodiscard]] bool overlaps(const Datapoint& other) const;

    // ValueCodec with this datapoint's type, word order and scale.
    [[nodiscard]] std::vector<std::uint16_t> registersFor(double engineeringValue) const;
    [[nodiscard]] double valueFromRegisters(std::span<const std::uint16_t> registers) const;

    // The display text of an engineering value. Bit tables and bool_: "1" or "0". Floating
    // types: 1 to 7 significant digits. Integer types by format: decimal with the fraction
    // digits the scale calls for (0.1 → 1, 0.25 → 1, 0.0001 → 4, at most 6); "0x04D2" padded to
    // the type's width; binary digits padded likewise, in groups of four. Infinities show "∞"
    // and "-∞", NaN "NaN".
    [[nodiscard]] std::string formatted(double engineeringValue,
                                        const NumberLocale& locale = NumberLocale::current()) const;

    // The display text of registers as read. A double holds 53 bits, so 64-bit integers without
    // a scale are shown from their bits, exact in every digit and in hexadecimal and binary;
    // everything else is formatted(valueFromRegisters(registers)). Fewer registers than the
    // type spans are read as valueFromRegisters reads them.
    [[nodiscard]] std::string formattedRegisters(std::span<const std::uint16_t> registers,
                                                 const NumberLocale& locale = NumberLocale::current()) const;

    // What the user typed, as an engineering value for this datapoint, or no value when it is
    // not a valid value. Accepts on/off words (in the five languages) for bits, "0x…" raw bits
    // for every non-bit type and "0b…" for the integer types, decimal numbers with a full stop
    // or a decimal comma, and checks that the raw value fits the type.
    [[nodiscard]] std::optional<double> parse(std::string_view text) const;

    // A finite decimal number in C syntax after trimming spaces and tabs; a decimal comma is
    // accepted when the text has no full stop. No range check.
    [[nodiscard]] static std::optional<double> parseNumber(std::string_view text);

    // The object with all thirteen keys; enumerations as raw values, the id in upper case.
    [[nodiscard]] nlohmann::json toJSON() const;

    // Every key optional (missing or null takes its default; a missing id a fresh one); a wrong
    // JSON type, an unknown case name, a unitID beyond 0 ... 255 or an address beyond
    // 0 ... 65535 fails the whole decode. The bit-table invariant is applied afterwards.
    [[nodiscard]] static std::expected<Datapoint, JSONDecodeError> fromJSON(const nlohmann::json& json);

    bool operator==(const Datapoint&) const = default;
};

}  // namespace tessarin

// Over all fields, consistent with operator== (0.0 and -0.0 hash alike).
template <>
struct std::hash<tessarin::Datapoint> {
    std::size_t operator()(const tessarin::Datapoint& point) const noexcept;
};
