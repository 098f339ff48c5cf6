#pragma once

#include "ModbusTCP/TCPFraming.hpp"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace tessarin {

// How a DeviceSimulator listens and behaves towards its clients.
struct SimulatorOptions {
    std::string bindAddress = "127.0.0.1";  // a numeric address or a name; "0.0.0.0" or "::" for all
    std::uint16_t port = 0;                 // 0: a free port the system picks (see DeviceSimulator::port)
    TCPFraming framing = TCPFraming::modbusTCP;
    std::chrono::milliseconds latency{0};  // every answer leaves this long after its request came in
    // A client whose request stays unfinished this long is dropped, as one sending garbage is.
    std::chrono::milliseconds incompleteRequestTimeout{5000};
    std::size_t maxClients = 512;  // further connections are closed at once
    std::size_t maxQueuedBytes =
        std::size_t{64} * 1024;  // answers waiting for a slow reader before its requests wait
    // One line per client connect, disconnect and drop: on the simulator's thread, and for the
    // clients still connected when it stops, in stop().
    std::function<void(const std::string&)> log;
    // The generators' time in seconds, asked on the simulator's thread; by default the
    // seconds since the simulator started.
    std::function<double()> clock;
};

}  // namespace tessarin
