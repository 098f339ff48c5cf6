#include "ModelFixture.hpp"

#include <QTemporaryDir>

namespace tessarin::test {
namespace {

using EditingTest = ModelFixture;

// The edits themselves are PollEditing's and DatapointTransfer's; here: that each lands in the
// model as one change of polls with the selection the commands promise.
TEST_F(EditingTest, PollCommandsSelectWhatTheyMake) {
    PollerModel& m = makeModel();
    m.addPoll();
    EXPECT_EQ(m.selectedPoll()->name, "Poll 2");
    m.duplicatePoll(m.polls().front().id);
    EXPECT_EQ(m.selectedPoll()->name, "Example device (copy)");
    for (int i = 0; i < 3; ++i) m.removePoll(m.polls().front().id);
    EXPECT_EQ(m.polls().size(), 1U) << "the last poll stays";
    EXPECT_TRUE(m.autosavePending());
}

TEST_F(EditingTest, DatapointCommandsWorkOnTheSelectedPollOnly) {
    PollerModel& m = makeModel();
    const Uuid first = m.polls().front().datapoints.front().id;
    const auto added = m.addDatapoint(first);
    ASSERT_TRUE(added);
    EXPECT_EQ(m.selectedPoll()->datapoints[1].id, *added);
    m.editDatapoint(*added, [](Datapoint& point) { point.name = "Level"; });
    EXPECT_EQ(m.selectedPoll()->datapoints[1].name, "Level");
    m.setPlotted(true, *added);
    EXPECT_TRUE(m.selectedPoll()->plotted.contains(*added));
    m.deleteDatapoints({*added, first});
    EXPECT_EQ(m.selectedPoll()->datapoints.size(), 6U);
    EXPECT_TRUE(m.selectedPoll()->plotted.empty());

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("list.csv"));
    writeFile(file, "Name,Table,Address\nFlow,HR,7\n");
    services.answerOpenPanel(file);
    services.answerAlert(AlertResponse::second);
    m.importDatapointsCSV();
    ASSERT_EQ(m.selectedPoll()->datapoints.size(), 1U);
    EXPECT_EQ(m.selectedPoll()->datapoints.front().name, "Flow");
    writeFile(file, "nothing here\n");
    services.answerOpenPanel(file);
    m.importDatapointsCSV();
    EXPECT_TRUE(m.errorMessage().value_or(QString()).startsWith(QStringLiteral("No datapoints found")));

    m.setSelectedPollID(std::nullopt);
    const std::vector<Poll> before = m.polls();
    EXPECT_FALSE(m.addDatapoint(std::nullopt));
    m.importDatapointsCSV();
    m.exportDatapointsCSV();
    EXPECT_EQ(m.polls(), before);
}

}  // namespace
}  // namespace tessarin::test
