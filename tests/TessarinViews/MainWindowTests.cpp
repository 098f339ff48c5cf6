#include "WindowFixture.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinViews/ConnectionBar.hpp"
#include "TessarinViews/ConnectionField.hpp"
#include "TessarinViews/FooterBar.hpp"
#include "TessarinViews/HelpWindow.hpp"
#include "TessarinViews/MainWindow.hpp"
#include "TessarinViews/StartStopButton.hpp"
#include "TessarinViews/ThemedToggle.hpp"

#include <QAction>
#include <QLabel>
#include <QSettings>
#include <QSplitter>
#include <QTest>

namespace tessarin::test {
namespace {

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, HostAndPortFieldsShowWhetherTheyCanBeUsed) {
    struct Row {
        const char* name;
        QString host;
        QString port;
        bool hostInvalid;
        bool portInvalid;
    };
    const Row rows[] = {
        {"padded port", QStringLiteral("plc.local"), QStringLiteral(" 502 "), false, false},
        {"port zero", QStringLiteral("plc.local"), QStringLiteral("0"), false, true},
        {"port too large", QStringLiteral("plc.local"), QStringLiteral("65536"), false, true},
        {"port not a number", QStringLiteral("plc.local"), QStringLiteral("abc"), false, true},
        {"port empty", QStringLiteral("plc.local"), QString(), false, true},
        {"host blanks only", QStringLiteral("   "), QStringLiteral("502"), true, false},
        {"host empty", QString(), QStringLiteral("65535"), true, false},
    };
    ConnectionBar& bar = *app->mainWindow().connectionBar();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // Typed, as a person would, so that the fields reach the model themselves.
        retype(bar.hostField(), row.host);
        retype(bar.portField(), row.port);
        EXPECT_EQ(model().host(), row.host);
        EXPECT_EQ(model().portText(), row.port);
        EXPECT_EQ(bar.hostField()->showsInvalid(), row.hostInvalid);
        EXPECT_EQ(bar.portField()->showsInvalid(), row.portInvalid);
        EXPECT_EQ(bar.portField()->toolTip(),
                  qtText(row.portInvalid ? L10n::TCP::portInvalid() : L10n::TCP::portHelp()));
        EXPECT_EQ(bar.startStopButton()->isEnabled(), !row.hostInvalid && !row.portInvalid);
        EXPECT_EQ(app->mainWindow().actions().toggleReading->isEnabled(), !row.hostInvalid && !row.portInvalid);
    }
    EXPECT_EQ(qtText(L10n::TCP::portInvalid()), QStringLiteral("Invalid port (1–65535)"));
}

