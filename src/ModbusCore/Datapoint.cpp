#include "ModbusCore/Datapoint.hpp"

#include "ModbusCore/AsciiText.hpp"
#include "ModbusCore/DecimalText.hpp"
#include "ModbusCore/JSONFields.hpp"
#include "ModbusCore/ValueCodec.hpp"

#include <fmt/format.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <system_error>
#include <utility>

namespace tessarin {

namespace {

constexpr int maxAddress = 65535;

// The on/off words of the five languages people type into a bit's value field.
constexpr std::array<std::string_view, 10> onWords{"1",   "on", "true", "aan", "ein",
                                                   "oui", "si", "sí",   "yes", "ja"};
constexpr std::array<std::string_view, 9> offWords{"0",   "off", "false", "uit", "aus",
                                                   "non", "no",  "nee",   "nein"};

// Bits of the type: 16, 32 or 64 (bool_ never reaches the callers).
int bitWidth(DataType type) {
    return 16 * registerCount(type);
}

// Fraction digits for an integer type's decimal text: enough to show one step of the scale
// (0.1 → 1, 0.25 → 1, 0.01 → 2), none for unscaled or coarse scales, at most six. Counted up
// instead of taken from log10, whose last bit would turn 0.001 into four digits.
int fractionDigits(double scale) {
    const double magnitude = std::fabs(scale);
    if (scale == 0.0 || magnitude >= 1.0) return 0;
    double step = magnitude;
    int digits = 0;
    while (digits < NumberLocale::maxFractionDigits && step < 1.0 - 1e-9) {
        step *= 10.0;
        ++digits;
    }
    return digits;
}

std::string decimalText(double value, bool floating, int digits, const NumberLocale& locale) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-∞" : "∞";
    if (floating) return locale.significant(value);
    // A register holds no negative zero; one only appears from scaling, and "-0" would look
    // like a reading.
    return locale.fixed(value == 0.0 ? 0.0 : value, digits);
}

std::string groupedBinary(std::uint64_t bits, int width) {
    const std::string digits = fmt::format("{:0{}b}", bits, width);
    std::string out;
    out.reserve(digits.size() + digits.size() / 4);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && i % 4 == 0) out += ' ';
        out += digits[i];
    }
    return out;
}

// Unicode lower case, so that "SÍ" is as good as "sí".
std::string lowercased(std::string_view text) {
    std::string out;
    icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<std::int32_t>(text.size())))
        .toLower(icu::Locale::getRoot())
        .toUTF8String(out);
    return out;
}

// The decimal-comma rule shared by parse and parseNumber: commas are decimal separators only in
// a text without a full stop ("1,5" yes, "1,000.5" no).
std::string withDecimalComma(std::string_view text) {
    std::string out(text);
    if (out.find('.') == std::string::npos) std::ranges::replace(out, ',', '.');
    return out;
}

std::optional<std::uint64_t> unsignedInBase(std::string_view digits, int base) {
    if (digits.empty()) return std::nullopt;
    std::uint64_t number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number, base);
    if (error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
    return number;
}

}  // namespace

Datapoint Datapoint::make(Datapoint fields) {
    if (isBit(fields.table)) fields.dataType = DataType::bool_;
    return fields;
}

int Datapoint::count() const {
    return isBit(table) ? 1 : registerCount(dataType);
}

AddressRange Datapoint::addressRange() const {
    return {address, address + count() - 1};
}

std::optional<std::uint16_t> Datapoint::lastAddress() const {
    const int last = addressRange().upper;
    if (last > maxAddress) return std::nullopt;
    return static_cast<std::uint16_t>(last);
}

std::string Datapoint::modiconAddress() const {
    return tessarin::modiconAddress(table, address);
}

void Datapoint::setTable(RegisterTable newTable) {
    table = newTable;
    if (isBit(table)) {
        dataType = DataType::bool_;
    } else if (dataType == DataType::bool_) {
        dataType = DataType::uint16;
    }
}

