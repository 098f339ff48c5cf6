#include "ModelFixture.hpp"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>

namespace tessarin::test {
namespace {

// Which function each mode and type calls for is checked against the real peer; here, what
// the model makes of the results.
class WriteTest : public ModelFixture {
protected:
    // The status of a datapoint never read, after writing 21.5 to it.
    const PointStatus writtenOnly{21.5, {}, std::nullopt, std::nullopt, 0.0};

    void SetUp() override {
        ModelFixture::SetUp();
        Datapoint setpoint = holdingRegister(0, DataType::int16, "Setpoint");
        setpoint.scale = 0.1;
        setpoint.engineeringUnit = "°C";
        Datapoint input = holdingRegister(4, DataType::uint16, "Input");
        input.setTable(RegisterTable::inputRegister);
        startReading({pollWith({setpoint, input})});
    }

    const Datapoint& point(std::size_t index) const { return model->polls().front().datapoints[index]; }

    // The token of the one write that waits for its result.
    Uuid pendingToken() const {
        EXPECT_EQ(model->pendingWrites().size(), 1U);
        return model->pendingWrites().empty() ? Uuid{} : model->pendingWrites().begin()->first;
    }

    static PollerEvent wrote(const Uuid& token, std::optional<PollFailure> failure = std::nullopt) {
        const std::vector<std::uint8_t> frame{0, 0, 0, 0, 0, 6, 1, 6, 0, 0, 0, 0xD7};
        return {PollerEvent::Wrote{.token = token,
                                   .unit = 1,
                                   .result = failure ? std::expected<void, PollFailureError>(
                                                           std::unexpect, PollFailureError{*failure})
                                                     : std::expected<void, PollFailureError>(),
                                   .request = frame,
                                   .response = failure ? std::vector<std::uint8_t>{} : frame,
                                   .duration = 0.0087}};
    }
};

TEST_F(WriteTest, WritesNeedReadingAndAWritableTableAndStopWithIt) {
    PollerModel& m = *model;
    m.write(point(1), 3);
    EXPECT_TRUE(m.pendingWrites().empty());
    EXPECT_TRUE(logLines().empty());
    EXPECT_FALSE(m.writeError());

    m.write(point(0), 21.5);
    const Uuid token = pendingToken();
    m.stop();
    EXPECT_TRUE(m.pendingWrites().empty());
    const PollerStatistics before = m.statistics();
    m.handle(wrote(token));
    EXPECT_EQ(m.statistics(), before) << "the late result of a dropped write";
    EXPECT_TRUE(m.status().empty());

    m.write(point(0), 3);
    EXPECT_EQ(m.writeError(), QStringLiteral("Start reading first (⌘R) to write values."));
    EXPECT_TRUE(m.pendingWrites().empty());
}

TEST_F(WriteTest, AGoodResultShowsTheWrittenValueAtOnce) {
    PollerModel& m = *model;
    m.setShowRawFrames(true);
    m.write(point(0), 21.5);
    ASSERT_EQ(m.pendingWrites().size(), 1U);
    EXPECT_EQ(m.pendingWrites().begin()->second, (PollerModel::PendingWrite{point(0).id, 21.5}));
    QSignalSpy changed(&m, &PollerModel::pointStatusChanged);
    m.handle(wrote(pendingToken()));

    EXPECT_EQ(logLines(),
              (std::vector<std::string>{
                  "→ Unit 1 · FC 06 Write single register · Setpoint = 21.5",
                  "✎ Unit 1 · Setpoint = 21.5 °C  (8 ms)",
                  "  → 00 00 00 00 00 06 01 06 00 00 00 D7  ← 00 00 00 00 00 06 01 06 00 00 00 D7"}));
    const PointStatus* status = m.status(point(0).id);
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(*status, writtenOnly) << "raw, time and duration stay those of the last read";
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(m.statistics(), (PollerStatistics{.requests = 1, .responses = 1}));
    EXPECT_TRUE(m.pendingWrites().empty());
    EXPECT_FALSE(m.writeError());
}

TEST_F(WriteTest, AFailedWriteKeepsTheStatusAndRaisesTheNoticeAndOnlyProblemsHidesOnlyTheRequest) {
    PollerModel& m = *model;
    m.setLogOnlyProblems(true);
    m.write(point(0), 21.5);
    EXPECT_TRUE(logLines().empty());
    m.handle(wrote(pendingToken()));
    for (int i = 0; i < 3; ++i) {
        m.write(point(0), 30);
        m.handle(wrote(pendingToken(), PollFailure::timeout()));
    }
    const std::string failed = "✕ Writing Setpoint failed · no response within 1000 ms";
    EXPECT_EQ(logLines(),
              (std::vector<std::string>{"✎ Unit 1 · Setpoint = 21.5 °C  (8 ms)", failed, failed, failed}));
    EXPECT_EQ(m.writeError(), QStringLiteral("Writing Setpoint failed: no response within 1000 ms."));
    EXPECT_EQ(*m.status(point(0).id), writtenOnly);
    EXPECT_EQ(m.statistics(), (PollerStatistics{.requests = 4, .responses = 1, .timeouts = 3}));
    EXPECT_TRUE(m.showNoResponseHint());
}

TEST_F(WriteTest, AResultForADeletedDatapointOrAnUnknownTokenHasNoLabel) {
    PollerModel& m = *model;
    m.write(point(0), 21.5);
    std::vector<Poll> polls = m.polls();
    polls.front().datapoints.erase(polls.front().datapoints.begin());
    m.setPolls(polls);
    m.clearLog();

    m.handle(wrote(pendingToken()));
    EXPECT_TRUE(logLines().empty()) << "no ✎ line for a datapoint that is gone";
    m.handle(wrote(Uuid::random(), PollFailure::timeout()));
    EXPECT_EQ(logLines(), std::vector<std::string>{"✕ Writing ? failed · no response within 1000 ms"});
    EXPECT_EQ(m.writeError(), QStringLiteral("Writing ? failed: no response within 1000 ms."));
    EXPECT_TRUE(m.status().empty());
}

// ---------------------------------------------------------------------------------------

using LogTest = ModelFixture;

TEST_F(LogTest, LinesStartWithATimestampOnlyWhenAskedAndTheOptionsOutliveTheModel) {
    PollerModel& m = makeModel();
    const auto options = [](PollerModel& of) {
        return std::tuple(of.showTimestamps(), of.showRawFrames(), of.logOnlyProblems(), of.autoscroll(),
                          of.output().autoscroll());
    };
    EXPECT_EQ(options(m), std::tuple(true, false, false, true, true));
    m.appendLine({{LogSegment::Kind::text, QStringLiteral("first")}});
    m.setShowTimestamps(false);
    m.appendLine({{LogSegment::Kind::text, QStringLiteral("second")}});

    // The stamp's own form is LogTimestamp's; here only that it leads the line when asked.
    EXPECT_EQ(logLines().size(), 2U);
    EXPECT_TRUE(logLines().front().ends_with("  first")) << logLines().front();
    EXPECT_EQ(logLines().back(), "second");
    const QTextFragment stamp = m.output().document()->firstBlock().begin().fragment();
    EXPECT_EQ(stamp.text().size(), 14);
    EXPECT_EQ(stamp.charFormat().foreground(), m.output().format(LogSegment::Kind::timestamp).foreground());

    m.setShowRawFrames(true);
    m.setLogOnlyProblems(true);
    m.setAutoscroll(false);
    EXPECT_EQ(options(makeModel()), std::tuple(false, true, true, false, false));
}

TEST_F(LogTest, ClearingEmptiesTheLogAndTheCountersButKeepsTheValues) {
    PollerModel& m = startReading();
    const Poll& poll = m.polls().front();
    m.handle(
        readOK(poll, {.unit = 1, .table = RegisterTable::inputRegister, .address = 0, .count = 1}, {215}));
    ASSERT_NE(m.statistics(), PollerStatistics{});
    ASSERT_FALSE(m.outputIsEmpty());
    QSignalSpy empty(&m, &PollerModel::outputIsEmptyChanged);

    m.clearLog();

    EXPECT_TRUE(m.outputIsEmpty());
    EXPECT_EQ(empty.count(), 1);
    EXPECT_EQ(m.output().length(), 0);
    EXPECT_EQ(m.statistics(), PollerStatistics{});
    ASSERT_NE(m.status(poll.datapoints.front().id), nullptr);
    EXPECT_DOUBLE_EQ(*m.status(poll.datapoints.front().id)->value, 21.5);
}

TEST_F(LogTest, SavingWritesThePlainTextOrSaysWhyNot) {
    QTemporaryDir dir;
    PollerModel& m = makeModel();
    m.setShowTimestamps(false);
    m.appendLine({{LogSegment::Kind::error, QStringLiteral("✕ lost")},
                  {LogSegment::Kind::meta, QStringLiteral(" · ü")}});
    // A French number keeps its no-break space and a name its line separator.
    m.appendLine({{LogSegment::Kind::response, QStringLiteral("Niveau = 1\u00A0234,5 m\u2028bis")}});
    m.appendLine({{LogSegment::Kind::system, QStringLiteral("--- Reading stopped ---")}});

    const QString path = dir.filePath(QStringLiteral("log.txt"));
    services.answerSavePanel(path);
    services.answerSavePanel(std::nullopt);
    services.answerSavePanel(dir.filePath(QStringLiteral("no/such/folder/log.txt")));
    m.saveLog();
    EXPECT_EQ(services.savePanels.front().type, FileType::plainText);
    EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(^tessarin-log-\d{4}-\d\d-\d\dT\d{6}\.txt$)"))
                    .match(services.savePanels.front().proposedName)
                    .hasMatch())
        << services.savePanels.front().proposedName.toStdString();
    EXPECT_EQ(readFile(path),
              QByteArray("✕ lost · ü\nNiveau = 1\u00A0234,5 m\u2028bis\n--- Reading stopped ---\n"));
    m.saveLog();
    EXPECT_FALSE(m.errorMessage()) << "cancelled";
    m.saveLog();
    ASSERT_TRUE(m.errorMessage());
    EXPECT_TRUE(m.errorMessage()->startsWith(QStringLiteral("Saving failed: ")));
}

}  // namespace
}  // namespace tessarin::test
