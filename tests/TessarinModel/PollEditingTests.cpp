#include "TessarinModel/PollEditing.hpp"

#include "ModelFixture.hpp"

#include <QTemporaryDir>

#include <fmt/format.h>

namespace tessarin::test {
namespace {

// "name@address" for each datapoint, in table order.
std::vector<std::string> rows(const Poll& poll) {
    std::vector<std::string> out;
    for (const Datapoint& p : poll.datapoints) out.push_back(p.name + "@" + std::to_string(p.address));
    return out;
}

using Rows = std::vector<std::string>;

using PollEditingTest = GuiTest;

TEST_F(PollEditingTest, NewDatapointTakesTheNextFreeAddressBehindItsTemplate) {
    Datapoint shaped = holdingRegister(10, DataType::uint32);
    shaped.setTable(RegisterTable::inputRegister);
    shaped.unitID = 3;
    shaped.wordOrder = WordOrder::cdab;
    shaped.scale = 0.1;
    shaped.engineeringUnit = "bar";
    const std::tuple<const char*, std::optional<Datapoint>, DataType, std::string_view> cases[] = {
        {"no template", std::nullopt, DataType::uint16, "HR 0"},
        {"float64: four registers", holdingRegister(100, DataType::float64), DataType::float64, "HR 104"},
        {"one bit per coil", coil(7), DataType::bool_, "CO 8"},
        {"register ending at 65535", holdingRegister(65535), DataType::uint16, "HR 0"},
        {"uint32 that fits exactly", holdingRegister(65532, DataType::uint32), DataType::uint32, "HR 65534"},
        // Behind 65530 a float64 would run past 65535, where it could never be read.
        {"float64 that would not fit", holdingRegister(65530, DataType::float64), DataType::float64, "HR 0"},
        {"shape but not scale or unit", shaped, DataType::uint32, "IR 12"},
    };
    for (const auto& [what, shapedAfter, type, name] : cases) {
        SCOPED_TRACE(what);
        const Datapoint made = PollEditing::newDatapoint(shapedAfter ? &*shapedAfter : nullptr);
        Datapoint expected;
        expected.id = made.id;
        expected.name = name;
        expected.dataType = type;
        expected.address = made.address;
        if (shapedAfter) {
            expected.unitID = shapedAfter->unitID;
            expected.table = shapedAfter->table;
            expected.wordOrder = shapedAfter->wordOrder;
            EXPECT_NE(made.id, shapedAfter->id);
        }
        EXPECT_EQ(made, expected);
        EXPECT_EQ(made.name, fmt::format("{} {}", code(made.table), made.address));
    }
}

TEST_F(PollEditingTest, DuplicatesLandBehindTheirSourcesWhereTheyFit) {
    Poll poll =
        pollWith({holdingRegister(10, DataType::uint16, "a"), holdingRegister(65534, DataType::uint32, "b"),
                  coil(65535, "c"), holdingRegister(3, DataType::int16, "d")});
    PollEditing::duplicateDatapoints(
        poll, {poll.datapoints[0].id, poll.datapoints[1].id, poll.datapoints[2].id, Uuid::random()});
    EXPECT_EQ(rows(poll), (Rows{"a@10", "a@11", "b@65534", "b@65534", "c@65535", "c@65535", "d@3"}));
    std::set<Uuid> ids;
    for (const Datapoint& p : poll.datapoints) ids.insert(p.id);
    EXPECT_EQ(ids.size(), poll.datapoints.size()) << "every copy has its own id";
}

TEST_F(PollEditingTest, DeletingRemovesRowsAndTheirChartEntries) {
    Poll poll =
        pollWith({holdingRegister(0, DataType::uint16, "a"), holdingRegister(1, DataType::uint16, "b"),
                  holdingRegister(2, DataType::uint16, "c")});
    const Uuid a = poll.datapoints[0].id;
    const Uuid b = poll.datapoints[1].id;
    poll.plotted = {a, b};
    PollEditing::deleteDatapoints(poll, {a, poll.datapoints[2].id, Uuid::random()});
    EXPECT_EQ(rows(poll), Rows{"b@1"});
    EXPECT_EQ(poll.plotted, std::set<Uuid>{b});

    PollEditing::setPlotted(poll, true, a);  // deleted: not plotted again
    EXPECT_EQ(poll.plotted, std::set<Uuid>{b});
}

TEST_F(PollEditingTest, EditingACellKeepsTheBitTableRule) {
    Poll poll = pollWith({holdingRegister(0, DataType::float32)});
    const Uuid id = poll.datapoints[0].id;
    const auto typeAfter = [&](auto edit) {
        EXPECT_TRUE(PollEditing::editDatapoint(poll, id, edit));
        return poll.datapoints[0].dataType;
    };
    EXPECT_EQ(typeAfter([](Datapoint& p) { p.table = RegisterTable::coil; }), DataType::bool_);
    EXPECT_EQ(typeAfter([](Datapoint& p) { p.dataType = DataType::float64; }), DataType::bool_);
    EXPECT_EQ(typeAfter([](Datapoint& p) { p.table = RegisterTable::inputRegister; }), DataType::uint16);
    // A register may hold a bit: the Type picker's "Bit" and any later edit keep it.
    EXPECT_EQ(typeAfter([](Datapoint& p) { p.dataType = DataType::bool_; }), DataType::bool_);
    EXPECT_EQ(typeAfter([](Datapoint& p) { p.name = "Pump running"; }), DataType::bool_);
    EXPECT_EQ(typeAfter([](Datapoint& p) { p.table = RegisterTable::holdingRegister; }), DataType::uint16);
    const Poll before = poll;
    EXPECT_FALSE(PollEditing::editDatapoint(poll, Uuid::random(), [](Datapoint& p) { p.address = 9; }));
    EXPECT_EQ(poll, before);
}

// ---------------------------------------------------------------------------------------

using EditingTest = ModelFixture;

// The edits themselves are PollEditing's and DatapointTransfer's; here: that each lands in the
// model as one change of polls with the selection the commands promise.
TEST_F(EditingTest, PollCommandsSelectWhatTheyMake) {
    PollerModel& m = makeModel();
    m.addPoll();
    EXPECT_EQ(m.selectedPoll()->name, "Poll 2");
    m.duplicatePoll(m.polls().front().id);
    EXPECT_EQ(m.selectedPoll()->name, "Example device (copy)");
    for (int i = 0; i < 3; ++i) m.removePoll(m.polls().front().id);
    EXPECT_EQ(m.polls().size(), 1U) << "the last poll stays";
    EXPECT_TRUE(m.autosavePending());
}

TEST_F(EditingTest, DatapointCommandsWorkOnTheSelectedPollOnly) {
    PollerModel& m = makeModel();
    const Uuid first = m.polls().front().datapoints.front().id;
    const auto added = m.addDatapoint(first);
    ASSERT_TRUE(added);
    EXPECT_EQ(m.selectedPoll()->datapoints[1].id, *added);
    m.editDatapoint(*added, [](Datapoint& point) { point.name = "Level"; });
    EXPECT_EQ(m.selectedPoll()->datapoints[1].name, "Level");
    m.setPlotted(true, *added);
    EXPECT_TRUE(m.selectedPoll()->plotted.contains(*added));
    m.deleteDatapoints({*added, first});
    EXPECT_EQ(m.selectedPoll()->datapoints.size(), 6U);
    EXPECT_TRUE(m.selectedPoll()->plotted.empty());

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("list.csv"));
    writeFile(file, "Name,Table,Address\nFlow,HR,7\n");
    services.answerOpenPanel(file);
    services.answerAlert(AlertResponse::second);
    m.importDatapointsCSV();
    ASSERT_EQ(m.selectedPoll()->datapoints.size(), 1U);
    EXPECT_EQ(m.selectedPoll()->datapoints.front().name, "Flow");
    writeFile(file, "nothing here\n");
    services.answerOpenPanel(file);
    m.importDatapointsCSV();
    EXPECT_TRUE(m.errorMessage().value_or(QString()).startsWith(QStringLiteral("No datapoints found")));

    m.setSelectedPollID(std::nullopt);
    const std::vector<Poll> before = m.polls();
    EXPECT_FALSE(m.addDatapoint(std::nullopt));
    m.importDatapointsCSV();
    m.exportDatapointsCSV();
    EXPECT_EQ(m.polls(), before);
}

}  // namespace
}  // namespace tessarin::test
