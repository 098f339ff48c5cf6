#pragma once

#include <cstdint>
#include <string>

namespace tessarin {

// Why a simulator could not start listening.
struct SimulatorError {
    enum class Kind : unsigned char {
        resolveFailed,  // the bind address is neither an address nor a known name
        listenFailed,   // socket, bind or listen failed; code is the errno
        threadFailed,   // the server thread or its wake-up channel could not be created
    };
    Kind kind = Kind::listenFailed;
    std::string host;  // the bind address as given
    std::uint16_t port = 0;
    int code = 0;  // the system error number, 0 for resolveFailed

    // A localised sentence for the user.
    [[nodiscard]] std::string description() const;

    bool operator==(const SimulatorError&) const = default;
};

}  // namespace tessarin
