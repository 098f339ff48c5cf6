#include "PollerCore/PollerProject.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace tessarin {
namespace {

using Reason = JSONDecodeError::Reason;

Uuid uuid(std::string_view text) {
    return Uuid::parse(text).value();
}

TEST(PollerProject, EmptyDocumentsTakeTheDefaultsAndEveryPollItsOwnID) {
    EXPECT_EQ(PollerProject::fromDocument("{}"), PollerProject{});
    const auto first = Poll::fromJSON(nlohmann::json::object());
    const auto second = Poll::fromJSON(nlohmann::json::object());
    ASSERT_TRUE(first.has_value() && second.has_value());
    EXPECT_NE(first->id, second->id);
    // Whatever version a file claims, the project read is version 1 and is written back as 1.
    const auto versioned = PollerProject::fromDocument(R"({"version": 7})");
    ASSERT_TRUE(versioned.has_value());
    EXPECT_EQ(nlohmann::json::parse(versioned->document())["version"], 1);
}

// Datapoints are written by their own encoder, whose tests show their keys.
TEST(PollerProject, DocumentWritesEveryKeySortedAndIndentedAndReadsBack) {
    PollerProject project;
    project.host = "plc.local";
    project.port = 65535;
    project.framing = TCPFraming::rtuOverTCP;
    project.timeoutMs = 300;  // not an allowed time-out: keeping it or not is the model's choice
    project.writeMode = WriteMode::multiple;
    project.maxGap = -3;
    Poll poll;
    poll.id = uuid("0a1b2c3d-4e5f-4a6b-8c7d-8e9fa0b1c2d3");
    poll.name = "Meter";
    poll.intervalMs = 250;
    poll.enabled = false;
    // Ids of no datapoint of the poll survive too: only the chart prunes.
    poll.plotted = {uuid("FFFFFFFF-0000-4000-8000-000000000001"),
                    uuid("00000000-0000-4000-8000-000000000002")};
    project.polls = {poll};

    EXPECT_EQ(project.document(), R"({
  "framing": "rtuOverTCP",
  "host": "plc.local",
  "maxGap": -3,
  "polls": [
    {
      "datapoints": [],
      "enabled": false,
      "id": "0A1B2C3D-4E5F-4A6B-8C7D-8E9FA0B1C2D3",
      "intervalMs": 250,
      "name": "Meter",
      "plotted": [
        "00000000-0000-4000-8000-000000000002",
        "FFFFFFFF-0000-4000-8000-000000000001"
      ]
    }
  ],
  "port": 65535,
  "timeoutMs": 300,
  "version": 1,
  "writeMode": "multiple"
})");

    project.polls.push_back(Poll{});
    project.polls[1].datapoints.resize(2);
    project.polls[1].datapoints[1].setTable(RegisterTable::discreteInput);
    project.polls[1].datapoints[1].address = 65535;
    const auto read = PollerProject::fromDocument(project.document());
    ASSERT_TRUE(read.has_value()) << rawValue(read.error().reason) << " " << read.error().key;
    EXPECT_EQ(*read, project);
}

