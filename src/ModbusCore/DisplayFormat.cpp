#include "ModbusCore/DisplayFormat.hpp"

#include "ModbusCore/AsciiText.hpp"

#include <string>

namespace tessarin {

std::optional<DisplayFormat> displayFormatFromText(std::string_view text) {
    const std::string key = AsciiText::lowercased(AsciiText::trimSpacesAndTabs(text));
    if (key.empty() || key == "decimal" || key == "dec") return DisplayFormat::decimal;
    if (key == "hex" || key == "hexadecimal") return DisplayFormat::hex;
    if (key == "binary" || key == "bin") return DisplayFormat::binary;
    return std::nullopt;
}

}  // namespace tessarin
