#include "ModelFixture.hpp"

#include "ModbusCore/Bytes.hpp"
#include "PollerCore/ReadPlanner.hpp"
#include "support/FreePort.hpp"

#include <QSignalSpy>
#include <QTextBlock>

namespace tessarin::test {
namespace {

std::vector<std::uint8_t> mbap(std::uint8_t unit, const std::vector<std::uint8_t>& pdu) {
    std::vector<std::uint8_t> frame;
    appendUInt16(frame, 1);
    appendUInt16(frame, 0);
    appendUInt16(frame, static_cast<std::uint16_t>(pdu.size() + 1));
    frame.push_back(unit);
    frame.insert(frame.end(), pdu.begin(), pdu.end());
    return frame;
}

PollerEvent readOK(const Poll& poll, const ReadBlock& block, const std::vector<std::uint16_t>& registers,
                   double duration = 0.0129) {
    std::vector<std::uint8_t> pdu{static_cast<std::uint8_t>(readFunction(block.table)),
                                  static_cast<std::uint8_t>(registers.size() * 2)};
    for (const std::uint16_t value : registers) {
        appendUInt16(pdu, value);
    }
    return {PollerEvent::Read{.poll = poll.id,
                              .block = block,
                              .result = PDU::ReadData::registers(registers),
                              .request = mbap(block.unit, block.pdu()),
                              .response = mbap(block.unit, pdu),
                              .duration = duration}};
}

PollerEvent readFailed(const Poll& poll, const ReadBlock& block, PollFailure failure) {
    return {PollerEvent::Read{.poll = poll.id,
                              .block = block,
                              .result = std::unexpected(PollFailureError{failure}),
                              .request = mbap(block.unit, block.pdu()),
                              .response = {},
                              .duration = 1.0}};
}

ReadBlock holdingBlock(std::uint16_t address, int count) {
    return {.unit = 1, .table = RegisterTable::holdingRegister, .address = address, .count = count};
}

// A model reading (as far as the model can tell) a device that refuses every connection, so
// that the events a test hands it are the only ones it handles.
class ReadingTest : public ModelFixture {
protected:
    void SetUp() override {
        ModelFixture::SetUp();
        PollerModel& m = makeModel();
        m.setShowTimestamps(false);
        PollerProject project;
        project.host = "127.0.0.1";
        project.port = refusing.port();
        Datapoint level = holdingRegister(0, DataType::uint16, "Level");
        level.scale = 0.1;
        level.engineeringUnit = "m";
        project.polls = {pollWith({level, holdingRegister(1, DataType::int16), holdingRegister(5)}, "Tank")};
        m.apply(project);
        m.start();
        ASSERT_EQ(m.state(), PollerState::connecting);
        m.clearLog();
    }

    const Poll& poll() const { return model->polls().front(); }
    const Datapoint& point(std::size_t index) const { return poll().datapoints[index]; }

