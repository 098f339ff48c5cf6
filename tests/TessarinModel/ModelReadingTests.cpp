#include "ModelFixture.hpp"

#include "Localization/L10n.hpp"
#include "ModbusCore/MBAPHeader.hpp"

#include <QSignalSpy>
#include <QTextBlock>

namespace tessarin::test {
namespace {

PollerEvent readFailed(const Poll& poll, const ReadBlock& block, PollFailure failure) {
    return {PollerEvent::Read{.poll = poll.id,
                              .block = block,
                              .result = std::unexpected(PollFailureError{failure}),
                              .request = MBAPHeader::message(1, block.unit, block.pdu()),
                              .response = {},
                              .duration = 1.0}};
}

ReadBlock holdingBlock(std::uint16_t address, int count) {
    return {.unit = 1, .table = RegisterTable::holdingRegister, .address = address, .count = count};
}

// Reading the "Tank" poll: a scaled level, an int16 beside it and HR 5 apart.
class ReadingTest : public ModelFixture {
protected:
    void SetUp() override {
        ModelFixture::SetUp();
        Datapoint level = holdingRegister(0, DataType::uint16, "Level");
        level.scale = 0.1;
        level.engineeringUnit = "m";
        startReading({pollWith({level, holdingRegister(1, DataType::int16), holdingRegister(5)}, "Tank")});
    }

    const Poll& poll() const { return model->polls().front(); }
    const Datapoint& point(std::size_t index) const { return poll().datapoints[index]; }
};

TEST_F(ReadingTest, AGoodReadStoresEveryCoveredStatusAndLogsTheAnswer) {
    PollerModel& m = *model;
    QSignalSpy changed(&m, &PollerModel::pointStatusChanged);
    const auto before = std::chrono::system_clock::now();
    m.handle(readOK(poll(), holdingBlock(0, 2), {215, 0xFFFF}));

    const PointStatus* level = m.status(point(0).id);
    const PointStatus* second = m.status(point(1).id);
    ASSERT_TRUE(level && second);
    EXPECT_EQ(*level, (PointStatus{21.5, {215}, std::nullopt, level->updated, 0.0129}));
    EXPECT_GE(*level->updated, before);
    EXPECT_EQ(second->value, -1.0);
    EXPECT_EQ(second->updated, level->updated);
    EXPECT_EQ(m.status(point(2).id), nullptr);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.front().front().value<std::vector<Uuid>>(),
              (std::vector<Uuid>{point(0).id, point(1).id}));
    EXPECT_EQ(m.statistics(), (PollerStatistics{.requests = 1, .responses = 1}));
    EXPECT_EQ(logLines(),
              std::vector<std::string>{"← Unit 1 · FC 03 Read holding registers · 04 00 D7 FF FF  (12 ms)"});
}

TEST_F(ReadingTest, EveryFailureIsCountedAndLoggedByItsKind) {
    struct Row {
        PollFailure failure;
        bool warning;              // else an error
        PollerStatistics counted;  // requests, responses, time-outs, exceptions, errors
        const char* text;
    };
    const std::vector<Row> rows{
        {PollFailure::timeout(), false, {1, 0, 1, 0, 0}, "no response within 1000 ms"},
        {PollFailure::exception(2), true, {1, 1, 0, 1, 0}, "Illegal data address (02)"},
        {PollFailure::exception(0x0C), true, {1, 1, 0, 1, 0}, "Exception (0C)"},
        {PollFailure::crcMismatch(), false, {1, 0, 0, 0, 1}, "CRC error in the response"},
        {PollFailure::malformed(), false, {1, 0, 0, 0, 1}, "response with the wrong length"},
        {PollFailure::unexpectedUnit(9), false, {1, 0, 0, 0, 1}, "response from unit 9"},
        {PollFailure::unexpectedFunction(4), false, {1, 0, 0, 0, 1}, "response with function code 04"},
        {PollFailure::noConnection(), false, {1, 0, 0, 0, 0}, "no connection to the device"},
    };
    PollerModel& m = *model;
    m.setLogOnlyProblems(true);
    m.handle(readOK(poll(), holdingBlock(0, 2), {1, 2}));
    EXPECT_TRUE(m.outputIsEmpty()) << "good reads are no problem";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        m.clearLog();
        m.handle(readFailed(poll(), holdingBlock(0, 2), row.failure));
        EXPECT_EQ(m.statistics(), row.counted);
        EXPECT_EQ(logLines(),
                  std::vector<std::string>{std::string("✕ Unit 1 · FC 03 Read holding registers HR 0–1 · ") +
                                           row.text});
        EXPECT_EQ(m.output().document()->firstBlock().begin().fragment().charFormat().foreground(),
                  m.output()
                      .format(row.warning ? LogSegment::Kind::warning : LogSegment::Kind::error)
                      .foreground());
        EXPECT_EQ(m.status(point(0).id)->failure, row.failure);
    }
    m.clearLog();
    m.handle(readFailed(poll(), holdingBlock(5, 1), PollFailure::timeout()));
    EXPECT_EQ(logLines().back(), "✕ Unit 1 · FC 03 Read holding registers HR 5 · no response within 1000 ms");
}

