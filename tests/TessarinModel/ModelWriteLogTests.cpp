#include "ModelFixture.hpp"

#include "support/FreePort.hpp"

#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>

namespace tessarin::test {
namespace {

// A model reading from a device that refuses every connection, so that the events a test
// hands it are the only ones it handles.
class WriteTest : public ModelFixture {
protected:
    void SetUp() override {
        ModelFixture::SetUp();
        PollerModel& m = makeModel();
        m.setShowTimestamps(false);
        Datapoint setpoint = holdingRegister(0, DataType::int16, "Setpoint");
        setpoint.scale = 0.1;
        setpoint.engineeringUnit = "°C";
        Datapoint input = holdingRegister(4, DataType::uint16, "Input");
        input.setTable(RegisterTable::inputRegister);
        PollerProject project;
        project.port = refusing.port();
        project.polls = {pollWith({setpoint, holdingRegister(100),
                                   holdingRegister(2, DataType::float32, "Flow"), coil(0, "Pump"), input})};
        m.apply(project);
        m.start();
        m.clearLog();
    }

    const Datapoint& point(std::size_t index) const { return model->polls().front().datapoints[index]; }

    // The token of the one write that waits for its result.
    Uuid pendingToken() const {
        EXPECT_EQ(model->pendingWrites().size(), 1U);
        return model->pendingWrites().empty() ? Uuid{} : model->pendingWrites().begin()->first;
    }

    static PollerEvent wrote(const Uuid& token, std::expected<void, PollFailureError> result) {
        return {PollerEvent::Wrote{
            .token = token,
            .unit = 1,
            .result = std::move(result),
            .request = {0, 0, 0, 0, 0, 6, 1, 6, 0, 0, 0, 0xD7},
            .response = result ? std::vector<std::uint8_t>{0, 0, 0, 0, 0, 6, 1, 6, 0, 0, 0, 0xD7}
                               : std::vector<std::uint8_t>{},
            .duration = 0.0087}};
    }

