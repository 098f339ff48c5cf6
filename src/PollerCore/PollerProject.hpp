#pragma once

#include "ModbusCore/JSONDecodeError.hpp"
#include "ModbusTCP/TCPFraming.hpp"
#include "PollerCore/Poll.hpp"
#include "PollerCore/WriteMode.hpp"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <expected>
#include <string>
#include <string_view>
#include <vector>

namespace tessarin {

// Everything the user sets up: the device connection and the polls. A plain value; the model
// spreads it over its properties and collects it again for every save.
struct PollerProject {
    static constexpr int currentVersion = 1;

    int version = currentVersion;  // always 1: written as 1, read as 1 whatever the file says
    std::string host = "127.0.0.1";
    std::uint16_t port = modbusTCPPort;
    TCPFraming framing = TCPFraming::modbusTCP;
    int timeoutMs = 1000;  // response time-out; the model keeps only its allowed values
    WriteMode writeMode = WriteMode::single;
    int maxGap = 0;           // largest hole of addresses one read may bridge
    std::vector<Poll> polls;  // in tab order

    // The object with all eight keys.
    [[nodiscard]] nlohmann::json toJSON() const;

    // Every key optional (missing or null takes the default above; version is not read at all);
    // a key of the wrong JSON type, a port beyond 0 ... 65535, a number beyond int, an unknown
    // framing or write mode, or a poll that does not decode fails the whole project. Keys it does
    // not know are ignored. The error's key is the path ("polls.0.datapoints.3.table").
    // Ids are made unique: a poll or datapoint whose id an earlier one (in any poll) already
    // has gets a fresh id.
    [[nodiscard]] static std::expected<PollerProject, JSONDecodeError> fromJSON(const nlohmann::json& json);

    // The project file's text: UTF-8 JSON, pretty printed, keys sorted, every key written.
    // Text that is not valid UTF-8 is written with U+FFFD in its place.
    [[nodiscard]] std::string document() const;

    // A project file's text as written by document() or by hand. Text that is not JSON fails
    // with notAnObject at the empty key, as does JSON that is not an object.
    [[nodiscard]] static std::expected<PollerProject, JSONDecodeError> fromDocument(std::string_view text);

    bool operator==(const PollerProject&) const = default;
};

}  // namespace tessarin