TEST_F(ReadingTest, AFailedReadKeepsTheLastGoodValueBesideTheFailure) {
    PollerModel& m = *model;
    EXPECT_EQ(m.health(poll()), std::nullopt);
    m.handle(readOK(poll(), holdingBlock(0, 2), {100, 3}));
    PointStatus expected = *m.status(point(0).id);
    EXPECT_EQ(m.health(poll()), true);
    m.handle(readFailed(poll(), holdingBlock(0, 2), PollFailure::timeout()));

    const PointStatus& failed = *m.status(point(0).id);
    EXPECT_GE(*failed.updated, *expected.updated);
    expected.updated = failed.updated;
    expected.failure = PollFailure::timeout();
    EXPECT_EQ(failed, expected);
    EXPECT_EQ(m.health(poll()), false);

    // A datapoint never read before gets a status that holds only the failure.
    m.handle(readFailed(poll(), holdingBlock(5, 1), PollFailure::exception(2)));
    const PointStatus& fresh = *m.status(point(2).id);
    EXPECT_FALSE(fresh.value);
    EXPECT_TRUE(fresh.raw.empty());
}

TEST_F(ReadingTest, TheNoResponseHintFollowsThreeTimeoutsInARow) {
    struct Row {
        const char* steps;  // T timeout, C CRC error, E exception, G good read, D dismiss, R restart
        bool shown;
    };
    const std::vector<Row> rows{
        {"TTT", true},      {"TT", false},      {"TGTT", false}, {"CCC", true},
        {"TCT", true},      {"TTET", true},     {"TTTG", true},  {"TTTD", false},
        {"TTTDTTT", false}, {"TTTDRTTT", true}, {"TTTR", false}, {"EEE", false},
    };
    PollerModel& m = *model;
    const auto fail = [&](PollFailure failure) { m.handle(readFailed(poll(), holdingBlock(0, 1), failure)); };
    const std::map<char, std::function<void()>> steps{
        {'T', [&] { fail(PollFailure::timeout()); }},
        {'C', [&] { fail(PollFailure::crcMismatch()); }},
        {'E', [&] { fail(PollFailure::exception(2)); }},
        {'G', [&] { m.handle(readOK(poll(), holdingBlock(0, 1), {1})); }},
        {'D', [&] { m.dismissNoResponseHint(); }},
        {'R', [&] { m.stop(), m.start(); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.steps);
        steps.at('R')();
        for (const char step : std::string_view(row.steps)) steps.at(step)();
        EXPECT_EQ(m.showNoResponseHint(), row.shown);
    }
}

// The engine of a stopped model may still deliver what it had under way.
TEST_F(ReadingTest, EventsOfARemovedPollAreCountedOnlyAndEventsAfterStopAreDropped) {
    PollerModel& m = *model;
    Poll gone = poll();
    gone.id = Uuid::random();
    m.handle(readOK(gone, holdingBlock(0, 2), {1, 2}));
    EXPECT_EQ(m.statistics(), (PollerStatistics{.requests = 1}));
    EXPECT_TRUE(m.status().empty());
    EXPECT_TRUE(logLines().empty());

    m.handle({PollerEvent::ConnectionFailed{"The connection was closed."}});
    m.stop();
    EXPECT_FALSE(m.connectionProblem());
    EXPECT_EQ(logLines().back(), "--- Reading stopped ---");
    const PollerStatistics kept = m.statistics();
    m.handle(readOK(poll(), holdingBlock(0, 2), {1, 2}));
    m.handle({PollerEvent::Connected{"127.0.0.1:1502"}});
    EXPECT_EQ(m.statistics(), kept);
    EXPECT_TRUE(m.status().empty());
    EXPECT_EQ(m.state(), PollerState::stopped);
}

TEST_F(ReadingTest, OnlyEditsThatChangeHowADatapointIsReadDropItsStatus) {
    struct Row {
        const char* edit;
        std::function<void(Poll&)> change;
        bool kept;
    };
    const std::vector<Row> rows{
        {"rename", [](Poll& p) { p.datapoints[0].name = "Renamed"; }, true},
        {"engineering unit", [](Poll& p) { p.datapoints[0].engineeringUnit = "bar"; }, true},
        {"display format", [](Poll& p) { p.datapoints[0].format = DisplayFormat::hex; }, true},
        {"poll disabled", [](Poll& p) { p.enabled = false; }, true},
        {"address", [](Poll& p) { p.datapoints[0].address = 9; }, false},
        {"unit ID", [](Poll& p) { p.datapoints[0].unitID = 2; }, false},
        {"table", [](Poll& p) { p.datapoints[0].setTable(RegisterTable::inputRegister); }, false},
        {"data type", [](Poll& p) { p.datapoints[0].dataType = DataType::int16; }, false},
        {"word order", [](Poll& p) { p.datapoints[0].wordOrder = WordOrder::cdab; }, false},
        {"scale", [](Poll& p) { p.datapoints[0].scale = 0.01; }, false},
        {"removed", [](Poll& p) { p.datapoints.erase(p.datapoints.begin()); }, false},
    };
    PollerModel& m = *model;
    const std::vector<Poll> original = m.polls();
    const Uuid edited = point(0).id;
    const Uuid neighbour = point(1).id;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.edit);
        m.setPolls(original);
        m.handle(readOK(poll(), holdingBlock(0, 2), {1, 2}));
        QSignalSpy changed(&m, &PollerModel::pointStatusChanged);
        std::vector<Poll> polls = original;
        row.change(polls.front());
        m.setPolls(polls);
        EXPECT_EQ(m.status(edited) != nullptr, row.kept);
        EXPECT_NE(m.status(neighbour), nullptr) << "the neighbour was not edited";
        EXPECT_EQ(changed.count(), row.kept ? 0 : 1);
    }
}

