#include "ChildProcess.hpp"

#include "DeviceSimulator/DeviceSimulator.hpp"
#include "Localization/L10n.hpp"
#include "ModbusCore/MBAPHeader.hpp"
#include "ModbusCore/PDU.hpp"
#include "ModbusCore/RTUFrame.hpp"
#include "ModbusTCP/TCPClientLink.hpp"
#include "support/FreePort.hpp"

#include <modbus.h>

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

namespace tessarin {
namespace {

constexpr double answerTimeout = 5.0;
// A moment on the simulator's clock where every generator is away from its edges.
constexpr double readTime = 12.3;

Datapoint holding(std::uint16_t address, DataType type, WordOrder order, Simulation simulation,
                  double value = 0) {
    Datapoint fields;
    fields.table = RegisterTable::holdingRegister;
    fields.address = address;
    fields.dataType = type;
    fields.wordOrder = order;
    fields.simulation = simulation;
    fields.value = value;
    return Datapoint::make(fields);
}

// A socket connected to the simulator, for clients that misbehave on purpose.
struct RawClient {
    int fd = -1;
    explicit RawClient(std::uint16_t port) {
        fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_in address = test::loopback(port);
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
            ::close(fd);
            fd = -1;
        }
    }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;
    ~RawClient() {
        if (fd >= 0) ::close(fd);
    }
    // True when the server closed the connection within the cap.
    bool closedByServer() const {
        pollfd watched{fd, POLLIN, 0};
        char chunk[4096];
        for (;;) {
            if (::poll(&watched, 1, 30'000) <= 0) return false;
            const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
            if (n <= 0) return true;
        }
    }
};

class SimulatorServer : public ::testing::TestWithParam<TCPFraming> {
protected:
    void serve(std::vector<Datapoint> points, SimulatorOptions options = {}) {
        m_points = std::move(points);
        options.framing = GetParam();
        options.clock = [this] { return m_time.load(); };
        auto started = DeviceSimulator::start(SimulatedDevice(m_points), options);
        ASSERT_TRUE(started.has_value()) << started.error().description();
        m_simulator = std::move(*started);
    }

    TCPClientLink connectedLink() {
        TCPClientLink link("127.0.0.1", m_simulator->port(), GetParam());
        const auto opened = link.open(answerTimeout);
        EXPECT_TRUE(opened.has_value());
        return link;
    }

    // The value a client decodes for point, read alone.
    std::optional<double> readValue(TCPClientLink& link, const Datapoint& point) {
        const auto answer =
            link.transact(point.unitID, PDU::read(point.table, point.address, point.count()), answerTimeout);
        if (!answer) return std::nullopt;
        const auto data = PDU::parseRead(answer->pdu, point.table, point.count());
        if (!data) return std::nullopt;
        if (const auto* bits = data->bitValues()) return bits->front() ? 1.0 : 0.0;
        return point.valueFromRegisters(*data->registerValues());
    }

    std::vector<Datapoint> m_points;
    std::atomic<double> m_time{readTime};
    std::unique_ptr<DeviceSimulator> m_simulator;
};

TEST_P(SimulatorServer, EveryGeneratorReadsAsItsValueInEveryTypeAndWordOrder) {
    std::vector<Datapoint> points;
    std::uint16_t address = 0;
    for (const Simulation::Kind kind : allSimulationKinds) {
        for (const DataType type : allDataTypes) {
            for (const WordOrder order : allWordOrders) {
                points.push_back(holding(address, type, order, {kind, 3, 97, 5}, 42));
                address = static_cast<std::uint16_t>(address + 4);
            }
        }
    }
    Datapoint coil = holding(7, DataType::bool_, WordOrder::abcd, {Simulation::Kind::toggle, 0, 1, 1});
    coil.setTable(RegisterTable::coil);
    points.push_back(coil);
    serve(points);
    TCPClientLink link = connectedLink();

    for (const double t : {readTime, 101.7}) {
        m_time = t;
        for (const Datapoint& point : points) {
            SCOPED_TRACE(fmt::format("{} {} {} at {}", rawValue(point.simulation.kind),
                                     rawValue(point.dataType), rawValue(point.wordOrder), t));
            const double generated = point.simulation.valueAt(t).value_or(point.value);
            const auto read = readValue(link, point);
            ASSERT_TRUE(read.has_value());
            if (point.dataType == DataType::bool_) {
                EXPECT_EQ(*read, generated > 0 ? 1 : 0);
            } else if (isFloat(point.dataType)) {
                EXPECT_NEAR(*read, generated, std::abs(generated) * 1e-6);
            } else {
                EXPECT_NEAR(*read, generated, 0.5);  // rounded to the integer type
            }
        }
    }
}

TEST_P(SimulatorServer, AWriteReadsBackAndAGapIsRefused) {
    serve({holding(0, DataType::float32, WordOrder::dcba, {Simulation::Kind::sine, 0, 10, 2}),
           holding(3, DataType::int16, WordOrder::abcd, {})});
    TCPClientLink link = connectedLink();
    const Datapoint& point = m_points[0];
    const auto wrote =
        link.transact(1, PDU::writeMultipleRegisters(0, point.registersFor(-7.75)), answerTimeout);
    ASSERT_TRUE(wrote.has_value());
    EXPECT_TRUE(PDU::checkWrite(wrote->pdu, PDU::writeMultipleRegisters(0, point.registersFor(-7.75))));
    m_time = 55.5;
    EXPECT_EQ(readValue(link, point), -7.75);

    const auto bridged = link.transact(1, PDU::read(RegisterTable::holdingRegister, 0, 4), answerTimeout);
    ASSERT_TRUE(bridged.has_value());
    EXPECT_EQ(PDU::parseRead(bridged->pdu, RegisterTable::holdingRegister, 4).error(),
              PDU::ResponseError::exception(2));
}

// Registers 0 ... 5 of a device with generators, as one line of decimal values.
std::vector<Datapoint> sharedRegisters() {
    return {holding(0, DataType::int16, WordOrder::abcd, {Simulation::Kind::sine, -20, 20, 7}),
            holding(1, DataType::float32, WordOrder::cdab, {Simulation::Kind::ramp, 0, 10, 3}),
            holding(3, DataType::uint32, WordOrder::abcd, {Simulation::Kind::counter, 0, 100000, 0.1}),
            holding(5, DataType::uint16, WordOrder::abcd, {}, 4711)};
}

std::vector<std::uint16_t> parseNumbers(const std::string& text, int base) {
    std::vector<std::uint16_t> values;
    std::istringstream in(text);
    std::string word;
    while (in >> word) values.push_back(static_cast<std::uint16_t>(std::stoul(word, nullptr, base)));
    return values;
}

TEST_P(SimulatorServer, PymodbusReadsWhatOurLinkReads) {
    serve(sharedRegisters());
    TCPClientLink link = connectedLink();
    const auto ours = link.transact(1, PDU::read(RegisterTable::holdingRegister, 0, 6), answerTimeout);
    ASSERT_TRUE(ours.has_value());
    const auto registers = PDU::parseRead(ours->pdu, RegisterTable::holdingRegister, 6);
    ASSERT_TRUE(registers.has_value());

    std::vector<std::string> command{TESSARIN_PYTHON3,
                                     TESSARIN_PYMODBUS_CLIENT,
                                     std::to_string(m_simulator->port()),
                                     "holdingRegister",
                                     "0",
                                     "6"};
    if (GetParam() == TCPFraming::rtuOverTCP) command.push_back("--rtu");
    const auto output = test::outputOf(command);
    ASSERT_TRUE(output.has_value()) << "pymodbus client failed; is python3-pymodbus installed?";
    EXPECT_EQ(parseNumbers(*output, 10), *registers->registerValues()) << *output;

    const auto gap = test::outputOf({TESSARIN_PYTHON3, TESSARIN_PYMODBUS_CLIENT,
                                     std::to_string(m_simulator->port()), "inputRegister", "0", "1",
                                     GetParam() == TCPFraming::rtuOverTCP ? "--rtu" : "--unit=1"});
    ASSERT_TRUE(gap.has_value());
    EXPECT_EQ(*gap, "exception 2\n");
}

INSTANTIATE_TEST_SUITE_P(BothFramings, SimulatorServer,
                         ::testing::Values(TCPFraming::modbusTCP, TCPFraming::rtuOverTCP),
                         [](const auto& framing) { return std::string(rawValue(framing.param)); });

class ModbusTCPSimulator : public SimulatorServer {};

TEST_P(ModbusTCPSimulator, MbpollAndLibmodbusReadWhatOurLinkReads) {
    serve(sharedRegisters());
    TCPClientLink link = connectedLink();
    const auto ours = link.transact(1, PDU::read(RegisterTable::holdingRegister, 0, 6), answerTimeout);
    ASSERT_TRUE(ours.has_value());
    const std::vector<std::uint16_t> expected =
        *PDU::parseRead(ours->pdu, RegisterTable::holdingRegister, 6)->registerValues();

    const auto output = test::outputOf({TESSARIN_MBPOLL, "-1", "-0", "-q", "-t", "4:hex", "-r", "0", "-c",
                                        "6", "-p", std::to_string(m_simulator->port()), "127.0.0.1"});
    ASSERT_TRUE(output.has_value()) << "mbpoll failed; is it installed?";
    std::vector<std::uint16_t> polled;
    std::istringstream lines(*output);
    for (std::string line; std::getline(lines, line);) {
        const auto hex = line.find("0x");
        if (line.starts_with("[") && hex != std::string::npos) {
            polled.push_back(static_cast<std::uint16_t>(std::stoul(line.substr(hex), nullptr, 16)));
        }
    }
    EXPECT_EQ(polled, expected) << *output;

    modbus_t* context = modbus_new_tcp("127.0.0.1", m_simulator->port());
    ASSERT_NE(context, nullptr);
    ASSERT_EQ(modbus_connect(context), 0);
    modbus_set_slave(context, 1);
    std::vector<std::uint16_t> viaLibmodbus(6);
    EXPECT_EQ(modbus_read_registers(context, 0, 6, viaLibmodbus.data()), 6);
    EXPECT_EQ(viaLibmodbus, expected);
    EXPECT_EQ(modbus_write_register(context, 5, 1234), 1);
    EXPECT_EQ(modbus_read_registers(context, 5, 1, viaLibmodbus.data()), 1);
    EXPECT_EQ(viaLibmodbus[0], 1234);
    modbus_close(context);
    modbus_free(context);
}

INSTANTIATE_TEST_SUITE_P(ModbusTCP, ModbusTCPSimulator, ::testing::Values(TCPFraming::modbusTCP),
                         [](const auto&) { return std::string("modbusTCP"); });

TEST_P(SimulatorServer, HostileClientsLeaveTheOthersServed) {
    SimulatorOptions options;
    options.incompleteRequestTimeout = std::chrono::milliseconds(200);
    std::vector<std::string> log;
    std::mutex logLock;
    options.log = [&](const std::string& line) {
        const std::lock_guard lock(logLock);
        log.push_back(line);
    };
    serve(sharedRegisters(), options);
    TCPClientLink good = connectedLink();
    const auto served = [&] { return readValue(good, m_points[3]).has_value(); };

    RawClient half(m_simulator->port());
    const std::vector<std::uint8_t> halfFrame{0x00, 0x01, 0x00, 0x00, 0x00, 0x06, 0x01, 0x03};
    ASSERT_EQ(::send(half.fd, halfFrame.data(), 5, MSG_NOSIGNAL), 5);
    EXPECT_TRUE(served());
    EXPECT_TRUE(half.closedByServer());

    RawClient garbage(m_simulator->port());
    const std::vector<std::uint8_t> mebibyte(1 << 20, 0xFF);
    std::size_t sent = 0;
    while (sent < mebibyte.size()) {
        const ssize_t n = ::send(garbage.fd, mebibyte.data() + sent, mebibyte.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break;  // dropped while sending
        sent += static_cast<std::size_t>(n);
    }
    EXPECT_TRUE(garbage.closedByServer());
    EXPECT_TRUE(served());

    // A client that pipelines requests and never reads: the simulator stops reading from it
    // once its answers pile up, so its sends stall instead of the simulator's memory growing.
    RawClient greedy(m_simulator->port());
    ::fcntl(greedy.fd, F_SETFL, O_NONBLOCK);
    const std::vector<std::uint8_t> read6 = PDU::read(RegisterTable::holdingRegister, 0, 6);
    const std::vector<std::uint8_t> request =
        GetParam() == TCPFraming::modbusTCP ? MBAPHeader::message(7, 1, read6) : RTUFrame::build(1, read6);
    std::vector<std::uint8_t> burst;
    for (int i = 0; i < 512; ++i) burst.insert(burst.end(), request.begin(), request.end());
    std::size_t pushed = 0;
    bool stalled = false;
    constexpr std::size_t pushCap = std::size_t{256} << 20;
    while (pushed < pushCap) {
        const ssize_t n = ::send(greedy.fd, burst.data(), burst.size(), MSG_NOSIGNAL);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // The kernel buffers may still be draining into the simulator: a stall is real only
            // when it lasts.
            pollfd watched{greedy.fd, POLLOUT, 0};
            if (::poll(&watched, 1, 500) == 0) {
                stalled = true;
                break;
            }
            continue;
        }
        ASSERT_GT(n, 0);
        pushed += static_cast<std::size_t>(n);
    }
    EXPECT_TRUE(stalled) << pushed << " bytes of requests taken without reading an answer";
    EXPECT_TRUE(served());

    std::vector<std::unique_ptr<TCPClientLink>> crowd;
    for (int i = 0; i < 100; ++i) {
        crowd.push_back(std::make_unique<TCPClientLink>("127.0.0.1", m_simulator->port(), GetParam()));
        ASSERT_TRUE(crowd.back()->open(answerTimeout).has_value());
    }
    for (auto& link : crowd) EXPECT_TRUE(readValue(*link, m_points[0]).has_value());
    EXPECT_TRUE(served());

    m_simulator->stop();
    // Every connection is logged once when it comes and once when it goes; the two that sent
    // no valid request are told apart.
    const std::lock_guard lock(logLock);
    long connected = 0;
    long gone = 0;
    long dropped = 0;
    for (const std::string& line : log) {
        const std::string peer = line.substr(0, line.find(' '));
        connected += line == L10n::Simulator::clientConnected(peer) ? 1 : 0;
        gone += line == L10n::Simulator::clientDisconnected(peer) ? 1 : 0;
        dropped += line == L10n::Simulator::clientDropped(peer) ? 1 : 0;
    }
    EXPECT_EQ(connected, 104);
    EXPECT_EQ(gone + dropped, connected);
    EXPECT_EQ(dropped, 2);
}

TEST(SimulatorCommand, ServesAProjectFileAndStopsCleanlyOnSIGTERM) {
    const auto folder = std::filesystem::temp_directory_path() / fmt::format("tessarin-sim-{}", ::getpid());
    std::filesystem::create_directories(folder);
    PollerProject project;
    Poll poll;
    poll.datapoints.push_back(holding(100, DataType::uint16, WordOrder::abcd, {}, 321));
    project.polls.push_back(poll);
    std::ofstream(folder / "plant.json") << project.document();
    std::ofstream(folder / "broken.json") << "{\"port\": \"502\"}";

    test::ChildProcess broken({TESSARIN_SIM, (folder / "broken.json").string(), "--port", "0"});
    std::string brokenOutput;
    EXPECT_EQ(broken.wait(brokenOutput), 1);
    EXPECT_EQ(brokenOutput, L10n::Errors::fileOpenFailed("broken.json") + "\n");

    test::ChildProcess sim({TESSARIN_SIM, (folder / "plant.json").string(), "--port", "0"});
    const auto serving = sim.lineWith("127.0.0.1:");
    ASSERT_TRUE(serving.has_value());
    const auto colon = serving->find("127.0.0.1:") + 10;
    const auto port = static_cast<std::uint16_t>(std::stoul(serving->substr(colon)));
    {
        TCPClientLink link("127.0.0.1", port, TCPFraming::modbusTCP);
        ASSERT_TRUE(link.open(answerTimeout).has_value());
        const auto answer =
            link.transact(1, PDU::read(RegisterTable::holdingRegister, 100, 1), answerTimeout);
        ASSERT_TRUE(answer.has_value());
        EXPECT_EQ(*PDU::parseRead(answer->pdu, RegisterTable::holdingRegister, 1)->registerValues(),
                  std::vector<std::uint16_t>{321});
    }
    ::kill(sim.pid(), SIGTERM);
    std::string rest;
    EXPECT_EQ(sim.wait(rest), 0);
    EXPECT_NE(rest.find(L10n::Simulator::stopped()), std::string::npos) << rest;
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace tessarin
