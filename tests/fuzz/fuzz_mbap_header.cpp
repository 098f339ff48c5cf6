// MBAP header parsing over arbitrary bytes; every accepted header must rebuild to the same
// seven bytes.
#include "ModbusCore/MBAPHeader.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

using namespace tessarin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    const auto header = MBAPHeader::parse(input);
    if (!header) return 0;
    if (header->pduSize() < 1 || header->pduSize() > MBAPHeader::maxPDUSize) __builtin_trap();
    const std::vector<std::uint8_t> pdu(header->pduSize(), 0);
    const std::vector<std::uint8_t> message = MBAPHeader::message(header->transactionID, header->unitID, pdu);
    if (!std::equal(message.begin(), message.begin() + MBAPHeader::size, input.begin())) __builtin_trap();
    return 0;
}
