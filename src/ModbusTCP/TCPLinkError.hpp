#pragma once

#include "Localization/Language.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace tessarin {

// Why opening the link or one request on it failed. Only the payload fields of the case are
// set (the factories see to it), so two errors are equal when their cases and payloads are.
struct TCPLinkError {
    enum class Kind : std::uint8_t {
        resolveFailed,    // no address for the host, or none yielded a socket
        connectFailed,    // the last address tried refused or failed the connection
        connectTimeout,   // the last address tried did not complete the connection in time
        timeout,          // no complete matching answer in time, or the socket stayed unwritable
        disconnected,     // used while closed, closed by the peer, or a send or receive failed
        invalidResponse,  // bytes that cannot be an answer in the link's framing
    };

    Kind kind = Kind::disconnected;
    std::string host{};      // resolveFailed, connectFailed, connectTimeout
    std::uint16_t port = 0;  // connectFailed, connectTimeout
    std::int32_t code = 0;   // connectFailed: the system error number

    [[nodiscard]] static TCPLinkError resolveFailed(std::string host) {
        return {.kind = Kind::resolveFailed, .host = std::move(host)};
    }
    [[nodiscard]] static TCPLinkError connectFailed(std::string host, std::uint16_t port, std::int32_t code) {
        return {.kind = Kind::connectFailed, .host = std::move(host), .port = port, .code = code};
    }
    [[nodiscard]] static TCPLinkError connectTimeout(std::string host, std::uint16_t port) {
        return {.kind = Kind::connectTimeout, .host = std::move(host), .port = port};
    }
    [[nodiscard]] static TCPLinkError timeout() { return {.kind = Kind::timeout}; }
    [[nodiscard]] static TCPLinkError disconnected() { return {.kind = Kind::disconnected}; }
    [[nodiscard]] static TCPLinkError invalidResponse() { return {.kind = Kind::invalidResponse}; }

    // The text the user reads, in the process's language. Host and port appear as "host:port",
    // without brackets even for IPv6 literals; a connect failure names its reason in the
    // language for the common error numbers, else in the system's text.
    [[nodiscard]] std::string localizedDescription() const;
    [[nodiscard]] std::string localizedDescription(Language language) const;

    bool operator==(const TCPLinkError&) const = default;
};

inline constexpr std::array<std::string_view, 6> tcpLinkErrorKindNames{
    "resolveFailed", "connectFailed", "connectTimeout", "timeout", "disconnected", "invalidResponse"};

[[nodiscard]] constexpr std::string_view name(TCPLinkError::Kind kind) {
    return tcpLinkErrorKindNames[static_cast<std::size_t>(kind)];
}

}  // namespace tessarin
