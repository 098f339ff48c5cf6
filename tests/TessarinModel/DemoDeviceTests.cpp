#include "ModelFixture.hpp"

#include "DeviceSimulator/DemoGenerators.hpp"
#include "TessarinModel/DemoDevice.hpp"
#include "support/FreePort.hpp"

#include <QSignalSpy>
#include <QTest>

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

namespace tessarin::test {
namespace {

// Generous: reads come every second and a sanitizer build is slow.
constexpr int capMs = 20'000;

// Whether something still accepts connections on the loopback port.
bool somethingListensOn(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = loopback(port);
    const bool accepted = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return accepted;
}

class DemoDeviceTest : public ModelFixture {
protected:
    const std::vector<Datapoint>& points() const { return model->polls().front().datapoints; }

    bool everyPointRead() const {
        return std::ranges::all_of(points(), [&](const Datapoint& point) {
            const PointStatus* status = model->status(point.id);
            return status != nullptr && status->value && !status->failure;
        });
    }
};

TEST_F(DemoDeviceTest, ServesTheProjectWithMovingValuesInEitherFraming) {
    for (const TCPFraming framing : {TCPFraming::modbusTCP, TCPFraming::rtuOverTCP}) {
        SCOPED_TRACE(rawValue(framing));
        PollerModel& m = makeModel();
        m.setFraming(framing);
        // A simulation the user chose is served as it is; the others get the demo's.
        m.editDatapoint(points()[3].id, [](Datapoint& setpoint) {
            setpoint.simulation = {Simulation::Kind::random, 40, 40, 1};
        });
        DemoDevice demo(m);

        ASSERT_TRUE(demo.start());
        ASSERT_TRUE(demo.port());
        EXPECT_EQ(m.host(), QStringLiteral("127.0.0.1"));
        EXPECT_EQ(m.portText(), QString::number(*demo.port()));
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return m.state() == PollerState::running && everyPointRead(); }, capMs));

        for (const Datapoint& point : points()) {
            SCOPED_TRACE(point.name);
            const Simulation served =
                point.simulation.isActive() ? point.simulation : DemoGenerators::simulationFor(point);
            const double value = *m.status(point.id)->value;
            // A wrong word order, scale or type lands far outside the generator's range.
            EXPECT_GE(value, served.minimum - point.scale);
            EXPECT_LE(value, served.maximum + point.scale);
        }
        EXPECT_DOUBLE_EQ(*m.status(points()[3].id)->value, 40.0);

        // The run time counts seconds, so it moves within a read or two.
        const Uuid runTime = points()[2].id;
        const double first = *m.status(runTime)->value;
        EXPECT_TRUE(QTest::qWaitFor([&] { return *m.status(runTime)->value != first; }, capMs));
        EXPECT_EQ(m.statistics().errors + m.statistics().exceptions + m.statistics().timeouts, 0);
        demo.stop();
        model.reset();
    }
}

TEST_F(DemoDeviceTest, EndingTheDemoGivesTheAddressBackAndClosesTheDevice) {
    const QString host = QStringLiteral(" plc.local ");
    const QString port = QStringLiteral("+1502");
    struct Row {
        const char* name;
        std::function<void(PollerModel&, DemoDevice&)> end;
        QString host;
        QString port;
    };
    const Row rows[] = {
        {"the command again", [](PollerModel&, DemoDevice& demo) { demo.toggle(); }, host, port},
        {"Stop", [](PollerModel& m, DemoDevice&) { m.toggleReading(); }, host, port},
        {"an address typed while it ran stays",
         [](PollerModel& m, DemoDevice& demo) {
             m.setHost(QStringLiteral("10.0.0.7"));
             demo.stop();
         },
         QStringLiteral("10.0.0.7"), port},
        {"a new project brings its own address",
         [](PollerModel& m, DemoDevice&) {
             PollerProject project = m.makeProject();
             project.host = "192.168.1.20";
             project.port = 5020;
             m.apply(project);
         },
         QStringLiteral("192.168.1.20"), QStringLiteral("5020")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PollerModel& m = makeModel();
        m.setHost(host);
        m.setPortText(port);
        DemoDevice demo(m);
        QSignalSpy running(&demo, &DemoDevice::runningChanged);
        ASSERT_TRUE(demo.start());
        const std::uint16_t served = *demo.port();
        ASSERT_TRUE(somethingListensOn(served));

        row.end(m, demo);
        EXPECT_EQ(m.state(), PollerState::stopped);
        EXPECT_FALSE(demo.isRunning());
        EXPECT_EQ(m.host(), row.host);
        EXPECT_EQ(m.portText(), row.port);
        EXPECT_FALSE(somethingListensOn(served));
        ASSERT_EQ(running.size(), 2);
        EXPECT_EQ(running.at(1).at(0).toBool(), false);
        model.reset();
    }
}

TEST_F(DemoDeviceTest, TheAutosaveNeverKeepsTheDemosAddress) {
    const auto savedAddress = [] {
        const auto saved = PollerProject::fromDocument(readFile(autosaveFile()).toStdString());
        return saved ? std::pair(saved->host, saved->port)
                     : std::pair(std::string("unreadable"), std::uint16_t{0});
    };
    PollerModel& m = makeModel();
    m.setHost(QStringLiteral("plc.local"));
    m.setPortText(QStringLiteral("1502"));
    DemoDevice demo(m);
    ASSERT_TRUE(demo.start());

    // A process that ends without quitting (a crash, Ctrl+C in a terminal) leaves this file.
    QSignalSpy written(&m, &PollerModel::autosaveWritten);
    ASSERT_TRUE(written.wait(capMs));
    EXPECT_EQ(savedAddress(), std::pair(std::string("plc.local"), std::uint16_t{1502}));

    // The port typed during the demo is kept, the demo's host is not.
    m.setPortText(QStringLiteral("5020"));
    m.autosaveNow();
    EXPECT_EQ(savedAddress(), std::pair(std::string("plc.local"), std::uint16_t{5020}));

    m.prepareForQuit();
    EXPECT_FALSE(demo.isRunning());
    EXPECT_EQ(savedAddress(), std::pair(std::string("plc.local"), std::uint16_t{5020}));
}

TEST_F(DemoDeviceTest, LeavesARealDeviceAlone) {
    PollerModel& m = startReading();
    const QString port = m.portText();
    DemoDevice demo(m);
    EXPECT_FALSE(demo.canToggle());
    EXPECT_FALSE(demo.start());
    demo.toggle();
    EXPECT_NE(m.state(), PollerState::stopped);
    EXPECT_EQ(m.portText(), port);
}

}  // namespace
}  // namespace tessarin::test
