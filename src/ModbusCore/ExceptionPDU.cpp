#include "ModbusCore/ExceptionPDU.hpp"

namespace tessarin::ExceptionPDU {

std::vector<std::uint8_t> make(std::uint8_t function, ModbusException code) {
    return {static_cast<std::uint8_t>(function | exceptionBit), rawValue(code)};
}

std::optional<std::uint8_t> exception(std::span<const std::uint8_t> pdu) {
    if (pdu.size() < 2 || (pdu[0] & exceptionBit) == 0) return std::nullopt;
    return pdu[1];
}

}  // namespace tessarin::ExceptionPDU
