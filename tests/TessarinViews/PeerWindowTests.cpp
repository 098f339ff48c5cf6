#include "WindowFixture.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinViews/ConnectionBar.hpp"
#include "TessarinViews/ConnectionField.hpp"
#include "TessarinViews/ConnectionSettingsPopover.hpp"
#include "TessarinViews/FooterBar.hpp"
#include "TessarinViews/MainWindow.hpp"
#include "TessarinViews/StartStopButton.hpp"
#include "TessarinViews/StatusDot.hpp"
#include "TessarinViews/ThemedPickerBox.hpp"
#include "TessarinViews/ThemedToggle.hpp"
#include "support/PeerProcess.hpp"

#include <QLabel>
#include <QTest>

namespace tessarin::test {
namespace {

// Generous: the engine waits 2 s between connection attempts.
constexpr int capMs = 20'000;

using PeerWindowTest = WindowTest;

TEST_F(PeerWindowTest, ReadingADeviceMovesTheCountersAndLocksWhatTheEngineWasBuiltWith) {
    auto peer = PeerProcess::start(PeerKind::libmodbusTCP);
    ASSERT_TRUE(peer) << peer.error();
    ConnectionBar& bar = *app->mainWindow().connectionBar();
    retype(bar.hostField(), QStringLiteral("127.0.0.1"));
    retype(bar.portField(), QString::number(peer->port()));
    QLabel& counters = *app->mainWindow().footerBar()->statisticsLabel();
    const QString idle = counters.text();

    bar.startStopButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return model().state() == PollerState::running && counters.text() != idle; },
                                capMs));
    EXPECT_GT(model().statistics().responses, 0);
    // The label follows the counters at its own pace; it catches up with them.
    const auto countersShown = [&] {
        const PollerStatistics& counts = model().statistics();
        return counters.text() ==
               qtText(L10n::Footer::statistics(counts.requests, counts.responses, counts.timeouts,
                                               counts.exceptions, counts.errors));
    };
    EXPECT_TRUE(QTest::qWaitFor(countersShown, capMs)) << counters.text().toStdString();
    EXPECT_EQ(bar.statusDot()->toolTip(), QStringLiteral("Reading"));
    EXPECT_EQ(bar.startStopButton()->text(), QStringLiteral("Stop"));
    EXPECT_EQ(bar.startStopButton()->fillColor(), QColor(0xf0, 0x8a, 0x00)) << "orange while reading";

    bar.openSettings();
    ConnectionSettingsPopover& settings = *bar.settingsPopover();
    EXPECT_TRUE(settings.isVisible());
    EXPECT_FALSE(settings.rtuOverTCPButton()->isEnabled());
    EXPECT_EQ(settings.rtuOverTCPButton()->toolTip(), QStringLiteral("Stop reading to change this"));
    EXPECT_FALSE(settings.combinePicker()->isEnabled());
    EXPECT_TRUE(settings.timeoutPicker()->isEnabled());
    EXPECT_TRUE(settings.writeModePicker()->isEnabled());
    // The timeout applies while reading.
    settings.timeoutPicker()->setCurrentIndex(settings.timeoutPicker()->findData(2000));
    Q_EMIT settings.timeoutPicker()->activated(settings.timeoutPicker()->currentIndex());
    EXPECT_EQ(model().timeoutMs(), 2000);
    settings.close();

    bar.startStopButton()->click();
    EXPECT_EQ(model().state(), PollerState::stopped);
    EXPECT_EQ(bar.startStopButton()->text(), QStringLiteral("Start"));
    EXPECT_TRUE(settings.rtuOverTCPButton()->isEnabled());
    EXPECT_EQ(settings.rtuOverTCPButton()->toolTip(), qtText(L10n::TCP::framingHelp()));
    settings.rtuOverTCPButton()->click();
    EXPECT_EQ(model().framing(), TCPFraming::rtuOverTCP);
}

}  // namespace
}  // namespace tessarin::test
