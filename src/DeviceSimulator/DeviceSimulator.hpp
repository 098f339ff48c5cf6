#pragma once

#include "DeviceSimulator/SimulatedDevice.hpp"
#include "DeviceSimulator/SimulatorError.hpp"
#include "DeviceSimulator/SimulatorOptions.hpp"

#include <cstdint>
#include <expected>
#include <memory>
#include <thread>

namespace tessarin {

// A Modbus TCP (or RTU over TCP) server for a SimulatedDevice. One thread serves every client
// with non-blocking sockets and a SocketWatcher; a client that sends garbage, leaves a request
// unfinished or stops reading its answers never holds up the others. Destroying it stops it.
class DeviceSimulator {
public:
    // Listens on options.bindAddress and options.port and starts serving. Fails when the
    // address cannot be resolved or bound (a port in use, a port below 1024 without rights).
    [[nodiscard]] static std::expected<std::unique_ptr<DeviceSimulator>, SimulatorError> start(
        SimulatedDevice device, SimulatorOptions options);

    DeviceSimulator(const DeviceSimulator&) = delete;
    DeviceSimulator& operator=(const DeviceSimulator&) = delete;
    ~DeviceSimulator();

    // The port it listens on; the one the system picked when options.port was 0.
    [[nodiscard]] std::uint16_t port() const { return m_port; }

    // Closes every connection and the listener and waits for the thread. Idempotent; not to
    // be called from the log callback.
    void stop();

private:
    struct Server;

    DeviceSimulator(std::unique_ptr<Server> server, std::uint16_t port);

    std::unique_ptr<Server> m_server;
    std::thread m_thread;
    std::uint16_t m_port = 0;
};

}  // namespace tessarin