    ClosedPort refusing;
};

TEST_F(WriteTest, EachWriteIsSentWithTheFunctionItsModeAndTypeCallFor) {
    struct Row {
        WriteMode mode;
        std::size_t point;
        double value;
        const char* line;
    };
    const std::vector<Row> rows{
        {WriteMode::single, 0, 21.5, "→ Unit 1 · FC 06 Write single register · Setpoint = 21.5"},
        {WriteMode::multiple, 0, 21.5, "→ Unit 1 · FC 10 Write multiple registers · Setpoint = 21.5"},
        {WriteMode::single, 1, 7, "→ Unit 1 · FC 06 Write single register · HR 100 = 7"},
        {WriteMode::single, 2, 1.5, "→ Unit 1 · FC 10 Write multiple registers · Flow = 1.5"},
        {WriteMode::single, 3, 2, "→ Unit 1 · FC 05 Write single coil · Pump = 1"},
        {WriteMode::multiple, 3, 0, "→ Unit 1 · FC 0F Write multiple coils · Pump = 0"},
    };
    PollerModel& m = *model;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        m.setWriteMode(row.mode);
        m.clearLog();
        m.write(point(row.point), row.value);
        EXPECT_EQ(logLines(), std::vector<std::string>{row.line});
        ASSERT_EQ(m.pendingWrites().size(), 1U);
        EXPECT_EQ(m.pendingWrites().begin()->second,
                  (PollerModel::PendingWrite{point(row.point).id, row.value}));
        m.handle(wrote(pendingToken(), {}));
    }
    EXPECT_FALSE(m.writeError());
}

TEST_F(WriteTest, WritesNeedReadingAndAWritableTable) {
    PollerModel& m = *model;
    m.write(point(4), 3);
    EXPECT_TRUE(m.pendingWrites().empty());
    EXPECT_TRUE(logLines().empty());
    EXPECT_FALSE(m.writeError());

    m.stop();
    m.write(point(0), 3);
    EXPECT_EQ(m.writeError(), QStringLiteral("Start reading first (⌘R) to write values."));
    EXPECT_TRUE(m.pendingWrites().empty());
}

TEST_F(WriteTest, AGoodResultShowsTheWrittenValueAtOnce) {
    PollerModel& m = *model;
    m.setShowRawFrames(true);
    m.write(point(0), 21.5);
    QSignalSpy changed(&m, &PollerModel::pointStatusChanged);
    m.handle(wrote(pendingToken(), {}));

    EXPECT_EQ(logLines(),
              (std::vector<std::string>{"→ Unit 1 · FC 06 Write single register · Setpoint = 21.5",
                                        "✎ Unit 1 · Setpoint = 21.5 °C  (8 ms)",
                                        "  → 00 00 00 00 00 06 01 06 00 00 00 D7  ← 00 00 00 00 00 06 01 06 "
                                        "00 00 00 D7"}));
    const PointStatus* status = m.status(point(0).id);
    ASSERT_NE(status, nullptr);
    PointStatus expected;
    expected.value = 21.5;
    EXPECT_EQ(*status, expected) << "raw, time and duration stay those of the last read: none yet";
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(m.statistics(), (PollerStatistics{.requests = 1, .responses = 1}));
    EXPECT_TRUE(m.pendingWrites().empty());
}

TEST_F(WriteTest, OnlyProblemsHidesTheRequestButNotTheResult) {
    PollerModel& m = *model;
    m.setLogOnlyProblems(true);
    m.setShowRawFrames(true);
    m.write(point(0), 21.5);
    EXPECT_TRUE(logLines().empty());
    m.handle(wrote(pendingToken(), {}));
    m.write(point(0), 22);
    m.handle(wrote(pendingToken(), std::unexpected(PollFailureError{PollFailure::exception(3)})));
    EXPECT_EQ(logLines(), (std::vector<std::string>{"✎ Unit 1 · Setpoint = 21.5 °C  (8 ms)",
                                                    "✕ Writing Setpoint failed · Illegal data value (03)"}));
}

TEST_F(WriteTest, AFailedWriteKeepsTheStatusAndRaisesTheNotice) {
    PollerModel& m = *model;
    m.write(point(0), 21.5);
    m.handle(wrote(pendingToken(), {}));
    m.clearLog();
    for (int i = 0; i < 3; ++i) {
        m.write(point(0), 30);
        m.handle(wrote(pendingToken(), std::unexpected(PollFailureError{PollFailure::timeout()})));
    }
    EXPECT_EQ(logLines().back(), "✕ Writing Setpoint failed · no response within 1000 ms");
    EXPECT_EQ(m.writeError(), QStringLiteral("Writing Setpoint failed: no response within 1000 ms."));
    EXPECT_EQ(m.status(point(0).id)->value, 21.5);
    EXPECT_FALSE(m.status(point(0).id)->failure);
    EXPECT_EQ(m.statistics(), (PollerStatistics{.requests = 3, .timeouts = 3}));
    EXPECT_TRUE(m.showNoResponseHint());
}

TEST_F(WriteTest, AResultForADeletedDatapointOrAnUnknownTokenHasNoLabel) {
    PollerModel& m = *model;
    m.write(point(0), 21.5);
    const Uuid first = pendingToken();
    m.write(point(0), 22.5);
    Uuid second;
    for (const auto& entry : m.pendingWrites()) {
        if (entry.first != first) {
            second = entry.first;
        }
    }
    std::vector<Poll> polls = m.polls();
    polls.front().datapoints.erase(polls.front().datapoints.begin());
    m.setPolls(polls);
    m.clearLog();

    m.handle(wrote(first, {}));
    EXPECT_TRUE(logLines().empty()) << "no ✎ line for a datapoint that is gone";
    m.handle(wrote(second, std::unexpected(PollFailureError{PollFailure::noConnection()})));
    m.handle(wrote(Uuid::random(), std::unexpected(PollFailureError{PollFailure::timeout()})));
    EXPECT_EQ(logLines(), (std::vector<std::string>{"✕ Writing ? failed · no connection to the device",
                                                    "✕ Writing ? failed · no response within 1000 ms"}));
    EXPECT_EQ(m.writeError(), QStringLiteral("Writing ? failed: no response within 1000 ms."));
    EXPECT_TRUE(m.status().empty());
}

TEST_F(WriteTest, StoppingDropsPendingWritesAndTheirLateResults) {
    PollerModel& m = *model;
    m.write(point(0), 21.5);
    const Uuid token = pendingToken();
    m.stop();
    EXPECT_TRUE(m.pendingWrites().empty());
    const PollerStatistics before = m.statistics();
    m.handle(wrote(token, {}));
    EXPECT_EQ(m.statistics(), before);
    EXPECT_TRUE(m.status().empty());
}

// ---------------------------------------------------------------------------------------

using LogTest = ModelFixture;

TEST_F(LogTest, LinesStartWithATimestampOnlyWhenAsked) {
    PollerModel& m = makeModel();
    ASSERT_TRUE(m.showTimestamps());
    m.appendLine({{LogSegment::Kind::text, QStringLiteral("first")}});
    m.setShowTimestamps(false);
    m.appendLine({{LogSegment::Kind::text, QStringLiteral("second")}});

    const std::vector<std::string> lines = logLines();
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(^\d\d:\d\d:\d\d\.\d\d\d  first$)"))
                    .match(QString::fromStdString(lines[0]))
                    .hasMatch())
        << lines[0];
    EXPECT_EQ(lines[1], "second");
    const QTextBlock stamped = m.output().document()->firstBlock();
    EXPECT_EQ(stamped.begin().fragment().text().size(), 14);
    EXPECT_EQ(stamped.begin().fragment().charFormat().foreground(),
              m.output().format(LogSegment::Kind::timestamp).foreground());
}

