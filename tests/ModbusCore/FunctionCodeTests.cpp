#include "ModbusCore/FunctionCode.hpp"
#include "ModbusCore/ModbusException.hpp"
#include "ModbusCore/PollFailure.hpp"

#include <gtest/gtest.h>

#include <optional>

namespace tessarin {
namespace {

TEST(ProtocolCodes, EveryByteMapsToItsCaseOrToNothing) {
    for (int byte = 0; byte < 256; ++byte) {
        const auto raw = static_cast<std::uint8_t>(byte);
        const std::optional<FunctionCode> function = functionCodeFromRawValue(raw);
        EXPECT_TRUE(!function || rawValue(*function) == raw) << byte;
        const std::optional<ModbusException> exception = modbusExceptionFromRawValue(raw);
        EXPECT_TRUE(!exception || rawValue(*exception) == raw) << byte;
    }
    for (const FunctionCode code : allFunctionCodes)
        EXPECT_EQ(functionCodeFromRawValue(rawValue(code)), code);
    for (const ModbusException code : allModbusExceptions) {
        EXPECT_EQ(modbusExceptionFromRawValue(rawValue(code)), code);
    }
    // The exception bit is never a function of its own.
    EXPECT_EQ(functionCodeFromRawValue(0x83), std::nullopt);
}

TEST(PollFailure, PayloadCountsOnlyForTheKindsThatCarryOne) {
    EXPECT_NE(PollFailure::exception(2), PollFailure::exception(12));
    EXPECT_NE(PollFailure::unexpectedUnit(2), PollFailure::unexpectedFunction(2));
    // A stray byte left in a payload-less failure must not split equal failures.
    EXPECT_EQ((PollFailure{PollFailure::Kind::timeout, 7}), PollFailure::timeout());
    EXPECT_EQ(name(static_cast<PollFailure::Kind>(200)), "");
}

}  // namespace
}  // namespace tessarin
