// The read and write response checks over arbitrary responses, requests and quantities.
// Input: one byte choosing the table and splitting the rest, two bytes of quantity (signed, so
// that negative counts are tried), then response bytes and request bytes.
#include "ModbusCore/ExceptionPDU.hpp"
#include "ModbusCore/PDU.hpp"

#include <cstddef>
#include <cstdint>
#include <span>

using namespace tessarin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::span<const std::uint8_t> input(data, size);
    const RegisterTable table = allRegisterTables[input[0] & 0x03];
    const auto count = static_cast<int>(static_cast<std::int16_t>((input[1] << 8) | input[2]));
    const std::span<const std::uint8_t> rest = input.subspan(3);

    const auto read = PDU::parseRead(rest, table, count);
    if (read) {
        // Success means exactly the quantity asked for, of the kind the table holds.
        const std::size_t got = isBit(table) ? read->bitValues()->size() : read->registerValues()->size();
        if (got != static_cast<std::size_t>(count)) __builtin_trap();
    } else if (read.error().kind == PDU::ResponseError::Kind::exception && !ExceptionPDU::exception(rest)) {
        __builtin_trap();
    }

    const std::size_t split = rest.empty() ? 0 : (input[0] >> 2) % (rest.size() + 1);
    const auto write = PDU::checkWrite(rest.first(split), rest.subspan(split));
    if (write && split != 5) __builtin_trap();
    return 0;
}