bool Datapoint::overlaps(const Datapoint& other) const {
    if (unitID != other.unitID || table != other.table) return false;
    const AddressRange mine = addressRange();
    const AddressRange theirs = other.addressRange();
    return mine.lower <= theirs.upper && theirs.lower <= mine.upper;
}

std::vector<std::uint16_t> Datapoint::registersFor(double engineeringValue) const {
    return ValueCodec::registersFor(engineeringValue, dataType, wordOrder, scale);
}

double Datapoint::valueFromRegisters(std::span<const std::uint16_t> registers) const {
    return ValueCodec::valueFromRegisters(registers, dataType, wordOrder, scale);
}

std::string Datapoint::formatted(double engineeringValue, const NumberLocale& locale) const {
    if (isBit(table) || dataType == DataType::bool_) return engineeringValue != 0.0 ? "1" : "0";
    if (isFloat(dataType)) return decimalText(engineeringValue, true, 0, locale);
    if (format == DisplayFormat::decimal) {
        return decimalText(engineeringValue, false, fractionDigits(scale), locale);
    }
    const double raw = ValueCodec::isUnscaled(scale) ? engineeringValue : engineeringValue / scale;
    const std::uint64_t bits = ValueCodec::bitsOf(raw, dataType);
    const int width = bitWidth(dataType);
    if (format == DisplayFormat::hex) return fmt::format("0x{:0{}X}", bits, width / 4);
    return groupedBinary(bits, width);
}

std::string Datapoint::formattedRegisters(std::span<const std::uint16_t> registers,
                                          const NumberLocale& locale) const {
    const bool wide = dataType == DataType::uint64 || dataType == DataType::int64;
    if (isBit(table) || !wide || !ValueCodec::isUnscaled(scale) ||
        registers.size() < static_cast<std::size_t>(registerCount(dataType))) {
        return formatted(valueFromRegisters(registers), locale);
    }
    const std::uint64_t bits = ValueCodec::bitsFromRegisters(registers, dataType, wordOrder);
    if (format == DisplayFormat::hex) return fmt::format("0x{:016X}", bits);
    if (format == DisplayFormat::binary) return groupedBinary(bits, 64);
    if (dataType == DataType::uint64 || bits >> 63 == 0) return fmt::format("{}", bits);
    // The locale's own minus sign, as formatted() shows it; the magnitude of a negative
    // two's-complement value is its negation, exact even for the most negative.
    std::string minus = locale.fixed(-1.0, 0);
    minus.pop_back();
    return minus + fmt::format("{}", ~bits + 1);
}

std::optional<double> Datapoint::parse(std::string_view text) const {
    const std::string key = AsciiText::withoutSpaces(lowercased(AsciiText::trimSpacesAndTabs(text)));

    if (isBit(table) || dataType == DataType::bool_) {
        if (std::ranges::find(onWords, key) != onWords.end()) return 1.0;
        if (std::ranges::find(offWords, key) != offWords.end()) return 0.0;
        return std::nullopt;
    }

    const bool unscaled = ValueCodec::isUnscaled(scale);
    const bool hex = key.starts_with("0x");
    if (hex || key.starts_with("0b")) {
        if (!hex && isFloat(dataType)) return std::nullopt;
        const std::optional<std::uint64_t> bits =
            unsignedInBase(std::string_view(key).substr(2), hex ? 16 : 2);
        if (!bits) return std::nullopt;
        const int width = bitWidth(dataType);
        if (width < 64 && *bits >> width != 0) return std::nullopt;
        const double fromBits = ValueCodec::valueOf(*bits, dataType);
        return unscaled ? fromBits : fromBits * scale;
    }

    const std::optional<double> number = DecimalText::parse(withDecimalComma(key));
    if (!number) return std::nullopt;
    const double raw = unscaled ? *number : *number / scale;
    const ValueRange allowed = range(dataType);
    if (allowed.contains(std::round(raw)) || (isFloat(dataType) && allowed.contains(raw))) return number;
    return std::nullopt;
}

std::optional<double> Datapoint::parseNumber(std::string_view text) {
    return DecimalText::parse(withDecimalComma(AsciiText::trimSpacesAndTabs(text)));
}