TEST_F(LogTest, TheOptionsLiveInTheSettings) {
    {
        PollerModel& m = makeModel();
        EXPECT_TRUE(m.showTimestamps());
        EXPECT_FALSE(m.showRawFrames());
        EXPECT_FALSE(m.logOnlyProblems());
        EXPECT_TRUE(m.autoscroll());
        EXPECT_TRUE(m.output().autoscroll());
        m.setShowTimestamps(false);
        m.setShowRawFrames(true);
        m.setLogOnlyProblems(true);
        m.setAutoscroll(false);
        EXPECT_FALSE(m.output().autoscroll());
    }
    const QSettings settings(QStringLiteral("Tessarin"), QStringLiteral("Tessarin"));
    EXPECT_EQ(settings.value(QStringLiteral("timestamps")), QVariant(false));
    EXPECT_EQ(settings.value(QStringLiteral("rawFrames")), QVariant(true));
    EXPECT_EQ(settings.value(QStringLiteral("onlyProblems")), QVariant(true));
    EXPECT_EQ(settings.value(QStringLiteral("autoscroll")), QVariant(false));

    PollerModel& again = makeModel();
    EXPECT_FALSE(again.showTimestamps());
    EXPECT_TRUE(again.showRawFrames());
    EXPECT_TRUE(again.logOnlyProblems());
    EXPECT_FALSE(again.autoscroll());
    EXPECT_FALSE(again.output().autoscroll());
}

TEST_F(LogTest, ClearingEmptiesTheLogAndTheCountersButKeepsTheValues) {
    const ClosedPort refusing;
    PollerModel& m = makeModel();
    m.setPortText(QString::number(refusing.port()));
    m.start();
    const Poll& poll = m.polls().front();
    m.handle({PollerEvent::Read{
        .poll = poll.id,
        .block = {.unit = 1, .table = RegisterTable::inputRegister, .address = 0, .count = 1},
        .result = PDU::ReadData::registers({215}),
        .request = {},
        .response = {},
        .duration = 0.01}});
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
    m.appendLine({{LogSegment::Kind::system, QStringLiteral("--- Reading stopped ---")}});

    const QString path = dir.filePath(QStringLiteral("log.txt"));
    services.answerSavePanel(path);
    m.saveLog();
    ASSERT_EQ(services.savePanels.size(), 1U);
    EXPECT_EQ(services.savePanels.front().type, FileType::plainText);
    EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(^tessarin-log-\d{4}-\d\d-\d\dT\d{6}\.txt$)"))
                    .match(services.savePanels.front().proposedName)
                    .hasMatch())
        << services.savePanels.front().proposedName.toStdString();
    EXPECT_EQ(readFile(path), QByteArray("✕ lost · ü\n--- Reading stopped ---\n"));

    services.answerSavePanel(std::nullopt);
    m.saveLog();
    EXPECT_FALSE(m.errorMessage());

    services.answerSavePanel(dir.filePath(QStringLiteral("no/such/folder/log.txt")));
    m.saveLog();
    ASSERT_TRUE(m.errorMessage());
    EXPECT_TRUE(m.errorMessage()->startsWith(QStringLiteral("Saving failed: ")));
}

}  // namespace
}  // namespace tessarin::test
