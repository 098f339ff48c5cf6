// Requests per second against the libmodbus peer on loopback, reading the same block of ten
// holding registers back to back with
//   (a) libmodbus's own synchronous client,
//   (b) TCPClientLink::transact,
//   (c) PollerEngine with one plan of 50 such blocks and interval 0, counting the read events
//       that reach the main-thread queue,
// beside the floor of a raw TCP ping-pong with the same frame sizes.
//
// Loopback round trips on a 2-CPU machine swing by tens of percent with where the scheduler
// puts the two processes, so the clients take turns round by round and each one's median is
// compared; one more round with everything pinned to one CPU is printed as a diagnostic. The
// last line is for scripts: "ratio link/libmodbus=<b/a> engine/libmodbus=<c/a>".
//
//   engine_throughput [seconds per client and round, default 3] [rounds, default 5]

#include "Median.hpp"
#include "ModbusCore/PDU.hpp"
#include "ModbusTCP/TCPClientLink.hpp"
#include "PollerCore/PollerEngine.hpp"
#include "support/MainQueue.hpp"
#include "support/PeerProcess.hpp"

#include <modbus.h>

#include <fmt/format.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sched.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace tessarin;
using bench::median;
using Clock = std::chrono::steady_clock;

constexpr std::uint16_t blockAddress = 0;
constexpr int blockCount = 10;
constexpr int blocksPerPlan = 50;
constexpr double answerTimeout = 1.0;
// Same sizes as a Modbus TCP read of ten registers: 12 bytes out, 29 bytes back.
constexpr std::size_t requestSize = 12;
constexpr std::size_t responseSize = 29;

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "engine_throughput: %s\n", why.c_str());
    std::exit(1);
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int connectTo(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        fail("cannot connect to the ping-pong server");
    }
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

bool exchangeExactly(int fd, const std::uint8_t* out, std::size_t outSize, std::uint8_t* in,
                     std::size_t inSize) {
    if (::send(fd, out, outSize, MSG_NOSIGNAL) != static_cast<ssize_t>(outSize)) return false;
    for (std::size_t got = 0; got < inSize;) {
        const ssize_t n = ::recv(fd, in + got, inSize - got, 0);
        if (n <= 0) return false;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

// A separate process that answers every 12 bytes with 29, over blocking sockets: no Modbus,
// no polling, the least work two processes can do per round trip.
class PingPongServer {
public:
    PingPongServer() {
        const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener, 4) != 0 ||
            ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            fail("cannot listen for the ping-pong server");
        }
        m_port = ntohs(address.sin_port);
        m_pid = ::fork();
        if (m_pid < 0) fail("cannot fork the ping-pong server");
        if (m_pid == 0) serve(listener);
        ::close(listener);
    }
    PingPongServer(const PingPongServer&) = delete;
    PingPongServer& operator=(const PingPongServer&) = delete;
    ~PingPongServer() {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }

    std::uint16_t port() const { return m_port; }
    pid_t pid() const { return m_pid; }

private:
    [[noreturn]] static void serve(int listener) {
        std::array<std::uint8_t, requestSize> request{};
        std::array<std::uint8_t, responseSize> response{};
        for (;;) {
            const int fd = ::accept(listener, nullptr, nullptr);
            if (fd < 0) continue;
            const int one = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            for (;;) {
                std::size_t got = 0;
                while (got < request.size()) {
                    const ssize_t n = ::recv(fd, request.data() + got, request.size() - got, 0);
                    if (n <= 0) break;
                    got += static_cast<std::size_t>(n);
                }
                if (got < request.size()) break;
                if (::send(fd, response.data(), response.size(), MSG_NOSIGNAL) !=
                    static_cast<ssize_t>(response.size())) {
                    break;
                }
            }
            ::close(fd);
        }
    }

    std::uint16_t m_port = 0;
    pid_t m_pid = -1;
};

double pingPong(std::uint16_t port, double seconds) {
    const int fd = connectTo(port);
    std::array<std::uint8_t, requestSize> request{};
    std::array<std::uint8_t, responseSize> response{};
    long count = 0;
    const Clock::time_point start = Clock::now();
    while (secondsSince(start) < seconds) {
        if (!exchangeExactly(fd, request.data(), request.size(), response.data(), response.size())) {
            fail("ping-pong exchange failed");
        }
        ++count;
    }
    const double rate = static_cast<double>(count) / secondsSince(start);
    ::close(fd);
    return rate;
}

double libmodbusClient(std::uint16_t port, double seconds) {
    modbus_t* ctx = modbus_new_tcp("127.0.0.1", port);
    if (ctx == nullptr || modbus_connect(ctx) != 0) fail("libmodbus cannot connect to the peer");
    modbus_set_slave(ctx, 1);
    std::array<std::uint16_t, blockCount> registers{};
    long count = 0;
    const Clock::time_point start = Clock::now();
    while (secondsSince(start) < seconds) {
        if (modbus_read_registers(ctx, blockAddress, blockCount, registers.data()) != blockCount) {
            fail(fmt::format("libmodbus read failed: {}", modbus_strerror(errno)));
        }
        ++count;
    }
    const double rate = static_cast<double>(count) / secondsSince(start);
    modbus_close(ctx);
    modbus_free(ctx);
    return rate;
}

