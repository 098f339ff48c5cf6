#include "DeviceSimulator/DemoGenerators.hpp"
#include "DeviceSimulator/RequestStream.hpp"
#include "DeviceSimulator/SimulatedDevice.hpp"
#include "DeviceSimulator/SimulatorCommandLine.hpp"
#include "ModbusCore/PDU.hpp"
#include "ModbusCore/RTUFrame.hpp"
#include "PollerCore/ExampleProject.hpp"
#include "PollerCore/ReadPlanner.hpp"
#include "support/ByteAssertions.hpp"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace tessarin {
namespace {

Datapoint point(RegisterTable table, std::uint16_t address, DataType type, double value,
                WordOrder order = WordOrder::abcd, std::uint8_t unit = 1) {
    Datapoint fields;
    fields.unitID = unit;
    fields.table = table;
    fields.address = address;
    fields.dataType = type;
    fields.wordOrder = order;
    fields.value = value;
    return Datapoint::make(fields);
}

TEST(SimulatedDevice, RefusesWhatADeviceWouldRefuseInTheProtocolsOrder) {
    // Holding registers 0-1 (float32) and 4, coil 0, discrete input 0, unit 1.
    const std::vector<Datapoint> points{
        point(RegisterTable::holdingRegister, 0, DataType::float32, 1.5),
        point(RegisterTable::holdingRegister, 4, DataType::uint16, 7),
        point(RegisterTable::coil, 0, DataType::bool_, 1),
        point(RegisterTable::discreteInput, 0, DataType::bool_, 0),
        point(RegisterTable::holdingRegister, 65535, DataType::uint32, 9),
    };
    struct Row {
        std::string_view name;
        std::uint8_t unit;
        std::string_view request;
        std::string_view response;
    };
    const Row rows[] = {
        {"covered read", 1, "03 00 04 00 01", "03 02 00 07"},
        {"gap between datapoints", 1, "03 00 00 00 05", "83 02"},
        {"another unit", 2, "03 00 04 00 01", "83 02"},
        {"past the last address", 1, "03 FF FF 00 02", "83 02"},
        {"datapoint cut at the last address", 1, "03 FF FF 00 01", "03 02 00 00"},
        {"zero quantity", 1, "03 00 04 00 00", "83 03"},
        {"126 registers", 1, "03 00 00 00 7E", "83 03"},
        {"2001 coils", 1, "01 00 00 07 D1", "81 03"},
        {"read one byte short", 1, "03 00 04 00", "83 03"},
        {"read of a table the datapoint is not in", 1, "04 00 04 00 01", "84 02"},
        {"discrete input", 1, "02 00 00 00 01", "02 01 00"},
        {"diagnostics", 1, "08 00 00 00 00", "88 01"},
        {"function 7", 1, "07", "87 01"},
        {"exception bit set", 1, "83 00 00 00 01", "83 01"},
        {"coil with a value that is neither on nor off", 1, "05 00 00 12 34", "85 03"},
        {"single register nobody serves", 1, "06 00 02 00 01", "86 02"},
        {"16 with a byte count off by one", 1, "10 00 00 00 02 03 00 00 00", "90 03"},
        {"16 longer than its byte count", 1, "10 00 04 00 01 02 00 01 FF", "90 03"},
        {"15 with no coils", 1, "0F 00 00 00 00 00", "8F 03"},
        {"15 over a coil nobody serves", 1, "0F 00 00 00 02 01 03", "8F 02"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SimulatedDevice device(points);
        EXPECT_BYTES(device.respond(row.unit, test::bytes(row.request), 0), row.response);
    }
}

TEST(SimulatedDevice, AWriteHoldsItsRegistersWhileTheGeneratorMovesOn) {
    Datapoint ramp = point(RegisterTable::holdingRegister, 10, DataType::float32, 0, WordOrder::cdab);
    ramp.simulation = {Simulation::Kind::ramp, 0, 100, 10};
    Datapoint pump = point(RegisterTable::coil, 3, DataType::bool_, 0);
    pump.simulation = {Simulation::Kind::toggle, 0, 1, 1};
    const std::vector<Datapoint> points{ramp, pump};
    SimulatedDevice device(points);
    const auto readFloat = [&](double t) {
        const auto data =
            PDU::parseRead(device.respond(1, PDU::read(RegisterTable::holdingRegister, 10, 2), t),
                           RegisterTable::holdingRegister, 2);
        return ramp.valueFromRegisters(*data->registerValues());
    };
    EXPECT_EQ(readFloat(2.5), 25);

    // One word of the two: the other keeps what the generator gave at the time of the write.
    const std::vector<std::uint16_t> written = ramp.registersFor(-12.25);
    EXPECT_BYTES(device.respond(1, PDU::writeSingleRegister(11, written[1]), 3), "06 00 0B C1 44");
    const std::vector<std::uint16_t> atWrite = ramp.registersFor(30);
    EXPECT_EQ(ramp.valueFromRegisters(std::vector{atWrite[0], written[1]}), readFloat(9));
    EXPECT_BYTES(device.respond(1, PDU::writeMultipleRegisters(10, written), 4), "10 00 0A 00 02");
    EXPECT_EQ(readFloat(7), -12.25);

    EXPECT_BYTES(device.respond(1, PDU::writeMultipleCoils(3, {false}), 1), "0F 00 03 00 01");
    for (const double t : {1.0, 2.0, 3.0}) {
        EXPECT_BYTES(device.respond(1, PDU::read(RegisterTable::coil, 3, 1), t), "01 01 00");
    }
}

TEST(SimulatedDevice, TheFirstDatapointServesAnAddressTwoClaim) {
    const std::vector<Datapoint> points{
        point(RegisterTable::inputRegister, 0, DataType::uint32, 0x11112222),
        point(RegisterTable::inputRegister, 1, DataType::uint16, 0x3333),
        point(RegisterTable::inputRegister, 2, DataType::uint16, 0x4444),
    };
    SimulatedDevice device(points);
    EXPECT_BYTES(device.respond(1, PDU::read(RegisterTable::inputRegister, 0, 3), 0),
                 "04 06 11 11 22 22 44 44");
}

TEST(SimulatedDevice, ABridgedGapIsRefusedWithException02) {
    // The planner bridges the hole at address 2; the device covers only what datapoints cover.
    const std::vector<Datapoint> points{
        point(RegisterTable::holdingRegister, 0, DataType::uint32, 1),
        point(RegisterTable::holdingRegister, 3, DataType::uint16, 2),
    };
    const std::vector<ReadBlock> bridged = ReadPlanner::blocks(points, 1, TCPFraming::modbusTCP);
    ASSERT_EQ(bridged.size(), 1U);
    SimulatedDevice device(points);
    const ReadBlock& block = bridged.front();
    EXPECT_BYTES(device.respond(block.unit, PDU::read(block.table, block.address, block.count), 0), "83 02");
    for (const ReadBlock& exact : ReadPlanner::blocks(points, 0, TCPFraming::modbusTCP)) {
        const auto answer = device.respond(exact.unit, PDU::read(exact.table, exact.address, exact.count), 0);
        EXPECT_TRUE(PDU::parseRead(answer, exact.table, exact.count).has_value());
    }
}

TEST(DemoGenerators, TheExampleMovesAndKeepsWhatTheUserSet) {
    PollerProject example = makeExampleProject();
    example.polls[0].datapoints[4].simulation = {Simulation::Kind::random, 1, 2, 3};
    const PollerProject demo = DemoGenerators::applied(example);
    const auto& points = demo.polls[0].datapoints;
    EXPECT_EQ(points[0].simulation.kind, Simulation::Kind::sine);     // temperature
    EXPECT_EQ(points[1].simulation.kind, Simulation::Kind::ramp);     // pressure
    EXPECT_EQ(points[2].simulation.kind, Simulation::Kind::counter);  // run time
    EXPECT_EQ(points[4].simulation, example.polls[0].datapoints[4].simulation);
    EXPECT_EQ(points[6].simulation.kind, Simulation::Kind::toggle);  // alarm
    // Every generated value survives its own type: no clamping to a flat line.
    for (const Datapoint& p : points) {
        SCOPED_TRACE(p.name);
        for (const double t : {0.0, 7.0, 15.0, 3600.0}) {
            const double value = *p.simulation.valueAt(t);
            const double decoded = isBit(p.table) ? value : p.valueFromRegisters(p.registersFor(value));
            EXPECT_NEAR(decoded, value, std::abs(p.scale)) << t;
        }
    }
}

TEST(RequestStream, CutsRequestsAndGivesUpOnWhatIsNotModbus) {
    struct Row {
        std::string_view name;
        TCPFraming framing;
        std::string_view bytes;
        std::vector<RequestStream::Status> statuses;
    };
    using S = RequestStream::Status;
    const Row rows[] = {
        {"two pipelined requests",
         TCPFraming::modbusTCP,
         "00 01 00 00 00 06 01 03 00 00 00 01 00 02 00 00 00 06 01 03 00 00 00 01",
         {S::request, S::request, S::incomplete}},
        {"half a header", TCPFraming::modbusTCP, "00 01 00 00", {S::incomplete}},
        {"half a PDU", TCPFraming::modbusTCP, "00 01 00 00 00 06 01 03", {S::incomplete}},
        {"another protocol", TCPFraming::modbusTCP, "47 45 54 20 2F 20 48 54", {S::invalid}},
        {"length zero", TCPFraming::modbusTCP, "00 01 00 00 00 00 01", {S::invalid}},
        {"RTU request", TCPFraming::rtuOverTCP, "01 03 00 00 00 0A C5 CD", {S::request, S::incomplete}},
        {"RTU request with a bad CRC", TCPFraming::rtuOverTCP, "01 03 00 00 00 0A C5 CE", {S::invalid}},
        {"half an RTU request", TCPFraming::rtuOverTCP, "01 03 00 00", {S::incomplete}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RequestStream stream(row.framing);
        stream.append(test::bytes(row.bytes));
        RequestStream::Request request;
        for (const S expected : row.statuses) EXPECT_EQ(stream.next(request), expected);
    }
    // An RTU request that arrives in two pieces is answered once it is whole.
    const std::vector<std::uint8_t> frame = RTUFrame::build(0x11, test::bytes("03 00 00 00 0A"));
    RequestStream rtu(TCPFraming::rtuOverTCP);
    rtu.append(std::span(frame).first(5));
    RequestStream::Request request;
    EXPECT_EQ(rtu.next(request), S::incomplete);
    EXPECT_TRUE(rtu.hasPartial());
    rtu.append(std::span(frame).subspan(5));
    ASSERT_EQ(rtu.next(request), S::request);
    EXPECT_EQ(request.unit, 0x11);
    EXPECT_BYTES(request.pdu, "03 00 00 00 0A");
    EXPECT_FALSE(rtu.hasPartial());
}

TEST(SimulatorCommandLine, ReadsEveryOptionAndNamesTheOneItCannotRead) {
    using Args = std::vector<std::string_view>;
    const auto parsed = SimulatorCommandLine::parse(Args{"plant.json", "--port", "1502", "--bind", "0.0.0.0",
                                                         "--framing", "rtuOverTCP", "--latency", "20"});
    ASSERT_TRUE(parsed.has_value()) << parsed.error();
    EXPECT_EQ(parsed->projectPath, "plant.json");
    EXPECT_EQ(parsed->port, 1502);
    EXPECT_EQ(parsed->bindAddress, "0.0.0.0");
    EXPECT_EQ(parsed->framing, TCPFraming::rtuOverTCP);
    EXPECT_EQ(parsed->latency, std::chrono::milliseconds(20));
    EXPECT_EQ(SimulatorCommandLine::parse(Args{})->port, std::nullopt);

    const std::pair<Args, std::string_view> refused[] = {
        {{"--port", "65536"}, "'65536' is not a valid value for --port."},
        {{"--port", "5O2"}, "'5O2' is not a valid value for --port."},
        {{"--latency", "-1"}, "'-1' is not a valid value for --latency."},
        {{"--latency", "60001"}, "'60001' is not a valid value for --latency."},
        {{"--framing", "rtu"}, "'rtu' is not a valid value for --framing."},
        {{"--port"}, "The option --port needs a value."},
        {{"--verbose"}, "Unknown option --verbose."},
        {{"a.json", "b.json"}, "Only one project can be served; b.json is one too many."},
    };
    for (const auto& [args, message] : refused) {
        SCOPED_TRACE(message);
        const auto result = SimulatorCommandLine::parse(args);
        ASSERT_FALSE(result.has_value());
        EXPECT_EQ(result.error(), message);
    }
}

}  // namespace
}  // namespace tessarin
