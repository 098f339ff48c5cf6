#include "ModbusCore/FunctionCode.hpp"
#include "ModbusCore/ModbusException.hpp"
#include "ModbusCore/PollFailure.hpp"

#include <gtest/gtest.h>

#include <fmt/format.h>

#include <set>

namespace tessarin {
namespace {

TEST(ProtocolCodes, EveryByteMapsToItsCaseOrToNothing) {
    const std::set<int> functions{1, 2, 3, 4, 5, 6, 8, 15, 16, 22, 23};
    const std::set<int> exceptions{1, 2, 3, 4, 5, 6, 8, 10, 11};
    for (int byte = 0; byte < 256; ++byte) {
        SCOPED_TRACE(fmt::format("byte {}", byte));
        const auto raw = static_cast<std::uint8_t>(byte);
        const std::optional<FunctionCode> function = functionCodeFromRawValue(raw);
        ASSERT_EQ(function.has_value(), functions.contains(byte));
        EXPECT_TRUE(!function || rawValue(*function) == raw);
        const std::optional<ModbusException> exception = modbusExceptionFromRawValue(raw);
        ASSERT_EQ(exception.has_value(), exceptions.contains(byte));
        EXPECT_TRUE(!exception || rawValue(*exception) == raw);
    }
    EXPECT_EQ(allFunctionCodes.size(), functions.size());
    EXPECT_EQ(allModbusExceptions.size(), exceptions.size());
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