TEST_F(MainWindowTest, StartNeedsAnEnabledPollWithADatapointAndTheShortcutDoesNothingUntilThen) {
    model().setHost(QStringLiteral("127.0.0.1"));
    model().setPortText(QStringLiteral("1"));
    ASSERT_TRUE(activateMainWindow());
    const std::vector<Poll> examplePolls = model().polls();
    ASSERT_FALSE(examplePolls.empty());

    std::vector<Poll> disabled = examplePolls;
    for (Poll& poll : disabled) {
        poll.enabled = false;
    }
    std::vector<Poll> empty = examplePolls;
    for (Poll& poll : empty) {
        poll.datapoints.clear();
    }
    for (const auto& [name, polls] : {std::pair{"every poll disabled", disabled}, std::pair{"every poll empty", empty}}) {
        SCOPED_TRACE(name);
        model().setPolls(polls);
        EXPECT_FALSE(app->mainWindow().connectionBar()->startStopButton()->isEnabled());
        QTest::keyClick(&app->mainWindow(), Qt::Key_R, Qt::ControlModifier);
        EXPECT_EQ(model().state(), PollerState::stopped);
    }

    model().setPolls(examplePolls);
    EXPECT_TRUE(app->mainWindow().connectionBar()->startStopButton()->isEnabled());
    QTest::keyClick(&app->mainWindow(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_NE(model().state(), PollerState::stopped);
    EXPECT_EQ(app->mainWindow().actions().toggleReading->text(), qtText(L10n::Header::stop()));
    // While reading the button stops, whatever the fields hold.
    model().setHost(QString());
    EXPECT_TRUE(app->mainWindow().connectionBar()->startStopButton()->isEnabled());
    EXPECT_FALSE(app->mainWindow().connectionBar()->hostField()->showsInvalid()) << "no red while reading";
    QTest::keyClick(&app->mainWindow(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(model().state(), PollerState::stopped);
}

TEST_F(MainWindowTest, TitleNamesTheAddressAndTheState) {
    struct Row {
        QString host;
        QString port;
        QString title;
    };
    const QString stopped = QStringLiteral(" — Stopped");
    const Row rows[] = {
        {QString(), QStringLiteral("502"), QStringLiteral("Tessarin") + stopped},
        {QStringLiteral("  "), QStringLiteral("502"), QStringLiteral("Tessarin") + stopped},
        {QStringLiteral(" plc.local "), QStringLiteral(" 1502 "), QStringLiteral("plc.local:1502") + stopped},
        {QStringLiteral("10.0.0.7"), QStringLiteral("70000"), QStringLiteral("10.0.0.7:…") + stopped},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.title.toStdString());
        model().setHost(row.host);
        model().setPortText(row.port);
        EXPECT_EQ(app->mainWindow().windowTitle(), row.title);
    }
}

TEST_F(MainWindowTest, MenuCommandsAreEnabledAsTheModelAllows) {
    const MainWindow::Actions& actions = app->mainWindow().actions();
    ASSERT_TRUE(model().outputIsEmpty());
    EXPECT_FALSE(actions.saveLog->isEnabled()) << "nothing to save";
    EXPECT_FALSE(app->mainWindow().footerBar()->saveButton()->isEnabled());
    model().appendLine({LogSegment{LogSegment::Kind::text, QStringLiteral("line")}});
    EXPECT_TRUE(actions.saveLog->isEnabled());
    EXPECT_TRUE(app->mainWindow().footerBar()->saveButton()->isEnabled());

    ASSERT_TRUE(model().selectedPollID().has_value());
    EXPECT_TRUE(actions.addDatapoint->isEnabled());
    model().setSelectedPollID(std::nullopt);
    EXPECT_FALSE(actions.addDatapoint->isEnabled());

    // The save commands keep their shortcuts apart.
    EXPECT_EQ(actions.saveLog->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(actions.saveProjectAs->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));

    // The log options' check marks follow the model both ways.
    model().setShowRawFrames(!model().showRawFrames());
    EXPECT_EQ(actions.rawFrames->isChecked(), model().showRawFrames());
    actions.onlyProblems->trigger();
    EXPECT_EQ(model().logOnlyProblems(), actions.onlyProblems->isChecked());
}

TEST_F(MainWindowTest, TheBottomPaneFollowsShowLogWhichSurvivesARestart) {
    ASSERT_TRUE(activateMainWindow());
    MainWindow& window = app->mainWindow();
    EXPECT_FALSE(window.showLog()) << "hidden at first start";
    EXPECT_FALSE(window.bottomPane()->isVisible());

    QTest::keyClick(&window, Qt::Key_L, Qt::ControlModifier);
    EXPECT_TRUE(window.bottomPane()->isVisible());
    EXPECT_TRUE(window.footerBar()->logToggle()->isChecked());
    EXPECT_TRUE(window.actions().showLog->isChecked());
    EXPECT_GE(window.bottomPane()->height(), MainWindow::paneMinimumHeight);
    EXPECT_GE(window.splitter()->widget(0)->height(), MainWindow::tableMinimumHeight);

    app = std::make_unique<TessarinApplication>();
    EXPECT_TRUE(app->mainWindow().showLog());
    app->mainWindow().footerBar()->logToggle()->click();
    EXPECT_FALSE(QSettings().value(QStringLiteral("showLog")).toBool());
}

TEST_F(MainWindowTest, HelpOpensOnceAndComesBackToTheFront) {
    EXPECT_EQ(app->helpWindow(), nullptr);
    app->mainWindow().actions().help->trigger();
    HelpWindow* help = app->helpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->windowTitle(), QStringLiteral("Tessarin Help"));
    help->close();
    app->mainWindow().actions().help->trigger();
    EXPECT_EQ(app->helpWindow(), help);
    EXPECT_TRUE(help->isVisible());
}

TEST_F(MainWindowTest, AnErrorMessageIsShownOnceAndClearedWhenDismissed) {
    // An invalid start is the model's own way to report an error.
    model().setHost(QStringLiteral("plc.local"));
    model().setPortText(QStringLiteral("0"));
    int alerts = 0;
    QString shown;
    whenModalOpens([&](QWidget* alert) {
        ++alerts;
        shown = alert->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))->text();
        buttonNamed(alert, QStringLiteral("OK"))->click();
    });
    model().start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !model().errorMessage().has_value(); }));
    EXPECT_EQ(alerts, 1);
    EXPECT_EQ(shown, qtText(L10n::Errors::invalidTCPPort()));
}

TEST_F(MainWindowTest, QuittingWhileReadingStopsAndWritesTheAutosaveOnce) {
    model().setHost(QStringLiteral("127.0.0.1"));
    model().setPortText(QStringLiteral("1"));
    int written = 0;
    QObject::connect(&model(), &PollerModel::autosaveWritten, [&] { ++written; });
    model().start();
    ASSERT_NE(model().state(), PollerState::stopped);
    ASSERT_TRUE(model().autosavePending()) << "the address edits wait for the debounce";

    app->prepareForQuit();
    EXPECT_EQ(model().state(), PollerState::stopped);
    EXPECT_EQ(written, 1);
    app.reset();
    EXPECT_EQ(written, 1) << "the end after the notice writes nothing more";

    app = std::make_unique<TessarinApplication>();
    EXPECT_EQ(model().portText(), QStringLiteral("1")) << "the last edit came back";
}

}  // namespace
}  // namespace tessarin::test
