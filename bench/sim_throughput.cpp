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
#include "PollerCore/PollerProject.hpp"
#include "support/PeerProcess.hpp"

#include <modbus.h>

#include <fmt/format.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace tessarin;
using Clock = std::chrono::steady_clock;

constexpr int blockCount = 10;

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "sim_throughput: %s\n", why.c_str());
    std::exit(1);
}

double median(std::vector<double> values) {
    std::ranges::sort(values);
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Requests per second of `clients` threads, each with its own connection, for `seconds`.
double measure(std::uint16_t port, int clients, double seconds) {
    std::atomic<long> total{0};
    std::atomic<bool> failed{false};
    std::vector<std::thread> threads;
    const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
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
    return static_cast<double>(total.load()) / seconds;
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
    const auto path = std::filesystem::temp_directory_path() / fmt::format("sim_throughput-{}.json", ::getpid());
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
    const auto port = static_cast<std::uint16_t>(std::stoul(serving->substr(serving->find("127.0.0.1:") + 10)));

    std::vector<double> sim1, peer1, sim8, peer8, ratio1, ratio8;
    for (int round = 0; round < rounds; ++round) {
        const bool simFirst = round % 2 == 0;
        for (const int clients : {1, 8}) {
            auto& simRates = clients == 1 ? sim1 : sim8;
            auto& peerRates = clients == 1 ? peer1 : peer8;
            if (simFirst) simRates.push_back(measure(port, clients, seconds));
            peerRates.push_back(measure(peer->port(), clients, seconds));
            if (!simFirst) simRates.push_back(measure(port, clients, seconds));
            (clients == 1 ? ratio1 : ratio8).push_back(simRates.back() / peerRates.back());
        }
        std::printf("round %d: 1 client sim %.0f/s libmodbus %.0f/s; 8 clients sim %.0f/s libmodbus %.0f/s\n",
                    round + 1, sim1.back(), peer1.back(), sim8.back(), peer8.back());
        std::fflush(stdout);
    }
    std::filesystem::remove(project);
    std::printf("median requests/s: sim %.0f, libmodbus_server %.0f, sim8 %.0f, libmodbus_server8 %.0f\n",
                median(sim1), median(peer1), median(sim8), median(peer8));
    std::printf("ratio sim/libmodbus_server=%.2f sim8/libmodbus_server8=%.2f\n", median(ratio1), median(ratio8));
    return 0;
}