nlohmann::json Datapoint::toJSON() const {
    return nlohmann::json{
        {"id", id.text()},
        {"name", name},
        {"unitID", unitID},
        {"table", rawValue(table)},
        {"address", address},
        {"dataType", rawValue(dataType)},
        {"wordOrder", rawValue(wordOrder)},
        {"scale", scale},
        {"engineeringUnit", engineeringUnit},
        {"format", rawValue(format)},
        {"value", value},
        {"notes", notes},
        {"simulation", simulation.toJSON()},
    };
}

std::expected<Datapoint, JSONDecodeError> Datapoint::fromJSON(const nlohmann::json& json) {
    using Reason = JSONDecodeError::Reason;
    if (!json.is_object()) return std::unexpected(JSONDecodeError{Reason::notAnObject, ""});

    Datapoint point;
    if (const nlohmann::json* id = JSONFields::present(json, "id")) {
        if (!id->is_string()) return std::unexpected(JSONDecodeError{Reason::wrongType, "id"});
        const std::optional<Uuid> parsed = Uuid::parse(id->get_ref<const std::string&>());
        if (!parsed) return std::unexpected(JSONDecodeError{Reason::invalidUuid, "id"});
        point.id = *parsed;
    }
    std::optional<JSONDecodeError> error = JSONFields::readString(json, "name", point.name);
    if (!error) error = JSONFields::readUnsigned<std::uint8_t>(json, "unitID", 255, point.unitID);
    if (!error) error = JSONFields::readCase(json, "table", registerTableFromRawValue, point.table);
    if (!error) error = JSONFields::readUnsigned<std::uint16_t>(json, "address", 65535, point.address);
    if (!error) error = JSONFields::readCase(json, "dataType", dataTypeFromRawValue, point.dataType);
    if (!error) error = JSONFields::readCase(json, "wordOrder", wordOrderFromRawValue, point.wordOrder);
    if (!error) error = JSONFields::readDouble(json, "scale", point.scale);
    if (!error) error = JSONFields::readString(json, "engineeringUnit", point.engineeringUnit);
    if (!error) error = JSONFields::readCase(json, "format", displayFormatFromRawValue, point.format);
    if (!error) error = JSONFields::readDouble(json, "value", point.value);
    if (!error) error = JSONFields::readString(json, "notes", point.notes);
    if (error) return std::unexpected(*error);

    if (const nlohmann::json* simulation = JSONFields::present(json, "simulation")) {
        auto decoded = Simulation::fromJSON(*simulation);
        if (!decoded) {
            JSONDecodeError nested = decoded.error();
            nested.key = nested.key.empty() ? "simulation" : "simulation." + nested.key;
            return std::unexpected(nested);
        }
        point.simulation = *decoded;
    }
    return make(std::move(point));
}

}  // namespace tessarin

std::size_t std::hash<tessarin::Datapoint>::operator()(const tessarin::Datapoint& point) const noexcept {
    std::size_t seed = std::hash<tessarin::Uuid>{}(point.id);
    const auto mix = [&seed](std::size_t value) {
        seed ^= value + 0x9E3779B97F4A7C15ULL + (seed << 6) + (seed >> 2);
    };
    const auto number = [](double value) { return std::hash<double>{}(value == 0.0 ? 0.0 : value); };
    mix(std::hash<std::string>{}(point.name));
    mix(point.unitID);
    mix(std::to_underlying(point.table));
    mix(point.address);
    mix(std::to_underlying(point.dataType));
    mix(std::to_underlying(point.wordOrder));
    mix(number(point.scale));
    mix(std::hash<std::string>{}(point.engineeringUnit));
    mix(std::to_underlying(point.format));
    mix(number(point.value));
    mix(std::hash<std::string>{}(point.notes));
    mix(std::to_underlying(point.simulation.kind));
    mix(number(point.simulation.minimum));
    mix(number(point.simulation.maximum));
    mix(number(point.simulation.period));
    return seed;
}
