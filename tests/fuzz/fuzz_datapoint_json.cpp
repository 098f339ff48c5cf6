// Datapoint JSON decode over arbitrary bytes: never a crash, and whatever decodes survives an
// encode and a second decode unchanged. The decoded record's text functions run as well, fed
// with its own strings, since a project file is where their input comes from.
#include "ModbusCore/Datapoint.hpp"
#include "ModbusCore/NumberLocale.hpp"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const tessarin::NumberLocale german("de_DE");
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const nlohmann::json parsed = nlohmann::json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (parsed.is_discarded()) return 0;

    const auto decoded = tessarin::Datapoint::fromJSON(parsed);
    if (!decoded) return 0;
    const tessarin::Datapoint& point = *decoded;
    if (tessarin::isBit(point.table) && point.dataType != tessarin::DataType::bool_) std::abort();

    const auto again = tessarin::Datapoint::fromJSON(nlohmann::json::parse(point.toJSON().dump()));
    if (!again || *again != point) std::abort();

    (void)point.formatted(point.value, german);
    (void)point.parse(point.name);
    (void)point.parse(point.notes);
    (void)tessarin::Datapoint::parseNumber(point.engineeringUnit);
    (void)point.simulation.valueAt(point.value);
    (void)point.valueFromRegisters(point.registersFor(point.value));
    return 0;
}