    ClosedPort refusing;
};

TEST_F(ReadingTest, AGoodReadStoresEveryCoveredStatusAndLogsTheAnswer) {
    PollerModel& m = *model;
    QSignalSpy changed(&m, &PollerModel::pointStatusChanged);
    const auto before = std::chrono::system_clock::now();
    m.handle(readOK(poll(), holdingBlock(0, 2), {215, 0xFFFF}));

    const PointStatus* level = m.status(point(0).id);
    const PointStatus* second = m.status(point(1).id);
    ASSERT_TRUE(level && second);
    EXPECT_DOUBLE_EQ(*level->value, 21.5);
    EXPECT_EQ(level->raw, RawWords{215});
    EXPECT_FALSE(level->failure);
    EXPECT_DOUBLE_EQ(level->duration, 0.0129);
    ASSERT_TRUE(level->updated);
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

    m.setShowRawFrames(true);
    m.handle(readOK(poll(), holdingBlock(0, 2), {1, 2}, 0.0004));
    EXPECT_EQ(logLines().back(),
              "← Unit 1 · FC 03 Read holding registers · 00 01 00 00 00 06 01 03 00 "
              "00 00 02  ←  00 01 00 00 00 07 01 03 04 00 01 00 02  (0 ms)");
}

TEST_F(ReadingTest, ExceptionsAreWarningsAndOtherFailuresErrors) {
    PollerModel& m = *model;
    m.handle(readFailed(poll(), holdingBlock(0, 1), PollFailure::exception(2)));
    m.handle(readFailed(poll(), holdingBlock(0, 1), PollFailure::timeout()));
    const QTextBlock timeoutLine = m.output().document()->lastBlock().previous();
    const QTextBlock exceptionLine = timeoutLine.previous();
    EXPECT_EQ(exceptionLine.begin().fragment().charFormat().foreground(),
              m.output().format(LogSegment::Kind::warning).foreground());
    EXPECT_EQ(timeoutLine.begin().fragment().charFormat().foreground(),
              m.output().format(LogSegment::Kind::error).foreground());
}

TEST_F(ReadingTest, EveryFailureIsCountedAndLoggedByItsKind) {
    struct Row {
        PollFailure failure;
        PollerStatistics counted;
        const char* text;
    };
    const std::vector<Row> rows{
        {PollFailure::timeout(), {.requests = 1, .timeouts = 1}, "no response within 1000 ms"},
        {PollFailure::exception(2),
         {.requests = 1, .responses = 1, .exceptions = 1},
         "Illegal data address (02)"},
        {PollFailure::exception(0x0C), {.requests = 1, .responses = 1, .exceptions = 1}, "Exception (0C)"},
        {PollFailure::crcMismatch(), {.requests = 1, .errors = 1}, "CRC error in the response"},
        {PollFailure::malformed(), {.requests = 1, .errors = 1}, "response with the wrong length"},
        {PollFailure::unexpectedUnit(9), {.requests = 1, .errors = 1}, "response from unit 9"},
        {PollFailure::unexpectedFunction(4), {.requests = 1, .errors = 1}, "response with function code 04"},
        {PollFailure::noConnection(), {.requests = 1}, "no connection to the device"},
    };
    PollerModel& m = *model;
    m.setLogOnlyProblems(true);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        m.clearLog();
        m.handle(readFailed(poll(), holdingBlock(0, 2), row.failure));
        EXPECT_EQ(m.statistics(), row.counted);
        EXPECT_EQ(logLines(),
                  std::vector<std::string>{std::string("✕ Unit 1 · FC 03 Read holding registers HR 0–1 · ") +
                                           row.text});
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
    const PointStatus good = *m.status(point(0).id);
    EXPECT_EQ(m.health(poll()), true);
    m.handle(readFailed(poll(), holdingBlock(0, 2), PollFailure::timeout()));

    const PointStatus& failed = *m.status(point(0).id);
    EXPECT_EQ(failed.value, good.value);
    EXPECT_EQ(failed.raw, good.raw);
    EXPECT_EQ(failed.duration, good.duration);
    EXPECT_EQ(failed.failure, PollFailure::timeout());
    EXPECT_GE(*failed.updated, *good.updated);
    EXPECT_EQ(m.health(poll()), false);

    // A datapoint never read before gets a status that holds only the failure.
    m.handle(readFailed(poll(), holdingBlock(5, 1), PollFailure::exception(2)));
    const PointStatus& fresh = *m.status(point(2).id);
    EXPECT_FALSE(fresh.value);
    EXPECT_TRUE(fresh.raw.empty());
    EXPECT_EQ(fresh.duration, 0.0);
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
    for (const Row& row : rows) {
        SCOPED_TRACE(row.steps);
        PollerModel& m = *model;
        m.stop();
        m.start();
        for (const char* step = row.steps; *step != '\0'; ++step) {
            switch (*step) {
                case 'T':
                    m.handle(readFailed(poll(), holdingBlock(0, 1), PollFailure::timeout()));
                    break;
                case 'C':
                    m.handle(readFailed(poll(), holdingBlock(0, 1), PollFailure::crcMismatch()));
                    break;
                case 'E':
                    m.handle(readFailed(poll(), holdingBlock(0, 1), PollFailure::exception(2)));
                    break;
                case 'G':
                    m.handle(readOK(poll(), holdingBlock(0, 1), {1}));
                    break;
                case 'D':
                    m.dismissNoResponseHint();
                    break;
                case 'R':
                    m.stop();
                    m.start();
                    break;
            }
        }
        EXPECT_EQ(m.showNoResponseHint(), row.shown);
    }
}

TEST_F(ReadingTest, ConnectionEventsMoveTheStateAndAreLogged) {
    PollerModel& m = *model;
    m.handle({PollerEvent::ConnectionFailed{"Cannot find 'plc'. Check the IP address or name."}});
    EXPECT_EQ(m.state(), PollerState::connecting);
    EXPECT_EQ(m.connectionProblem(), QStringLiteral("Cannot find 'plc'. Check the IP address or name."));
    m.handle({PollerEvent::Connected{"127.0.0.1:1502"}});
    EXPECT_EQ(m.state(), PollerState::running);
    EXPECT_FALSE(m.connectionProblem());
    m.handle({PollerEvent::ConnectionFailed{"The connection was closed."}});
    m.handle({PollerEvent::Disconnected{}});
    EXPECT_EQ(m.state(), PollerState::connecting);
    EXPECT_EQ(m.connectionProblem(), QStringLiteral("The connection was closed."));
    EXPECT_EQ(logLines(),
              (std::vector<std::string>{"✕ Cannot find 'plc'. Check the IP address or name.",
                                        "--- Connected to 127.0.0.1:1502 ---", "✕ The connection was closed.",
                                        "✕ Connection lost; reconnecting…"}));
    m.stop();
    EXPECT_EQ(m.state(), PollerState::stopped);
    EXPECT_FALSE(m.connectionProblem());
    m.handle({PollerEvent::Connected{"127.0.0.1:1502"}});
    EXPECT_EQ(m.state(), PollerState::stopped);

    const QString endpoint = QStringLiteral("127.0.0.1:%1").arg(refusing.port());
    m.setHost(QStringLiteral(" 127.0.0.1 "));
    m.clearLog();
    m.start();
    EXPECT_EQ(logLines(), std::vector<std::string>{"--- Connecting to " + endpoint.toStdString() + "… ---"});
    m.stop();
    EXPECT_EQ(logLines().back(), "--- Reading stopped ---");
}

TEST_F(ReadingTest, EventsOfARemovedPollAreCountedOnlyAndEventsAfterStopAreDropped) {
    PollerModel& m = *model;
    Poll gone = poll();
    gone.id = Uuid::random();
    m.handle(readOK(gone, holdingBlock(0, 2), {1, 2}));
    EXPECT_EQ(m.statistics(), (PollerStatistics{.requests = 1}));
    EXPECT_TRUE(m.status().empty());
    EXPECT_TRUE(logLines().empty());

    m.stop();
    const PollerStatistics kept = m.statistics();
    m.handle(readOK(poll(), holdingBlock(0, 2), {1, 2}));
    EXPECT_EQ(m.statistics(), kept);
    EXPECT_TRUE(m.status().empty());
}

TEST_F(ReadingTest, OnlyEditsThatChangeHowADatapointIsReadDropItsStatus) {
    struct Row {
        const char* edit;
        std::function<void(Datapoint&)> change;
        bool kept;
    };
    const std::vector<Row> rows{
        {"rename", [](Datapoint& p) { p.name = "Renamed"; }, true},
        {"engineering unit", [](Datapoint& p) { p.engineeringUnit = "bar"; }, true},
        {"display format", [](Datapoint& p) { p.format = DisplayFormat::hex; }, true},
        {"notes", [](Datapoint& p) { p.notes = "north tank"; }, true},
        {"address", [](Datapoint& p) { p.address = 9; }, false},
        {"unit ID", [](Datapoint& p) { p.unitID = 2; }, false},
        {"table", [](Datapoint& p) { p.setTable(RegisterTable::inputRegister); }, false},
        {"data type", [](Datapoint& p) { p.dataType = DataType::int16; }, false},
        {"word order", [](Datapoint& p) { p.wordOrder = WordOrder::cdab; }, false},
        {"scale", [](Datapoint& p) { p.scale = 0.01; }, false},
    };
    PollerModel& m = *model;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.edit);
        m.handle(readOK(poll(), holdingBlock(0, 2), {1, 2}));
        ASSERT_NE(m.status(point(0).id), nullptr);
        QSignalSpy changed(&m, &PollerModel::pointStatusChanged);
        std::vector<Poll> polls = m.polls();
        row.change(polls.front().datapoints.front());
        m.setPolls(polls);
        EXPECT_EQ(m.status(point(0).id) != nullptr, row.kept);
        EXPECT_NE(m.status(point(1).id), nullptr) << "the neighbour was not edited";
        EXPECT_EQ(changed.count(), row.kept ? 0 : 1);
        polls.front().datapoints.front() = [&] {
            Datapoint original = holdingRegister(0, DataType::uint16, "Level");
            original.id = point(0).id;
            original.scale = 0.1;
            original.engineeringUnit = "m";
            return original;
        }();
        m.setPolls(polls);
    }