TEST_F(ReadingTest, EveryGoodValueIsRecordedAndAnnouncedToTheChartInOneLaterPublication) {
    PollerModel& m = *model;
    QSignalSpy published(&m, &PollerModel::historyVersionChanged);
    const int version = m.historyVersion();
    m.handle(readOK(poll(), holdingBlock(0, 2), {215, 1}));
    m.handle(readFailed(poll(), holdingBlock(0, 2), PollFailure::timeout()));
    m.handle(readOK(poll(), holdingBlock(0, 2), {216, 1}));
    EXPECT_EQ(m.historyVersion(), version) << "not at once";
    ASSERT_TRUE(published.wait(5'000));
    EXPECT_EQ(m.historyVersion(), version + 1);
    EXPECT_EQ(published.count(), 1);

    const std::vector<Sample> samples = m.history().sampleVector(point(0).id);
    ASSERT_EQ(samples.size(), 2U);
    EXPECT_DOUBLE_EQ(samples[0].value, 21.5);
    EXPECT_DOUBLE_EQ(samples[1].value, 21.6);
    EXPECT_EQ(samples[1].time, *m.status(point(0).id)->updated);

    // A new meaning starts a new series; clearing is announced at once and keeps the table.
    std::vector<Poll> polls = m.polls();
    polls.front().datapoints[1].address = 40;
    m.setPolls(polls);
    EXPECT_TRUE(m.history().sampleVector(point(1).id).empty());
    EXPECT_EQ(m.history().sampleVector(point(0).id).size(), 2U);
    m.clearHistory();
    EXPECT_EQ(m.historyVersion(), version + 2);
    EXPECT_TRUE(m.history().empty());
    EXPECT_NE(m.status(point(0).id), nullptr);
}

// ---------------------------------------------------------------------------------------

using StartTest = ModelFixture;

TEST_F(StartTest, PlansCoverEveryEnabledPollInOrder) {
    PollerModel& m = makeModel();
    Poll fast = pollWith({holdingRegister(0), holdingRegister(2)}, "fast");
    fast.intervalMs = 250;
    Poll off = pollWith({holdingRegister(0)}, "off");
    off.enabled = false;
    const Poll empty = pollWith({}, "empty");
    m.setPolls({fast, off, empty});
    m.setMaxGap(1);
    EXPECT_EQ(m.buildPlans(),
              (std::vector<PollPlan>{{fast.id, 0.25, {holdingBlock(0, 3)}}, {empty.id, 1.0, {}}}));
    EXPECT_TRUE(m.canStart());
    m.setPolls({off, empty});
    EXPECT_FALSE(m.canStart()) << "no enabled poll has a datapoint";
}

// Units 0 and 255 address a Modbus TCP device itself and are read; over RTU they cannot be,
// and the status says so instead of staying empty.
TEST_F(StartTest, DatapointsOfUnitsTheFramingCannotReadSayWhy) {
    for (const TCPFraming framing : {TCPFraming::modbusTCP, TCPFraming::rtuOverTCP}) {
        SCOPED_TRACE(rawValue(framing));
        Datapoint direct = holdingRegister(0);
        direct.unitID = 255;
        Datapoint broadcast = holdingRegister(1);
        broadcast.unitID = 0;
        const Datapoint ordinary = holdingRegister(2);
        PollerModel& m = makeModel();
        m.setFraming(framing);
        m.setPolls({pollWith({direct, broadcast, ordinary}, "units")});
        m.setHost(QStringLiteral("127.0.0.1"));
        m.setPortText(QString::number(refusing.port()));
        m.start();
        const bool rtu = framing == TCPFraming::rtuOverTCP;
        EXPECT_EQ(m.buildPlans().front().blocks.size(), rtu ? 1U : 3U);
        for (const auto& [point, unit] : {std::pair(&direct, 255), std::pair(&broadcast, 0)}) {
            const PointStatus* status = m.status(point->id);
            if (!rtu) {
                EXPECT_EQ(status, nullptr);
                continue;
            }
            ASSERT_NE(status, nullptr);
            EXPECT_EQ(status->failure, PollFailure::unitNotReadable(static_cast<std::uint8_t>(unit)));
            EXPECT_EQ(L10n::Log::shortFailure(*status->failure, Language::en), "Unit not read");
        }
        EXPECT_EQ(m.status(ordinary.id), nullptr);
        m.stop();
    }
}

}  // namespace
}  // namespace tessarin::test

