#include "TessarinModel/PollEditing.hpp"

#include "GuiTestApp.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace tessarin {
namespace {

Poll pollOf(std::string name, std::vector<Datapoint> datapoints = {})
{
    Poll poll;
    poll.name = std::move(name);
    poll.datapoints = std::move(datapoints);
    return poll;
}

Datapoint point(RegisterTable table, std::uint16_t address, DataType type = DataType::uint16, std::string name = {})
{
    Datapoint p;
    p.name = std::move(name);
    p.table = table;
    p.address = address;
    p.dataType = type;
    return Datapoint::make(std::move(p));
}

Datapoint hr(std::uint16_t address, DataType type = DataType::uint16, std::string name = {})
{
    return point(RegisterTable::holdingRegister, address, type, std::move(name));
}

std::vector<std::string> names(const Poll& poll)
{
    std::vector<std::string> out;
    for (const Datapoint& p : poll.datapoints) out.push_back(p.name);
    return out;
}

std::vector<std::string> names(const std::vector<Poll>& polls)
{
    std::vector<std::string> out;
    for (const Poll& p : polls) out.push_back(p.name);
    return out;
}

class PollEditingTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensureGuiApp(); }
};

TEST_F(PollEditingTest, NewDatapointTakesTheNextFreeAddressBehindItsTemplate)
{
    Datapoint shaped = point(RegisterTable::inputRegister, 10, DataType::uint32);
    shaped.unitID = 3;
    shaped.wordOrder = WordOrder::cdab;
    shaped.scale = 0.1;
    shaped.engineeringUnit = "bar";
    struct Row {
        const char* what;
        std::optional<Datapoint> shapedAfter;
        RegisterTable table;
        DataType type;
        std::uint16_t address;
        std::string_view name;
    };
    const Row rows[] = {
        {"no template", std::nullopt, RegisterTable::holdingRegister, DataType::uint16, 0, "HR 0"},
        {"float64 takes four registers", hr(100, DataType::float64), RegisterTable::holdingRegister,
         DataType::float64, 104, "HR 104"},
        {"one bit per coil", point(RegisterTable::coil, 7), RegisterTable::coil, DataType::bool_, 8, "CO 8"},
        {"discrete input at the end", point(RegisterTable::discreteInput, 65535), RegisterTable::discreteInput,
         DataType::bool_, 0, "DI 0"},
        {"register ending at 65535", hr(65535), RegisterTable::holdingRegister, DataType::uint16, 0, "HR 0"},
        {"uint32 fits exactly", hr(65532, DataType::uint32), RegisterTable::holdingRegister, DataType::uint32,
         65534, "HR 65534"},
        // Behind 65530 the next float64 would run past 65535, where it could never be read.
        {"float64 that would not fit", hr(65530, DataType::float64), RegisterTable::holdingRegister,
         DataType::float64, 0, "HR 0"},
        {"shape but not scale or unit", shaped, RegisterTable::inputRegister, DataType::uint32, 12, "IR 12"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const Datapoint made = PollEditing::newDatapoint(row.shapedAfter ? &*row.shapedAfter : nullptr);
        EXPECT_EQ(made.table, row.table);
        EXPECT_EQ(made.dataType, row.type);
        EXPECT_EQ(made.address, row.address);
        EXPECT_EQ(made.name, row.name);
        const Datapoint fresh;
        EXPECT_EQ(made.unitID, row.shapedAfter ? row.shapedAfter->unitID : 1);
        EXPECT_EQ(made.wordOrder, row.shapedAfter ? row.shapedAfter->wordOrder : WordOrder::abcd);
        EXPECT_EQ(made.scale, 1);
        EXPECT_EQ(made.engineeringUnit, "");
        EXPECT_EQ(made.value, 0);
        EXPECT_EQ(made.simulation, fresh.simulation);
        if (row.shapedAfter) {
            EXPECT_NE(made.id, row.shapedAfter->id);
        }
    }
}

TEST_F(PollEditingTest, AddedDatapointGoesBehindTheChosenRowOrAtTheEnd)
{
    Poll poll = pollOf("", {hr(0, DataType::uint16, "a"), hr(10, DataType::float32, "b")});
    const Uuid first = poll.datapoints[0].id;

    const Uuid behindFirst = PollEditing::addDatapoint(poll, first);
    EXPECT_EQ(names(poll), (std::vector<std::string>{"a", "HR 1", "b"}));
    EXPECT_EQ(poll.datapoints[1].id, behindFirst);

    // An id that is gone: shaped after the last row and appended.
    PollEditing::addDatapoint(poll, Uuid::random());
    PollEditing::addDatapoint(poll, std::nullopt);
    EXPECT_EQ(names(poll), (std::vector<std::string>{"a", "HR 1", "b", "HR 12", "HR 14"}));

    Poll empty;
    PollEditing::addDatapoint(empty, std::nullopt);
    EXPECT_EQ(names(empty), std::vector<std::string>{"HR 0"});
}

TEST_F(PollEditingTest, DuplicatesLandBehindTheirSourcesWhereTheyFit)
{
    Poll poll = pollOf("", {hr(10, DataType::uint16, "a"), hr(65534, DataType::uint32, "b"),
                             point(RegisterTable::coil, 65535, DataType::bool_, "c"), hr(3, DataType::int16, "d")});
    const Uuid a = poll.datapoints[0].id;
    const Uuid b = poll.datapoints[1].id;
    const Uuid c = poll.datapoints[2].id;
    PollEditing::duplicateDatapoints(poll, {a, b, c, Uuid::random()});

    EXPECT_EQ(names(poll), (std::vector<std::string>{"a", "a", "b", "b", "c", "c", "d"}));
    const std::vector<int> addresses = [&] {
        std::vector<int> out;
        for (const Datapoint& p : poll.datapoints) out.push_back(p.address);
        return out;
    }();
    EXPECT_EQ(addresses, (std::vector<int>{10, 11, 65534, 65534, 65535, 65535, 3}));
    EXPECT_EQ(poll.datapoints[1].dataType, DataType::uint16);
    EXPECT_EQ(poll.datapoints[3].dataType, DataType::uint32);
    std::set<Uuid> ids;
    for (const Datapoint& p : poll.datapoints) ids.insert(p.id);
    EXPECT_EQ(ids.size(), poll.datapoints.size()) << "every copy has its own id";
}

TEST_F(PollEditingTest, DeletingRemovesRowsAndTheirChartEntries)
{
    Poll poll = pollOf("", {hr(0, DataType::uint16, "a"), hr(1, DataType::uint16, "b"),
                             hr(2, DataType::uint16, "c")});
    const Uuid a = poll.datapoints[0].id;
    const Uuid c = poll.datapoints[2].id;
    poll.plotted = {a, poll.datapoints[1].id};
    PollEditing::deleteDatapoints(poll, {a, c, Uuid::random()});
    EXPECT_EQ(names(poll), std::vector<std::string>{"b"});
    EXPECT_EQ(poll.plotted, std::set<Uuid>{poll.datapoints[0].id});
}

TEST_F(PollEditingTest, EditingACellKeepsTheBitTableRule)
{
    Poll poll = pollOf("", {hr(0, DataType::float32, "a"), point(RegisterTable::coil, 5)});
    const Uuid a = poll.datapoints[0].id;
    const Uuid co = poll.datapoints[1].id;
    EXPECT_TRUE(PollEditing::editDatapoint(poll, a, [](Datapoint& p) { p.table = RegisterTable::coil; }));
    EXPECT_EQ(poll.datapoints[0].dataType, DataType::bool_);
    EXPECT_TRUE(
        PollEditing::editDatapoint(poll, co, [](Datapoint& p) { p.table = RegisterTable::inputRegister; }));
    EXPECT_EQ(poll.datapoints[1].dataType, DataType::uint16);
    EXPECT_TRUE(PollEditing::editDatapoint(poll, co, [](Datapoint& p) { p.dataType = DataType::float64; }));
    EXPECT_EQ(poll.datapoints[1].dataType, DataType::float64);

    const Poll before = poll;
    EXPECT_FALSE(PollEditing::editDatapoint(poll, Uuid::random(), [](Datapoint& p) { p.address = 9; }));
    EXPECT_EQ(poll, before);
}

TEST_F(PollEditingTest, ChartSetHoldsOnlyDatapointsOfThePoll)
{
    Poll poll = pollOf("", {hr(0)});
    const Uuid id = poll.datapoints[0].id;
    PollEditing::setPlotted(poll, true, id);
    PollEditing::setPlotted(poll, true, Uuid::random());
    EXPECT_EQ(poll.plotted, std::set<Uuid>{id});
    PollEditing::setPlotted(poll, false, id);
    EXPECT_TRUE(poll.plotted.empty());
}

TEST_F(PollEditingTest, AddedPollIsNumberedAfterThoseThere)
{
    std::vector<Poll> polls{pollOf("A"), pollOf("B")};
    const Uuid added = PollEditing::addPoll(polls);
    ASSERT_EQ(polls.size(), 3u);
    Poll expected = pollOf("Poll 3");
    expected.id = added;
    EXPECT_EQ(polls[2], expected);
}

TEST_F(PollEditingTest, DuplicatedPollGetsNewIdsAndPlotsTheCopies)
{
    Poll source = pollOf("Boiler", {hr(0), hr(1)});
    source.intervalMs = 250;
    source.enabled = false;
    const Uuid stale = Uuid::random();  // a datapoint deleted since it was plotted
    source.plotted = {source.datapoints[1].id, stale};
    std::vector<Poll> polls{source, pollOf("Other")};

    const auto copyID = PollEditing::duplicatePoll(polls, source.id);
    ASSERT_TRUE(copyID);
    EXPECT_EQ(names(polls), (std::vector<std::string>{"Boiler", "Boiler (copy)", "Other"}));
    const Poll& copy = polls[1];
    EXPECT_EQ(copy.id, *copyID);
    EXPECT_NE(copy.id, source.id);
    EXPECT_EQ(copy.intervalMs, 250);
    EXPECT_FALSE(copy.enabled);
    ASSERT_EQ(copy.datapoints.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_NE(copy.datapoints[i].id, source.datapoints[i].id);
        Datapoint sameID = copy.datapoints[i];
        sameID.id = source.datapoints[i].id;
        EXPECT_EQ(sameID, source.datapoints[i]);
    }
    EXPECT_EQ(copy.plotted, std::set<Uuid>{copy.datapoints[1].id});
    EXPECT_EQ(polls[0], source);

    EXPECT_FALSE(PollEditing::duplicatePoll(polls, Uuid::random()));
    EXPECT_EQ(polls.size(), 3u);
}

TEST_F(PollEditingTest, RemovingAPollMovesTheSelectionOnlyWhenItWasSelected)
{
    const std::vector<Poll> three{pollOf("A"), pollOf("B"), pollOf("C")};
    struct Row {
        const char* what;
        std::size_t removed;
        std::size_t selected;
        std::string_view selectedAfter;
    };
    const Row rows[] = {
        {"selected first: the new first", 0, 0, "B"},
        {"selected middle: the one before", 1, 1, "A"},
        {"selected last: the one before", 2, 2, "B"},
        {"another poll selected: unchanged", 0, 2, "C"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::vector<Poll> polls = three;
        const auto selection = PollEditing::removePoll(polls, three[row.selected].id, three[row.removed].id);
        EXPECT_EQ(polls.size(), 2u);
        ASSERT_TRUE(selection);
        EXPECT_EQ(PollEditing::selectedPoll(polls, selection)->name, row.selectedAfter);
    }

    std::vector<Poll> only{pollOf("A")};
    EXPECT_EQ(PollEditing::removePoll(only, only[0].id, only[0].id), only[0].id);
    EXPECT_EQ(only.size(), 1u);
    std::vector<Poll> polls = three;
    EXPECT_EQ(PollEditing::removePoll(polls, three[1].id, Uuid::random()), three[1].id);
    EXPECT_EQ(polls, three);
}

}  // namespace
}  // namespace tessarin