    // Removing a datapoint drops its status; disabling its poll does not.
    m.handle(readOK(poll(), holdingBlock(0, 2), {1, 2}));
    std::vector<Poll> polls = m.polls();
    polls.front().enabled = false;
    m.setPolls(polls);
    EXPECT_NE(m.status(point(0).id), nullptr);
    const Uuid removed = point(1).id;
    polls.front().datapoints.erase(polls.front().datapoints.begin() + 1);
    m.setPolls(polls);
    EXPECT_EQ(m.status(removed), nullptr);
    EXPECT_NE(m.status(point(0).id), nullptr);
}

TEST_F(ReadingTest, ApplyingAProjectStopsReadingAndClearsEveryStatus) {
    PollerModel& m = *model;
    m.handle(readOK(poll(), holdingBlock(0, 2), {1, 2}));
    QSignalSpy cleared(&m, &PollerModel::statusCleared);
    const int version = m.historyVersion();
    m.apply(m.makeProject());
    EXPECT_EQ(m.state(), PollerState::stopped);
    EXPECT_TRUE(m.status().empty());
    EXPECT_EQ(cleared.count(), 1);
    EXPECT_EQ(m.historyVersion(), version + 1);
}

TEST_F(ReadingTest, NewValuesAreAnnouncedToTheChartInOneLaterPublication) {
    PollerModel& m = *model;
    QSignalSpy published(&m, &PollerModel::historyVersionChanged);
    const int version = m.historyVersion();
    for (int i = 0; i < 5; ++i) {
        m.handle(readOK(poll(), holdingBlock(0, 2), {std::uint16_t(i), 0}));
    }
    m.handle(readFailed(poll(), holdingBlock(0, 2), PollFailure::timeout()));
    EXPECT_EQ(m.historyVersion(), version) << "not at once";

    ASSERT_TRUE(published.wait(5'000));
    EXPECT_EQ(m.historyVersion(), version + 1);
    EXPECT_EQ(published.count(), 1);
    m.handle(readOK(poll(), holdingBlock(0, 2), {9, 9}));
    ASSERT_TRUE(published.wait(5'000));
    EXPECT_EQ(m.historyVersion(), version + 2);
}

TEST_F(ReadingTest, EveryGoodValueIsRecordedUntilItsMeaningChanges) {
    PollerModel& m = *model;
    m.handle(readOK(poll(), holdingBlock(0, 2), {215, 1}));
    m.handle(readFailed(poll(), holdingBlock(0, 2), PollFailure::timeout()));
    m.handle(readOK(poll(), holdingBlock(0, 2), {216, 1}));
    const std::vector<Sample> samples = m.history().sampleVector(point(0).id);
    ASSERT_EQ(samples.size(), 2U);
    EXPECT_DOUBLE_EQ(samples[0].value, 21.5);
    EXPECT_DOUBLE_EQ(samples[1].value, 21.6);
    EXPECT_EQ(samples[1].time, *m.status(point(0).id)->updated);

    std::vector<Poll> polls = m.polls();
    polls.front().datapoints[1].address = 40;
    m.setPolls(polls);
    EXPECT_TRUE(m.history().sampleVector(point(1).id).empty());
    EXPECT_EQ(m.history().sampleVector(point(0).id).size(), 2U);

    const int version = m.historyVersion();
    m.clearHistory();
    EXPECT_EQ(m.historyVersion(), version + 1) << "at once";
    EXPECT_TRUE(m.history().empty());
    EXPECT_NE(m.status(point(0).id), nullptr) << "the table keeps its values";
}

TEST_F(ReadingTest, GoodReadsAreNotLoggedWhenOnlyProblemsAre) {
    PollerModel& m = *model;
    m.setLogOnlyProblems(true);
    m.handle(readOK(poll(), holdingBlock(0, 2), {1, 2}));
    EXPECT_TRUE(logLines().empty());
    EXPECT_TRUE(m.outputIsEmpty());
    m.handle(readFailed(poll(), holdingBlock(0, 2), PollFailure::timeout()));
    EXPECT_EQ(logLines().size(), 1U);
}

// ---------------------------------------------------------------------------------------

using StartTest = ModelFixture;

TEST_F(StartTest, HostAndPortAreCheckedBeforeReading) {
    struct Row {
        const char* host;
        const char* port;
        const char* error;  // none: accepted
    };
    const std::vector<Row> rows{
        {"   ", "502", "Enter the IP address or name of the device."},
        {"plc", "0", "Enter a TCP port between 1 and 65535."},
        {"plc", "65536", "Enter a TCP port between 1 and 65535."},
        {"plc", "12a", "Enter a TCP port between 1 and 65535."},
        {"plc", "", "Enter a TCP port between 1 and 65535."},
        {"plc", "-502", "Enter a TCP port between 1 and 65535."},
        {"plc", "5 02", "Enter a TCP port between 1 and 65535."},
        {"127.0.0.1", " 502 ", nullptr},
        {"127.0.0.1", "+502", nullptr},
        {"127.0.0.1", "65535", nullptr},
    };
    PollerModel& m = makeModel();
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.host) + " / " + row.port);
        m.setErrorMessage(std::nullopt);
        m.setHost(QString::fromUtf8(row.host));
        m.setPortText(QString::fromUtf8(row.port));
        m.start();
        if (row.error != nullptr) {
            EXPECT_EQ(m.errorMessage(), QString::fromUtf8(row.error));
            EXPECT_EQ(m.state(), PollerState::stopped);
            EXPECT_FALSE(m.canStart());
        } else {
            EXPECT_FALSE(m.errorMessage());
            EXPECT_EQ(m.state(), PollerState::connecting);
            EXPECT_EQ(m.endpointText(), QStringLiteral("127.0.0.1:%1").arg(*m.parsedPort()));
            m.stop();
        }
    }
    m.setPortText(QStringLiteral("x"));
    EXPECT_EQ(m.endpointText(), QStringLiteral("127.0.0.1:…"));
}

TEST_F(StartTest, CanStartNeedsAnEnabledPollWithADatapoint) {
    PollerModel& m = makeModel();
    m.setHost(QStringLiteral("plc"));
    EXPECT_TRUE(m.canStart());
    std::vector<Poll> polls = m.polls();
    polls.front().enabled = false;
    polls.push_back(pollWith({}));
    m.setPolls(polls);
    EXPECT_FALSE(m.canStart());
    polls.back().datapoints.push_back(coil(3));
    m.setPolls(polls);
    EXPECT_TRUE(m.canStart());
}

TEST_F(StartTest, PlansCoverEveryEnabledPollInOrder) {
    PollerModel& m = makeModel();
    Poll fast = pollWith({holdingRegister(0), holdingRegister(2)}, "fast");
    fast.intervalMs = 250;
    Poll off = pollWith({holdingRegister(0)}, "off");
    off.enabled = false;
    const Poll empty = pollWith({}, "empty");
    m.setPolls({fast, off, empty});

    auto plans = m.buildPlans();
    ASSERT_EQ(plans.size(), 2U);
    EXPECT_EQ(plans[0], (PollPlan{fast.id, 0.25, ReadPlanner::blocks(fast.datapoints, 0)}));
    EXPECT_EQ(plans[0].blocks.size(), 2U);
    EXPECT_EQ(plans[1], (PollPlan{empty.id, 1.0, {}}));

    m.setMaxGap(1);
    plans = m.buildPlans();
    EXPECT_EQ(plans[0].blocks, (std::vector<ReadBlock>{holdingBlock(0, 3)}));
}

}  // namespace
}  // namespace tessarin::test
