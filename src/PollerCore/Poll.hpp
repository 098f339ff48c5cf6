#pragma once

#include "ModbusCore/Datapoint.hpp"
#include "ModbusCore/JSONDecodeError.hpp"
#include "ModbusCore/Uuid.hpp"

#include <nlohmann/json_fwd.hpp>

#include <expected>
#include <set>
#include <string>
#include <vector>

namespace tessarin {

// A group of datapoints read together at one interval; one tab of the window.
struct Poll {
    Uuid id = Uuid::random();  // also the key of the poll's plan in the engine
    std::string name;
    int intervalMs = 1000;  // time between two reads of the poll
    bool enabled = true;
    std::vector<Datapoint> datapoints;  // in table order
    std::set<Uuid> plotted;             // datapoints of this poll the chart shows

    // The object with all six keys; plotted as an array of upper-case UUID strings.
    [[nodiscard]] nlohmann::json toJSON() const;

    // Every key optional (missing or null: a fresh id, "", 1000, true, none, none); a key of the
    // wrong JSON type, an invalid UUID, an interval beyond int or a datapoint that does not
    // decode fails the whole poll. The error's key is the path below the poll
    // ("datapoints.3.table").
    [[nodiscard]] static std::expected<Poll, JSONDecodeError> fromJSON(const nlohmann::json& json);

    bool operator==(const Poll&) const = default;
};

}  // namespace tessarin