namespace tessarin::test {
namespace {

using WideReadingTest = ModelFixture;

TEST_F(WideReadingTest, ASixtyFourBitReadShowsTheDevicesDigitsUntilAWriteReplacesIt) {
    Datapoint counter = holdingRegister(0, DataType::uint64, "Energy");
    counter.wordOrder = WordOrder::cdab;
    PollerModel& m = startReading({pollWith({counter})});
    const Poll& poll = m.polls().front();
    const Datapoint& point = poll.datapoints.front();
    const NumberLocale english("en_US");

    m.handle(readOK(poll, holdingBlock(0, 4), {0x0123, 0x4567, 0x89AB, 0xCDEF}));
    ASSERT_NE(m.status(point.id), nullptr);
    EXPECT_EQ(m.status(point.id)->valueText(point, english), "14839230665905864995");

    // The written value has no registers of its own yet: it shows as the number it is.
    PointStatus written = *m.status(point.id);
    written.value = 12;
    EXPECT_EQ(written.valueText(point, english), "12");
    EXPECT_EQ(PointStatus{}.valueText(point, english), std::nullopt);
}

}  // namespace
}  // namespace tessarin::test

namespace tessarin::test {
namespace {

TEST_F(ReadingTest, LinesDescribeTheRequestsOfTheEngineThatSentThemNotTheChangedPickers) {
    PollerModel& m = *model;
    ASSERT_EQ(m.timeoutMs(), 1000);
    // The time-out picker stays usable while reading; the running engine keeps its own.
    m.setTimeoutMs(200);
    m.setFraming(TCPFraming::rtuOverTCP);
    m.handle(readFailed(poll(), holdingBlock(0, 2), PollFailure::timeout()));
    m.handle(readOK(poll(), holdingBlock(0, 2), {0x00D7, 1}));
    EXPECT_EQ(logLines(), (std::vector<std::string>{
                              "✕ Unit 1 · FC 03 Read holding registers HR 0–1 · no response within 1000 ms",
                              "← Unit 1 · FC 03 Read holding registers · 04 00 D7 00 01  (12 ms)"}));
}

TEST_F(ReadingTest, DestroyingTheModelWritesAPendingAutosave) {
    model->setHost(QStringLiteral("plc.example"));
    ASSERT_TRUE(model->autosavePending());
    model.reset();
    EXPECT_TRUE(readFile(autosaveFile()).contains("\"host\": \"plc.example\""));
}

}  // namespace
}  // namespace tessarin::test