double linkClient(std::uint16_t port, double seconds) {
    TCPClientLink link("127.0.0.1", port, TCPFraming::modbusTCP);
    if (!link.open(answerTimeout)) fail("the link cannot connect to the peer");
    const std::vector<std::uint8_t> pdu = PDU::read(RegisterTable::holdingRegister, blockAddress, blockCount);
    long count = 0;
    const Clock::time_point start = Clock::now();
    while (secondsSince(start) < seconds) {
        const auto answer = link.transact(1, pdu, answerTimeout);
        if (!answer || answer->pdu.size() != 2 + 2 * blockCount) fail("a link transaction failed");
        ++count;
    }
    return static_cast<double>(count) / secondsSince(start);
}

double engineClient(std::uint16_t port, double seconds) {
    // Counted from start() to the last read delivered on this thread, connecting included:
    // the rate at which results reach the main thread, not the rate the worker produces them.
    test::MainQueue queue;
    long reads = 0;
    long failures = 0;
    Clock::time_point lastRead;
    const auto onEvent = [&](const PollerEvent& event) {
        if (const auto* read = std::get_if<PollerEvent::Read>(&event.payload)) {
            ++reads;
            if (!read->result) ++failures;
            lastRead = Clock::now();
        }
    };
    PollPlan plan{.id = Uuid::random(), .interval = 0.0, .blocks = {}};
    plan.blocks.assign(blocksPerPlan, ReadBlock{.unit = 1,
                                                .table = RegisterTable::holdingRegister,
                                                .address = blockAddress,
                                                .count = blockCount});
    PollerEngine engine("127.0.0.1", port, TCPFraming::modbusTCP, answerTimeout, onEvent, queue.poster());
    const Clock::time_point start = Clock::now();
    engine.start({plan});
    const auto span =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::duration<double>(seconds));
    queue.pumpUntil([] { return false; }, span);
    engine.stop();
    if (reads == 0) fail("the engine delivered no read");
    if (failures > 0) fail(fmt::format("{} engine reads failed", failures));
    return static_cast<double>(reads) / std::chrono::duration<double>(lastRead - start).count();
}

struct Round {
    double libmodbus = 0;
    double link = 0;
    double engine = 0;
    double floor = 0;
};

Round round(std::uint16_t peerPort, std::uint16_t pingPongPort, double seconds) {
    Round r;
    r.libmodbus = libmodbusClient(peerPort, seconds);
    r.link = linkClient(peerPort, seconds);
    r.engine = engineClient(peerPort, seconds);
    r.floor = pingPong(pingPongPort, seconds);
    return r;
}

void print(const std::string& label, const Round& r) {
    std::printf("%-10s libmodbus %8.0f/s   link %8.0f/s   engine %8.0f/s   ping-pong %8.0f/s\n",
                label.c_str(), r.libmodbus, r.link, r.engine, r.floor);
}

// Pins this thread (and the threads it creates from now on) and the given processes to cpus.
void pin(const std::vector<pid_t>& processes, const cpu_set_t& cpus) {
    for (const pid_t pid : processes) {
        if (::sched_setaffinity(pid, sizeof cpus, &cpus) != 0) fail("sched_setaffinity failed");
    }
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    if (seconds <= 0 || rounds < 1) fail("usage: engine_throughput [seconds per client and round] [rounds]");

    // Forked before any thread exists.
    PingPongServer pingPongServer;
    auto peer = test::PeerProcess::start(test::PeerKind::libmodbusTCP);
    if (!peer) fail(peer.error());

    std::printf("reading %d holding registers back to back, %d rounds of %.1f s per client\n", blockCount,
                rounds, seconds);
    // A short warm-up of every client, not counted.
    round(peer->port(), pingPongServer.port(), 0.2);

    std::vector<Round> results;
    for (int i = 0; i < rounds; ++i) {
        results.push_back(round(peer->port(), pingPongServer.port(), seconds));
        print(fmt::format("round {}", i + 1), results.back());
    }
    Round medians;
    const auto column = [&](double Round::*field) {
        std::vector<double> values;
        for (const Round& r : results) values.push_back(r.*field);
        return median(values);
    };
    medians.libmodbus = column(&Round::libmodbus);
    medians.link = column(&Round::link);
    medians.engine = column(&Round::engine);
    medians.floor = column(&Round::floor);

    cpu_set_t all;
    ::sched_getaffinity(0, sizeof all, &all);
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(0, &one);
    pin({0, peer->pid(), pingPongServer.pid()}, one);
    const Round pinned = round(peer->port(), pingPongServer.port(), seconds);
    pin({0, peer->pid(), pingPongServer.pid()}, all);

    print("median", medians);
    print("pinned", pinned);
    std::printf(
        "of the ping-pong floor: libmodbus %.0f %%, link %.0f %%, engine %.0f %% (pinned: %.0f %%, %.0f %%, "
        "%.0f %%)\n",
        100 * medians.libmodbus / medians.floor, 100 * medians.link / medians.floor,
        100 * medians.engine / medians.floor, 100 * pinned.libmodbus / pinned.floor,
        100 * pinned.link / pinned.floor, 100 * pinned.engine / pinned.floor);
    std::printf("pinned ratio link/libmodbus=%.3f engine/libmodbus=%.3f\n", pinned.link / pinned.libmodbus,
                pinned.engine / pinned.libmodbus);
    std::printf("ratio link/libmodbus=%.3f engine/libmodbus=%.3f\n", medians.link / medians.libmodbus,
                medians.engine / medians.libmodbus);
    return 0;
}
