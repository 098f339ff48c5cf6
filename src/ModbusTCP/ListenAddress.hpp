#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tessarin {

// The interface a listening socket binds to: the loopback interface only, or every
// interface. The client never listens; the type completes the transport's vocabulary.
enum class ListenAddress : std::uint8_t { localhost, anyInterface };

struct ListenAddressInfo {
    ListenAddress address;
    std::string_view rawValue;
};

inline constexpr std::array<ListenAddressInfo, 2> listenAddressTable{{
    {ListenAddress::localhost, "localhost"},
    {ListenAddress::anyInterface, "anyInterface"},
}};

// Every case, in declaration order.
inline constexpr std::array<ListenAddress, listenAddressTable.size()> allListenAddresses{
    ListenAddress::localhost, ListenAddress::anyInterface};

[[nodiscard]] constexpr std::string_view rawValue(ListenAddress address) {
    for (const ListenAddressInfo& info : listenAddressTable) {
        if (info.address == address) return info.rawValue;
    }
    return {};
}

// Exactly a case name, else no value.
[[nodiscard]] constexpr std::optional<ListenAddress> listenAddressFromRawValue(std::string_view raw) {
    for (const ListenAddressInfo& info : listenAddressTable) {
        if (info.rawValue == raw) return info.address;
    }
    return std::nullopt;
}

}  // namespace tessarin
