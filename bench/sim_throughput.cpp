// Requests per second of libmodbus's synchronous client reading ten holding registers back to
// back, against tessarin-sim and against the libmodbus server of tests/peers, both as separate
// processes on loopback, with 1 and with 8 clients at once (one thread each).
//
// Loopback round trips on a small machine swing with where the scheduler puts the processes and
// with whatever else runs, by a factor of two from one second to the next. So the servers take
// turns within each round, which of them goes first alternating, and each round's ratio is
// taken from its own pair of measurements; the figure is the median of those ratios. The last
// line is for scripts: "ratio sim/libmodbus_server=<1 client> sim8/libmodbus_server8=<8 clients>".
//
//   sim_throughput [seconds per server and round, default 1] [rounds, default 9]

#include "DeviceSimulator/ChildProcess.hpp"  // tests/DeviceSimulator
#include "Median.hpp"
#include "PollerCore/PollerProject.hpp"
#include "support/PeerProcess.hpp"

#include <modbus.h>

#include <fmt/format.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace tessarin;
using bench::median;
using Clock = std::chrono::steady_clock;

constexpr int blockCount = 10;

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "sim_throughput: %s\n", why.c_str());
    std::exit(1);
}

// Processor seconds (user and system) a process has used so far.
double cpuSeconds(pid_t pid) {
    std::ifstream stat(fmt::format("/proc/{}/stat", pid));
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // Fields after the command's closing parenthesis, which may itself hold spaces; utime and
    // stime are the 12th and 13th of them.
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int i = 1; i <= 13 && fields >> field; ++i) {
        if (i >= 12) ticks += std::stod(field);
    }
    return ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

struct Rates {
    double perSecond = 0;      // requests answered per second
    double cpuPerRequest = 0;  // the server's processor microseconds per request
};

// Requests per second of `clients` threads, each with its own connection, for `seconds`.
Rates measure(pid_t server, std::uint16_t port, int clients, double seconds) {
    const double cpuBefore = cpuSeconds(server);
    std::atomic<long> total{0};
    std::atomic<bool> failed{false};
    std::vector<std::thread> threads;
    const auto end =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    for (int c = 0; c < clients; ++c) {
        threads.emplace_back([&] {
            modbus_t* context = modbus_new_tcp("127.0.0.1", port);
            if (context == nullptr || modbus_connect(context) != 0) {
                failed = true;
                if (context != nullptr) modbus_free(context);
                return;
            }
            modbus_set_slave(context, 1);
            std::uint16_t registers[blockCount];
            long count = 0;
            while (Clock::now() < end) {
                if (modbus_read_registers(context, 0, blockCount, registers) != blockCount) {
                    failed = true;
                    break;
                }
                ++count;
            }
            total += count;
            modbus_close(context);
            modbus_free(context);
        });
    }
    for (auto& thread : threads) thread.join();
    if (failed) fail(fmt::format("a client on port {} failed", port));
    const double requests = static_cast<double>(std::max(1L, total.load()));
    return {requests / seconds, (cpuSeconds(server) - cpuBefore) * 1e6 / requests};
}

// The project tessarin-sim serves: ten holding registers at 0 ... 9, as the peer has them.
std::filesystem::path writeProject() {
    PollerProject project;
    Poll poll;
    for (std::uint16_t address = 0; address < blockCount; ++address) {
        Datapoint point;
        point.address = address;
        point.value = address;
        poll.datapoints.push_back(point);
    }
    project.polls.push_back(poll);
    const auto path =
        std::filesystem::temp_directory_path() / fmt::format("sim_throughput-{}.json", ::getpid());
    std::ofstream(path) << project.document();
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 1.0;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 9;
    if (seconds <= 0 || rounds <= 0) fail("usage: sim_throughput [seconds] [rounds]");

    auto peer = test::PeerProcess::start(test::PeerKind::libmodbusTCP);
    if (!peer) fail(peer.error());
    const std::filesystem::path project = writeProject();
    test::ChildProcess sim({TESSARIN_SIM, project.string(), "--port", "0"});
    const auto serving = sim.lineWith("127.0.0.1:");
    if (!serving) fail("tessarin-sim did not report its address");
    const auto port =
        static_cast<std::uint16_t>(std::stoul(serving->substr(serving->find("127.0.0.1:") + 10)));

    // Per client count: each server's rates and processor time per request, and each round's ratio.
    struct Series {
        std::vector<double> sim, peer, simCpu, peerCpu, ratio;
    };
    std::array<Series, 2> series;
    constexpr std::array<int, 2> clientCounts{1, 8};
    for (int round = 0; round < rounds; ++round) {
        const bool simFirst = round % 2 == 0;
        for (std::size_t i = 0; i < clientCounts.size(); ++i) {
            Series& s = series[i];
            Rates simRates;
            Rates peerRates;
            if (simFirst) simRates = measure(sim.pid(), port, clientCounts[i], seconds);
            peerRates = measure(peer->pid(), peer->port(), clientCounts[i], seconds);
            if (!simFirst) simRates = measure(sim.pid(), port, clientCounts[i], seconds);
            s.sim.push_back(simRates.perSecond);
            s.peer.push_back(peerRates.perSecond);
            s.simCpu.push_back(simRates.cpuPerRequest);
            s.peerCpu.push_back(peerRates.cpuPerRequest);
            s.ratio.push_back(simRates.perSecond / peerRates.perSecond);
        }
        std::printf("round %d: 1 client sim %.0f/s libmodbus %.0f/s; 8 clients sim %.0f/s libmodbus %.0f/s\n",
                    round + 1, series[0].sim.back(), series[0].peer.back(), series[1].sim.back(),
                    series[1].peer.back());
        std::fflush(stdout);
    }
    std::filesystem::remove(project);
    for (std::size_t i = 0; i < clientCounts.size(); ++i) {
        const Series& s = series[i];
        std::printf(
            "%d client(s), medians: sim %.0f/s, libmodbus_server %.0f/s; server processor time per "
            "request: sim %.1f us, libmodbus_server %.1f us\n",
            clientCounts[i], median(s.sim), median(s.peer), median(s.simCpu), median(s.peerCpu));
    }
    std::printf("ratio sim/libmodbus_server=%.2f sim8/libmodbus_server8=%.2f\n", median(series[0].ratio),
                median(series[1].ratio));
    return 0;
}
