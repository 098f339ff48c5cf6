#include "ModbusCore/MBAPHeader.hpp"

#include "ModbusCore/Bytes.hpp"
#include "ModbusCore/Require.hpp"

namespace tessarin {

namespace {

constexpr std::uint16_t modbusProtocolID = 0;
constexpr std::uint16_t minLength = 2;  // unit ID and a function code
constexpr std::uint16_t maxLength = MBAPHeader::maxPDUSize + 1;

}  // namespace

std::vector<std::uint8_t> MBAPHeader::message(std::uint16_t transactionID, std::uint8_t unitID,
                                              std::span<const std::uint8_t> pdu) {
    TESSARIN_REQUIRE(pdu.size() <= 0xFFFE, "the MBAP length field counts the unit ID and the PDU");
    std::vector<std::uint8_t> out;
    out.reserve(size + pdu.size());
    appendUInt16(out, transactionID);
    appendUInt16(out, modbusProtocolID);
    appendUInt16(out, static_cast<std::uint16_t>(pdu.size() + 1));
    out.push_back(unitID);
    out.insert(out.end(), pdu.begin(), pdu.end());
    return out;
}

std::expected<MBAPHeader, MBAPHeader::ParseError> MBAPHeader::parse(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < size) return std::unexpected(ParseError::tooShort());
    const std::uint16_t protocol = uint16At(bytes, 2);
    if (protocol != modbusProtocolID) return std::unexpected(ParseError::unsupportedProtocol(protocol));
    const std::uint16_t length = uint16At(bytes, 4);
    if (length < minLength || length > maxLength) return std::unexpected(ParseError::invalidLength(length));
    return MBAPHeader{uint16At(bytes, 0), protocol, length, bytes[6]};
}

}  // namespace tessarin
