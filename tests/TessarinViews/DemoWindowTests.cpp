#include "WindowFixture.hpp"

#include "TessarinModel/DemoDevice.hpp"
#include "TessarinViews/ConnectionBar.hpp"
#include "TessarinViews/ConnectionField.hpp"
#include "TessarinViews/MainWindow.hpp"
#include "TessarinViews/StartStopButton.hpp"
#include "support/FreePort.hpp"

#include <QAction>
#include <QTest>

namespace tessarin::test {
namespace {

// Generous: reads come every second and a sanitizer build is slow.
constexpr int capMs = 20'000;

class DemoWindowTest : public WindowTest {
protected:
    QAction& demoItem() { return *app->mainWindow().actions().demoDevice; }

    // Every datapoint of the example has a good value from the device read.
    bool exampleIsRead() {
        const auto& points = model().polls().front().datapoints;
        return model().state() == PollerState::running &&
               std::ranges::all_of(points, [&](const Datapoint& point) {
                   const PointStatus* status = model().status(point.id);
                   return status != nullptr && status->value && !status->failure;
               });
    }
};

TEST_F(DemoWindowTest, ThePollerMenuStartsAndEndsTheDemo) {
    ConnectionBar& bar = *app->mainWindow().connectionBar();
    retype(bar.hostField(), QStringLiteral("plc.local"));
    retype(bar.portField(), QStringLiteral("1502"));
    EXPECT_EQ(demoItem().text(), QStringLiteral("Demo device"));
    EXPECT_TRUE(demoItem().isCheckable());
    ASSERT_TRUE(demoItem().isEnabled());
    EXPECT_FALSE(demoItem().isChecked());

    demoItem().trigger();
    EXPECT_TRUE(demoItem().isChecked());
    EXPECT_TRUE(demoItem().isEnabled()) << "the same item ends it";
    EXPECT_EQ(bar.portField()->text(), QString::number(*app->demoDevice().port()));
    EXPECT_EQ(bar.startStopButton()->text(), QStringLiteral("Stop"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return exampleIsRead(); }, capMs));
    EXPECT_TRUE(app->mainWindow().windowTitle().startsWith(QStringLiteral("127.0.0.1:")));

    demoItem().trigger();
    EXPECT_FALSE(demoItem().isChecked());
    EXPECT_EQ(model().state(), PollerState::stopped);
    EXPECT_EQ(bar.hostField()->text(), QStringLiteral("plc.local"));
    EXPECT_EQ(bar.portField()->text(), QStringLiteral("1502"));

    // Stop ends the demo just as well, and the item follows.
    demoItem().trigger();
    ASSERT_TRUE(demoItem().isChecked());
    bar.startStopButton()->click();
    EXPECT_FALSE(demoItem().isChecked());
    EXPECT_FALSE(app->demoDevice().isRunning());
    EXPECT_EQ(bar.portField()->text(), QStringLiteral("1502"));
}

TEST_F(DemoWindowTest, TheDemoIsNotOfferedWhileReadingARealDeviceOrWithNothingToRead) {
    ClosedPort device;
    model().setHost(QStringLiteral("127.0.0.1"));
    model().setPortText(QString::number(device.port()));
    model().start();
    ASSERT_NE(model().state(), PollerState::stopped);
    EXPECT_FALSE(demoItem().isEnabled());
    model().stop();
    EXPECT_TRUE(demoItem().isEnabled());

    model().editPoll(model().polls().front().id, [](Poll& poll) { poll.enabled = false; });
    EXPECT_FALSE(demoItem().isEnabled());
}

TEST_F(DemoWindowTest, AFirstStartReadsFromTheDemoAndALaterStartWaits) {
    ASSERT_TRUE(app->firstStart());
    ASSERT_TRUE(app->startDemoOnFirstStart());
    EXPECT_TRUE(demoItem().isChecked());
    ASSERT_TRUE(QTest::qWaitFor([&] { return exampleIsRead(); }, capMs));

    app->prepareForQuit();
    app.reset();
    app = std::make_unique<TessarinApplication>();
    EXPECT_FALSE(app->firstStart());
    EXPECT_FALSE(app->startDemoOnFirstStart());
    EXPECT_EQ(model().state(), PollerState::stopped);
    EXPECT_FALSE(demoItem().isChecked());
    EXPECT_EQ(model().host(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(model().portText(), QStringLiteral("502")) << "the demo's port is not remembered";
}

}  // namespace
}  // namespace tessarin::test
