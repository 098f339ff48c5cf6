#pragma once

#include "peers/DeviceContents.hpp"

#include <sys/types.h>

#include <cstdint>
#include <expected>
#include <optional>
#include <string>

namespace tessarin::test {

// The real devices of tests/peers. Both serve the tables of DeviceContents.
enum class PeerKind {
    libmodbusTCP,  // Modbus TCP, libmodbus's server
    pymodbusRTU,   // RTU over TCP, pymodbus's server (no answer to unknown function codes)
};

struct PeerOptions {
    std::optional<std::uint8_t> unit;        // answer only this unit; silence for the others
    int delayMs = 0;                         // wait before every answer
    int size = DeviceContents::defaultSize;  // addresses per table; reads beyond get exception 02
    std::uint16_t port = 0;                  // 0: any free port
};

// One peer process on a free loopback port, stopped (killed and reaped) when the object goes.
// The peer also ends by itself when this process dies, because it watches its stdin pipe.
class PeerProcess {
public:
    // The error is a sentence for the test log: which peer could not start and why. A peer
    // that is missing is an error, never a reason to skip.
    [[nodiscard]] static std::expected<PeerProcess, std::string> start(PeerKind kind,
                                                                       const PeerOptions& options = {});

    PeerProcess(PeerProcess&& other) noexcept;
    PeerProcess& operator=(PeerProcess&& other) noexcept;
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;
    ~PeerProcess();

    std::uint16_t port() const { return m_port; }
    // The peer's process id, e.g. to pin it to a CPU; -1 once stopped.
    pid_t pid() const { return m_pid; }
    // Kills the peer and waits for it; clients then see their connections closed. Idempotent.
    void stop();

private:
    PeerProcess(pid_t pid, int input, std::uint16_t port) : m_pid(pid), m_input(input), m_port(port) {}

    pid_t m_pid = -1;
    int m_input = -1;  // write end of the peer's stdin
    std::uint16_t m_port = 0;
};

}  // namespace tessarin::test
