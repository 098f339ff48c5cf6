#include "PollerCore/PollerProject.hpp"

#include "ModbusCore/JSONFields.hpp"
#include "PollerCore/ProjectJSONFields.hpp"

#include <nlohmann/json.hpp>

#include <unordered_set>

namespace tessarin {

namespace {

constexpr int indentWidth = 2;

// Statuses, history and plans are keyed by id, so two rows sharing one would show each other's
// values and a second poll sharing an id would never be read. Files merged or edited by hand
// do share them: the first keeps its id, every later one gets a fresh id. A poll's plotted
// set follows its own datapoint's new id.
void giveDuplicatesFreshIDs(std::vector<Poll>& polls) {
    std::unordered_set<Uuid> pollIDs;
    std::unordered_set<Uuid> pointIDs;
    for (Poll& poll : polls) {
        while (!pollIDs.insert(poll.id).second) poll.id = Uuid::random();
        std::unordered_set<Uuid> inThisPoll;
        for (Datapoint& point : poll.datapoints) {
            const Uuid original = point.id;
            const bool firstInPoll = inThisPoll.insert(original).second;
            if (pointIDs.insert(original).second) continue;
            do {
                point.id = Uuid::random();
            } while (!pointIDs.insert(point.id).second);
            inThisPoll.insert(point.id);
            if (firstInPoll && poll.plotted.erase(original) > 0) poll.plotted.insert(point.id);
        }
    }
}

}  // namespace

nlohmann::json PollerProject::toJSON() const {
    nlohmann::json pollObjects = nlohmann::json::array();
    for (const Poll& poll : polls) pollObjects.push_back(poll.toJSON());
    return {
        {"framing", rawValue(framing)},
        {"host", host},
        {"maxGap", maxGap},
        {"polls", std::move(pollObjects)},
        {"port", port},
        {"timeoutMs", timeoutMs},
        {"version", currentVersion},
        {"writeMode", rawValue(writeMode)},
    };
}

std::expected<PollerProject, JSONDecodeError> PollerProject::fromJSON(const nlohmann::json& json) {
    if (!json.is_object()) return std::unexpected(JSONDecodeError{JSONDecodeError::Reason::notAnObject, ""});
    PollerProject project;
    std::optional<JSONDecodeError> error;
    // A stored version is not a promise about the content: the reader takes what it knows.
    if (!error) error = JSONFields::readString(json, "host", project.host);
    if (!error) error = JSONFields::readUnsigned<std::uint16_t>(json, "port", 0xFFFF, project.port);
    if (!error) error = JSONFields::readCase(json, "framing", tcpFramingFromRawValue, project.framing);
    if (!error) error = ProjectJSONFields::readInt(json, "timeoutMs", project.timeoutMs);
    if (!error) error = JSONFields::readCase(json, "writeMode", writeModeFromRawValue, project.writeMode);
    if (!error) error = ProjectJSONFields::readInt(json, "maxGap", project.maxGap);
    if (!error) error = ProjectJSONFields::readArray(json, "polls", project.polls, &Poll::fromJSON);
    if (error) return std::unexpected(std::move(*error));
    giveDuplicatesFreshIDs(project.polls);
    return project;
}

std::string PollerProject::document() const {
    // nlohmann keeps object keys sorted; replacing bad UTF-8 keeps dump() from throwing.
    return toJSON().dump(indentWidth, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::expected<PollerProject, JSONDecodeError> PollerProject::fromDocument(std::string_view text) {
    const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    if (json.is_discarded())
        return std::unexpected(JSONDecodeError{JSONDecodeError::Reason::notAnObject, ""});
    return fromJSON(json);
}

}  // namespace tessarin
