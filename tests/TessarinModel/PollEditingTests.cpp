#include "TessarinModel/PollEditing.hpp"

#include "GuiTestApp.hpp"

#include <fmt/format.h>
#include <gtest/gtest.h>

namespace tessarin {
namespace {

Datapoint point(std::uint16_t address, DataType type = DataType::uint16, std::string name = {},
                RegisterTable table = RegisterTable::holdingRegister) {
    Datapoint p;
    p.name = std::move(name);
    p.table = table;
    p.address = address;
    p.dataType = type;
    return Datapoint::make(std::move(p));
}

Poll pollOf(std::string name, std::vector<Datapoint> datapoints = {}) {
    Poll poll;
    poll.name = std::move(name);
    poll.datapoints = std::move(datapoints);
    return poll;
}

// "name@address" for each datapoint, in table order.
std::vector<std::string> rows(const Poll& poll) {
    std::vector<std::string> out;
    for (const Datapoint& p : poll.datapoints) out.push_back(p.name + "@" + std::to_string(p.address));
    return out;
}

using Rows = std::vector<std::string>;

class PollEditingTest : public ::testing::Test {
    void SetUp() override { test::ensureGuiApp(); }
};

TEST_F(PollEditingTest, NewDatapointTakesTheNextFreeAddressBehindItsTemplate) {
    Datapoint shaped = point(10, DataType::uint32, "", RegisterTable::inputRegister);
    shaped.unitID = 3;
    shaped.wordOrder = WordOrder::cdab;
    shaped.scale = 0.1;
    shaped.engineeringUnit = "bar";
    const std::tuple<const char*, std::optional<Datapoint>, DataType, std::string_view> cases[] = {
        {"no template", std::nullopt, DataType::uint16, "HR 0"},
        {"float64 takes four registers", point(100, DataType::float64), DataType::float64, "HR 104"},
        {"one bit per coil", point(7, DataType::bool_, "", RegisterTable::coil), DataType::bool_, "CO 8"},
        {"register ending at 65535", point(65535), DataType::uint16, "HR 0"},
        {"uint32 that fits exactly", point(65532, DataType::uint32), DataType::uint32, "HR 65534"},
        // Behind 65530 a float64 would run past 65535, where it could never be read.
        {"float64 that would not fit", point(65530, DataType::float64), DataType::float64, "HR 0"},
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
        pollOf("", {point(10, DataType::uint16, "a"), point(65534, DataType::uint32, "b"),
                    point(65535, DataType::bool_, "c", RegisterTable::coil), point(3, DataType::int16, "d")});
    PollEditing::duplicateDatapoints(
        poll, {poll.datapoints[0].id, poll.datapoints[1].id, poll.datapoints[2].id, Uuid::random()});
    EXPECT_EQ(rows(poll), (Rows{"a@10", "a@11", "b@65534", "b@65534", "c@65535", "c@65535", "d@3"}));
    std::set<Uuid> ids;
    for (const Datapoint& p : poll.datapoints) ids.insert(p.id);
    EXPECT_EQ(ids.size(), poll.datapoints.size()) << "every copy has its own id";
}

TEST_F(PollEditingTest, DeletingRemovesRowsAndTheirChartEntries) {
    Poll poll = pollOf("", {point(0, DataType::uint16, "a"), point(1, DataType::uint16, "b"),
                            point(2, DataType::uint16, "c")});
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
    Poll poll = pollOf("", {point(0, DataType::float32)});
    const Uuid id = poll.datapoints[0].id;
    const auto typeAfter = [&](auto edit) {
        EXPECT_TRUE(PollEditing::editDatapoint(poll, id, edit));
        return poll.datapoints[0].dataType;
    };
    EXPECT_EQ(typeAfter([](Datapoint& p) { p.table = RegisterTable::coil; }), DataType::bool_);
    EXPECT_EQ(typeAfter([](Datapoint& p) { p.dataType = DataType::float64; }), DataType::bool_);
    EXPECT_EQ(typeAfter([](Datapoint& p) { p.table = RegisterTable::inputRegister; }), DataType::uint16);
    const Poll before = poll;
    EXPECT_FALSE(PollEditing::editDatapoint(poll, Uuid::random(), [](Datapoint& p) { p.address = 9; }));
    EXPECT_EQ(poll, before);
}

TEST_F(PollEditingTest, DuplicatedPollGetsNewIdsAndPlotsTheCopies) {
    Poll source = pollOf("Boiler", {point(0), point(1)});
    source.intervalMs = 250;
    source.plotted = {source.datapoints[1].id, Uuid::random()};  // the second names a deleted datapoint
    std::vector<Poll> polls{source, pollOf("Other")};

    const auto copyID = PollEditing::duplicatePoll(polls, source.id);
    ASSERT_EQ(polls.size(), 3u);
    Poll copy = polls[1];
    EXPECT_EQ(copy.id, copyID);
    EXPECT_EQ(copy.plotted, std::set<Uuid>{copy.datapoints[1].id});
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_NE(copy.datapoints[i].id, source.datapoints[i].id);
        copy.datapoints[i].id = source.datapoints[i].id;
    }
    EXPECT_EQ(copy.name, "Boiler (copy)");
    EXPECT_NE(copy.id, source.id);
    std::tie(copy.id, copy.name, copy.plotted) = std::tie(source.id, source.name, source.plotted);
    EXPECT_EQ(copy, source) << "nothing else differs";
    EXPECT_FALSE(PollEditing::duplicatePoll(polls, Uuid::random()));
}

TEST_F(PollEditingTest, RemovingAPollMovesTheSelectionOnlyWhenItWasSelected) {
    const std::vector<Poll> three{pollOf("A"), pollOf("B"), pollOf("C")};
    const std::tuple<const char*, std::size_t, std::size_t, std::string_view> cases[] = {
        {"selected first: the new first", 0, 0, "B"},
        {"selected middle: the one before", 1, 1, "A"},
        {"another poll selected: unchanged", 0, 2, "C"},
    };
    for (const auto& [what, removed, selected, selectedAfter] : cases) {
        SCOPED_TRACE(what);
        std::vector<Poll> polls = three;
        const auto selection = PollEditing::removePoll(polls, three[selected].id, three[removed].id);
        EXPECT_EQ(polls.size(), 2u);
        ASSERT_TRUE(PollEditing::selectedPoll(polls, selection));
        EXPECT_EQ(PollEditing::selectedPoll(polls, selection)->name, selectedAfter);
    }
}

}  // namespace
}  // namespace tessarin
