#include "ModbusCore/FunctionCode.hpp"
#include "ModbusCore/ModbusException.hpp"
#include "ModbusCore/PollFailure.hpp"
#include "ModbusCore/RegisterTable.hpp"

#include <gtest/gtest.h>

#include <fmt/format.h>

#include <map>

namespace tessarin {
namespace {

TEST(FunctionCode, EveryByteMapsToItsCaseOrToNothing) {
    const std::map<int, FunctionCode> known{
        {1, FunctionCode::readCoils},
        {2, FunctionCode::readDiscreteInputs},
        {3, FunctionCode::readHoldingRegisters},
        {4, FunctionCode::readInputRegisters},
        {5, FunctionCode::writeSingleCoil},
        {6, FunctionCode::writeSingleRegister},
        {8, FunctionCode::diagnostics},
        {15, FunctionCode::writeMultipleCoils},
        {16, FunctionCode::writeMultipleRegisters},
        {22, FunctionCode::maskWriteRegister},
        {23, FunctionCode::readWriteMultipleRegisters},
    };
    for (int byte = 0; byte < 256; ++byte) {
        SCOPED_TRACE(fmt::format("byte {}", byte));
        const auto raw = static_cast<std::uint8_t>(byte);
        const std::optional<FunctionCode> code = functionCodeFromRawValue(raw);
        if (const auto it = known.find(byte); it != known.end()) {
            ASSERT_TRUE(code.has_value());
            EXPECT_EQ(*code, it->second);
            EXPECT_EQ(rawValue(*code), raw);
        } else {
            EXPECT_FALSE(code.has_value());
        }
    }
}

TEST(FunctionCode, CasesKeepTheirOrderAndTheReadsFollowTheTables) {
    ASSERT_EQ(allFunctionCodes.size(), 11U);
    for (std::size_t i = 1; i < allFunctionCodes.size(); ++i) {
        EXPECT_LT(rawValue(allFunctionCodes[i - 1]), rawValue(allFunctionCodes[i]));
    }
    for (std::size_t i = 0; i < allRegisterTables.size(); ++i) {
        EXPECT_EQ(readFunction(allRegisterTables[i]), allFunctionCodes[i]);
    }
    for (const FunctionCode code : allFunctionCodes) EXPECT_FALSE(name(code).empty());
}

TEST(FunctionCode, LimitsFitTheWireFormat) {
    // Byte counts of reads and multiple writes travel in one byte.
    EXPECT_LE((maxReadBits + 7) / 8, 255);
    EXPECT_LE(maxReadRegisters * 2, 255);
    EXPECT_LE((maxWriteBits + 7) / 8, 255);
    EXPECT_LE(maxWriteRegisters * 2, 255);
}

TEST(ModbusException, EveryByteMapsToItsCaseOrToNothing) {
    const std::map<int, ModbusException> known{
        {1, ModbusException::illegalFunction},
        {2, ModbusException::illegalDataAddress},
        {3, ModbusException::illegalDataValue},
        {4, ModbusException::serverDeviceFailure},
        {5, ModbusException::acknowledge},
        {6, ModbusException::serverDeviceBusy},
        {8, ModbusException::memoryParityError},
        {10, ModbusException::gatewayPathUnavailable},
        {11, ModbusException::gatewayTargetFailedToRespond},
    };
    for (int byte = 0; byte < 256; ++byte) {
        SCOPED_TRACE(fmt::format("byte {}", byte));
        const auto code = modbusExceptionFromRawValue(static_cast<std::uint8_t>(byte));
        if (const auto it = known.find(byte); it != known.end()) {
            ASSERT_TRUE(code.has_value());
            EXPECT_EQ(*code, it->second);
        } else {
            EXPECT_FALSE(code.has_value());
        }
    }
    ASSERT_EQ(allModbusExceptions.size(), known.size());
    for (const ModbusException code : allModbusExceptions) EXPECT_FALSE(name(code).empty());
}

TEST(PollFailure, PayloadCountsOnlyForTheKindsThatCarryOne) {
    EXPECT_EQ(PollFailure::exception(2), PollFailure::exception(2));
    EXPECT_NE(PollFailure::exception(2), PollFailure::exception(12));
    EXPECT_NE(PollFailure::unexpectedUnit(2), PollFailure::unexpectedFunction(2));
    EXPECT_NE(PollFailure::timeout(), PollFailure::noConnection());
    // A stray byte left in a payload-less failure must not split equal failures.
    EXPECT_EQ((PollFailure{PollFailure::Kind::timeout, 7}), PollFailure::timeout());
    EXPECT_EQ(name(PollFailure::Kind::crcMismatch), "crcMismatch");
    EXPECT_EQ(name(static_cast<PollFailure::Kind>(200)), "");
}

}  // namespace
}  // namespace tessarin