TEST(PollerProject, ReadingIsTolerantOfAbsenceAndStrictAboutTypes) {
    struct Row {
        std::string_view name;
        std::string_view document;
        std::optional<JSONDecodeError> error;  // none: the document reads
    };
    const auto fails = [](Reason reason, std::string key) { return JSONDecodeError{reason, std::move(key)}; };
    const Row rows[] = {
        {"nulls take defaults", R"({"host": null, "port": null, "polls": null})", std::nullopt},
        {"unknown keys are ignored", R"({"extra": [1, 2], "polls": [{"colour": "red"}]})", std::nullopt},
        {"any version, any type", R"({"version": "seven"})", std::nullopt},
        {"plotted ids in either case, repeated",
         R"({"polls": [{"plotted": ["abcdef01-2345-4678-9abc-def012345678", "ABCDEF01-2345-4678-9ABC-DEF012345678"]}]})",
         std::nullopt},
        {"whole floating-point numbers", R"({"port": 502.0, "timeoutMs": 2e3})", std::nullopt},
        {"port too large", R"({"port": 70000})", fails(Reason::outOfRange, "port")},
        {"port as a string", R"({"port": "502"})", fails(Reason::wrongType, "port")},
        {"framing not a case", R"({"framing": "RTU"})", fails(Reason::unknownCase, "framing")},
        {"fractional time-out", R"({"timeoutMs": 1.5})", fails(Reason::outOfRange, "timeoutMs")},
        {"time-out beyond int", R"({"timeoutMs": 4294967296})", fails(Reason::outOfRange, "timeoutMs")},
        {"polls as an object", R"({"polls": {}})", fails(Reason::wrongType, "polls")},
        {"poll not an object", R"({"polls": [{}, 1]})", fails(Reason::notAnObject, "polls.1")},
        {"enabled as a number", R"({"polls": [{"enabled": 1}]})",
         fails(Reason::wrongType, "polls.0.enabled")},
        {"plotted id not a UUID",
         R"({"polls": [{"plotted": ["00000000-0000-4000-8000-000000000002", "x"]}]})",
         fails(Reason::invalidUuid, "polls.0.plotted.1")},
        {"datapoint table capitalised", R"({"polls": [{"datapoints": [{}, {"table": "Coil"}]}]})",
         fails(Reason::unknownCase, "polls.0.datapoints.1.table")},
        {"not JSON", "port = 502", fails(Reason::notAnObject, "")},
        {"trailing text", "{} {}", fails(Reason::notAnObject, "")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto project = PollerProject::fromDocument(row.document);
        if (row.error) {
            ASSERT_FALSE(project.has_value());
            EXPECT_EQ(project.error(), *row.error)
                << rawValue(project.error().reason) << " " << project.error().key;
        } else {
            EXPECT_TRUE(project.has_value())
                << rawValue(project.error().reason) << " " << project.error().key;
        }
    }
}

TEST(PollerProject, TextThatIsNotUTF8IsStillWritten) {
    PollerProject project;
    project.host = "pl\xFF";
    project.polls.push_back(Poll{});
    project.polls[0].name = "Kessel \xE4";
    const std::string document = project.document();
    const auto read = PollerProject::fromDocument(document);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->host, "pl\xEF\xBF\xBD");
    EXPECT_EQ(read->polls[0].name, "Kessel \xEF\xBF\xBD");
}

}  // namespace
}  // namespace tessarin

namespace tessarin {
namespace {

TEST(PollerProject, SharedIdsBecomeUniqueWithTheFirstKeepingItsOwn) {
    const std::string shared = "11111111-2222-4333-8444-555555555555";
    const std::string other = "AAAAAAAA-2222-4333-8444-555555555555";
    const auto point = [](const std::string& id, int address) {
        return nlohmann::json{{"id", id}, {"address", address}};
    };
    const nlohmann::json document{
        {"polls",
         {{{"id", other}, {"datapoints", {point(shared, 0), point(shared, 1)}}, {"plotted", {shared}}},
          {{"id", other}, {"datapoints", {point(shared, 2), point(other, 3)}}, {"plotted", {shared}}}}}};
    const auto project = PollerProject::fromDocument(document.dump());
    ASSERT_TRUE(project.has_value());
    const Poll& first = project->polls.at(0);
    const Poll& second = project->polls.at(1);

    EXPECT_EQ(first.id, uuid(other));
    EXPECT_NE(second.id, first.id) << "a second poll sharing an id would never be read";
    std::set<Uuid> pointIDs;
    for (const Poll* poll : {&first, &second}) {
        for (const Datapoint& p : poll->datapoints) pointIDs.insert(p.id);
    }
    EXPECT_EQ(pointIDs.size(), 4U) << "datapoints all distinct, across polls too";
    EXPECT_EQ(first.datapoints.at(0).id, uuid(shared));
    EXPECT_EQ(second.datapoints.at(1).id, uuid(other)) << "a datapoint may share a poll's id";
    // Each poll plots its own row, not the first file-wide holder of the id.
    EXPECT_EQ(first.plotted, std::set<Uuid>{uuid(shared)});
    EXPECT_EQ(second.plotted, std::set<Uuid>{second.datapoints.at(0).id});
}

}  // namespace
}  // namespace tessarin
