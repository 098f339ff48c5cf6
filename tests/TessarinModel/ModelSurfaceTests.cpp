#include "ModelFixture.hpp"

#include <QMetaProperty>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace tessarin::test {
namespace {

using SurfaceTest = ModelFixture;

TEST_F(SurfaceTest, EveryPublishedPropertyHasAChangeSignal) {
    const QMetaObject& meta = PollerModel::staticMetaObject;
    const std::vector<const char*> published{"connectionProblem",
                                             "state",
                                             "statistics",
                                             "canStart",
                                             "errorMessage",
                                             "writeError",
                                             "host",
                                             "portText",
                                             "framing",
                                             "timeoutMs",
                                             "writeMode",
                                             "maxGap",
                                             "polls",
                                             "selectedPollID",
                                             "outputIsEmpty",
                                             "historyVersion",
                                             "showNoResponseHint",
                                             "showTimestamps",
                                             "showRawFrames",
                                             "logOnlyProblems",
                                             "autoscroll",
                                             "busy"};
    for (const char* name : published) {
        SCOPED_TRACE(name);
        const int index = meta.indexOfProperty(name);
        ASSERT_GE(index, 0);
        const QMetaProperty property = meta.property(index);
        EXPECT_TRUE(property.hasNotifySignal());
        EXPECT_TRUE(property.isReadable());
    }
}

TEST_F(SurfaceTest, CanStartChangedFollowsHostPortAndPolls) {
    PollerModel& m = makeModel();
    ASSERT_TRUE(m.canStart()) << "the example project names a host and a port";
    QSignalSpy spy(&m, &PollerModel::canStartChanged);

    struct Step {
        const char* what;
        std::function<void()> change;
        bool canStart;
    };
    const Poll disabled = [&] {
        Poll poll = m.polls().front();
        poll.enabled = false;
        return poll;
    }();
    const std::vector<Step> steps{
        {"port 0", [&] { m.setPortText(QStringLiteral("0")); }, false},
        {"still invalid", [&] { m.setPortText(QStringLiteral("abc")); }, false},
        {"valid again", [&] { m.setPortText(QStringLiteral(" 502 ")); }, true},
        {"blank host", [&] { m.setHost(QStringLiteral("  ")); }, false},
        {"host back", [&] { m.setHost(QStringLiteral("plc")); }, true},
        {"only a disabled poll", [&] { m.setPolls({disabled}); }, false},
        {"an empty poll", [&] { m.addPoll(); }, false},
        {"a datapoint in it", [&] { m.addDatapoint(std::nullopt); }, true},
    };
    bool last = true;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        spy.clear();
        step.change();
        EXPECT_EQ(m.canStart(), step.canStart);
        EXPECT_EQ(spy.count(), step.canStart != last ? 1 : 0);
        last = step.canStart;
    }
}

TEST_F(SurfaceTest, RemovingAPollAnnouncesTheNewListBeforeTheNewSelection) {
    PollerModel& m = makeModel();
    m.addPoll();
    const Uuid second = *m.selectedPollID();
    std::vector<std::string> order;
    QObject::connect(&m, &PollerModel::pollsChanged, [&] {
        order.emplace_back("polls");
        EXPECT_EQ(m.selectedPoll(), nullptr) << "the old selection is gone from the new list";
    });
    QObject::connect(&m, &PollerModel::selectedPollIDChanged, [&] {
        order.emplace_back("selection");
        EXPECT_NE(m.selectedPoll(), nullptr);
    });
    m.removePoll(second);
    EXPECT_EQ(order, (std::vector<std::string>{"polls", "selection"}));
    EXPECT_EQ(m.selectedPollID(), m.polls().front().id);
}

TEST_F(SurfaceTest, FileWorkIsBusyButNeverWhileADialogWaitsForTheUser) {
    PollerModel& m = makeModel();
    QTemporaryDir dir;
    const QString list = dir.filePath(QStringLiteral("list.csv"));
    writeFile(list, "Table,Address\nHR,1\n");
    std::vector<bool> seen;
    QObject::connect(&m, &PollerModel::busyChanged, [&] { seen.push_back(m.busy()); });

    services.answerOpenPanel(list);
    services.answerAlert(AlertResponse::first);
    services.whileNextDialogIsOpen([&] {
        services.whileNextDialogIsOpen([&] { EXPECT_FALSE(m.busy()) << "while the question is open"; });
    });
    m.importDatapointsCSV();
    EXPECT_EQ(seen, (std::vector<bool>{true, false, true, false})) << "parsing, then changing the list";

    seen.clear();
    m.autosaveNow();
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
    EXPECT_TRUE(services.scriptUsedUp());
}

}  // namespace
}  // namespace tessarin::test
