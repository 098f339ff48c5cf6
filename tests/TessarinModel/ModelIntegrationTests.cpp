#include "ModelFixture.hpp"

#include "support/PeerProcess.hpp"

#include <QTest>

namespace tessarin::test {
namespace {

// Generous: the engine waits 2 s between connection attempts.
constexpr int capMs = 20'000;

class ModelIntegration : public ModelFixture {
protected:
    void SetUp() override {
        ModelFixture::SetUp();
        auto started = PeerProcess::start(PeerKind::libmodbusTCP);
        ASSERT_TRUE(started) << started.error();
        peer.emplace(std::move(*started));
        PollerModel& m = makeModel();
        m.setShowTimestamps(false);
        m.setShowRawFrames(true);
        m.setHost(QStringLiteral("127.0.0.1"));
        m.setPortText(QString::number(peer->port()));
    }

    void usePoll(std::vector<Datapoint> datapoints) {
        Poll poll = pollWith(std::move(datapoints), "Device");
        poll.intervalMs = 100;
        model->setPolls({poll});
    }

    const Datapoint& point(std::size_t index) const { return model->polls().front().datapoints[index]; }

    bool logHas(const std::string& piece) const {
        return model->output().plainText().contains(QString::fromStdString(piece));
    }

    // A good read of the datapoint that started after `after`.
    bool readAfter(const Datapoint& point, std::chrono::system_clock::time_point after) const {
        const PointStatus* status = model->status(point.id);
        return status != nullptr && status->value && !status->failure && status->updated &&
               *status->updated > after;
    }

    std::optional<PeerProcess> peer;
};

TEST_F(ModelIntegration, ReadingShowsValuesStatusesCountersAndLogLines) {
    Datapoint input = holdingRegister(3);
    input.setTable(RegisterTable::inputRegister);
    Datapoint discrete = coil(1);
    discrete.setTable(RegisterTable::discreteInput);
    usePoll({holdingRegister(10), holdingRegister(20, DataType::uint32), input, coil(3), coil(4), discrete});
    PollerModel& m = *model;

    m.start();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return m.state() == PollerState::running &&
                   std::ranges::all_of(m.polls().front().datapoints, [&](const Datapoint& p) {
                       return m.status(p.id) && m.status(p.id)->value;
                   });
        },
        capMs));

    const std::vector<std::pair<std::size_t, double>> expected{
        {0, 10}, {1, (20 << 16) + 21}, {2, 0x8003}, {3, 1}, {4, 0}, {5, 1},
    };
    for (const auto& [index, value] : expected) {
        SCOPED_TRACE(index);
        const PointStatus& status = *m.status(point(index).id);
        EXPECT_EQ(status.value, value);
        EXPECT_FALSE(status.failure);
        EXPECT_GT(status.duration, 0.0);
    }
    EXPECT_EQ(m.status(point(1).id)->raw, (RawWords{20, 21}));
    EXPECT_GE(m.statistics().responses, 4);
    EXPECT_EQ(m.statistics().timeouts + m.statistics().errors + m.statistics().exceptions, 0);
    EXPECT_EQ(m.health(m.polls().front()), true);
    EXPECT_FALSE(m.connectionProblem());
    // Holding registers 10 and 20-21 are one block apart with no gap bridged.
    EXPECT_TRUE(logHas(" 01 03 00 0A 00 01  ←  ")) << m.output().plainText().toStdString();
    EXPECT_TRUE(logHas(" 01 03 02 00 0A  (")) << m.output().plainText().toStdString();
}

TEST_F(ModelIntegration, WritesInBothModesReachTheDeviceAndAreReadBack) {
    struct Row {
        const char* name;
        WriteMode mode;
        std::size_t point;
        double value;
        const char* frame;  // unit and PDU as they went out
    };
    Datapoint scaled = holdingRegister(30, DataType::int16, "Scaled");
    scaled.scale = 0.1;
    Datapoint scaledToo = scaled;
    scaledToo.id = Uuid::random();
    scaledToo.address = 31;
    usePoll({scaled, scaledToo, coil(40), coil(41), holdingRegister(50, DataType::float32)});
    const std::vector<Row> rows{
        {"single register", WriteMode::single, 0, 21.5, "01 06 00 1E 00 D7"},
        {"multiple registers for one", WriteMode::multiple, 1, -3.2, "01 10 00 1F 00 01 02 FF E0"},
        {"single coil", WriteMode::single, 2, 1, "01 05 00 28 FF 00"},
        {"multiple coils for one", WriteMode::multiple, 3, 1, "01 0F 00 29 00 01 01 01"},
        {"float in single mode", WriteMode::single, 4, 1.5, "01 10 00 32 00 02 04 3F C0 00 00"},
    };
    PollerModel& m = *model;
    m.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m.state() == PollerState::running; }, capMs));

    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        m.setWriteMode(row.mode);
        m.write(point(row.point), row.value);
        ASSERT_TRUE(QTest::qWaitFor([&] { return m.pendingWrites().empty(); }, capMs));
        EXPECT_FALSE(m.writeError()) << m.writeError().value_or(QString()).toStdString();
        EXPECT_TRUE(logHas(" = " + point(row.point).formatted(row.value)))
            << m.output().plainText().toStdString();
        EXPECT_TRUE(logHas(std::string(row.frame) + "  ← ")) << m.output().plainText().toStdString();

        const auto written = std::chrono::system_clock::now();
        ASSERT_TRUE(QTest::qWaitFor([&] { return readAfter(point(row.point), written); }, capMs));
        EXPECT_DOUBLE_EQ(*m.status(point(row.point).id)->value, row.value);
    }
    EXPECT_EQ(m.statistics().errors + m.statistics().timeouts + m.statistics().exceptions, 0);
}

TEST_F(ModelIntegration, ALostDeviceIsReportedAndReadingReconnects) {
    usePoll({holdingRegister(10)});
    PollerModel& m = *model;
    m.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m.state() == PollerState::running; }, capMs));

    const std::uint16_t port = peer->port();
    peer->stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m.connectionProblem().has_value(); }, capMs));
    EXPECT_EQ(m.state(), PollerState::connecting);
    EXPECT_TRUE(logHas("✕ Connection lost; reconnecting…")) << m.output().plainText().toStdString();
    EXPECT_TRUE(logHas("✕ " + m.connectionProblem()->toStdString()));

    auto comeback = PeerProcess::start(PeerKind::libmodbusTCP, {.unit = std::nullopt, .port = port});
    ASSERT_TRUE(comeback) << comeback.error();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m.state() == PollerState::running; }, capMs));
    EXPECT_FALSE(m.connectionProblem());
    EXPECT_EQ(m.output().plainText().count(QStringLiteral("--- Connected to 127.0.0.1:%1 ---").arg(port)), 2);
}

}  // namespace
}  // namespace tessarin::test
