#include "PollerCore/Poll.hpp"

#include "ModbusCore/JSONFields.hpp"
#include "PollerCore/ProjectJSONFields.hpp"

#include <nlohmann/json.hpp>

namespace tessarin {

nlohmann::json Poll::toJSON() const {
    nlohmann::json points = nlohmann::json::array();
    for (const Datapoint& point : datapoints) points.push_back(point.toJSON());
    nlohmann::json plottedIDs = nlohmann::json::array();
    for (const Uuid& plottedID : plotted) plottedIDs.push_back(plottedID.text());
    return {
        {"datapoints", std::move(points)}, {"enabled", enabled}, {"id", id.text()},
        {"intervalMs", intervalMs},        {"name", name},       {"plotted", std::move(plottedIDs)},
    };
}

std::expected<Poll, JSONDecodeError> Poll::fromJSON(const nlohmann::json& json) {
    using Reason = JSONDecodeError::Reason;
    if (!json.is_object()) return std::unexpected(JSONDecodeError{Reason::notAnObject, ""});
    Poll poll;
    if (auto error = ProjectJSONFields::readUuid(json, "id", poll.id))
        return std::unexpected(std::move(*error));
    if (auto error = JSONFields::readString(json, "name", poll.name))
        return std::unexpected(std::move(*error));
    if (auto error = ProjectJSONFields::readInt(json, "intervalMs", poll.intervalMs)) {
        return std::unexpected(std::move(*error));
    }
    if (auto error = ProjectJSONFields::readBool(json, "enabled", poll.enabled)) {
        return std::unexpected(std::move(*error));
    }
    if (auto error =
            ProjectJSONFields::readArray(json, "datapoints", poll.datapoints, &Datapoint::fromJSON)) {
        return std::unexpected(std::move(*error));
    }
    std::vector<Uuid> plottedIDs;
    const auto parseID = [](const nlohmann::json& element) -> std::expected<Uuid, JSONDecodeError> {
        if (!element.is_string()) return std::unexpected(JSONDecodeError{Reason::wrongType, ""});
        const auto parsed = Uuid::parse(element.get_ref<const std::string&>());
        if (!parsed) return std::unexpected(JSONDecodeError{Reason::invalidUuid, ""});
        return *parsed;
    };
    if (auto error = ProjectJSONFields::readArray(json, "plotted", plottedIDs, parseID)) {
        return std::unexpected(std::move(*error));
    }
    poll.plotted.insert(plottedIDs.begin(), plottedIDs.end());
    return poll;
}

}  // namespace tessarin
