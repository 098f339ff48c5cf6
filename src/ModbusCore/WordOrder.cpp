#include "ModbusCore/WordOrder.hpp"

#include "ModbusCore/AsciiText.hpp"

#include <string>

namespace tessarin {

std::optional<WordOrder> wordOrderFromText(std::string_view text) {
    return wordOrderFromRawValue(AsciiText::lowercased(AsciiText::trimSpacesAndTabs(text)));
}

}  // namespace tessarin
