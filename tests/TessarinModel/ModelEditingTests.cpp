#include "ModelFixture.hpp"

#include "ModbusCore/DatapointCSV.hpp"
#include "support/FreePort.hpp"

#include <QTemporaryDir>

namespace tessarin::test {
namespace {

using EditingTest = ModelFixture;

// The edits themselves are PollEditing's; here: that each lands in the model as one change
// of polls with the selection the commands promise.
TEST_F(EditingTest, PollCommandsMoveTheSelection) {
    PollerModel& m = makeModel();
    const Uuid example = m.polls().front().id;
    m.addPoll();
    ASSERT_EQ(m.polls().size(), 2U);
    EXPECT_EQ(m.polls().back().name, "Poll 2");
    EXPECT_EQ(m.selectedPollID(), m.polls().back().id);

    m.duplicatePoll(example);
    ASSERT_EQ(m.polls().size(), 3U);
    EXPECT_EQ(m.polls()[1].name, "Example device (copy)");
    EXPECT_EQ(m.selectedPollID(), m.polls()[1].id);

    m.setSelectedPollID(example);
    m.removePoll(example);
    EXPECT_EQ(m.selectedPollID(), m.polls().front().id);
    m.removePoll(m.polls().back().id);
    m.removePoll(m.polls().front().id);
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
    m.editPoll(m.selectedPoll()->id, [](Poll& poll) { poll.intervalMs = 250; });
    EXPECT_EQ(m.selectedPoll()->intervalMs, 250);

    m.setSelectedPollID(std::nullopt);
    const std::vector<Poll> before = m.polls();
    EXPECT_FALSE(m.addDatapoint(std::nullopt));
    m.importDatapointsCSV();
    m.exportDatapointsCSV();
    EXPECT_EQ(m.polls(), before);
}

TEST_F(EditingTest, ImportReplacesTheSelectedPollsListInOneChange) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("list.csv"));
    writeFile(file, "Name,Table,Address\nFlow,HR,7\nbad,XX,1\n");
    PollerModel& m = makeModel();
    services.answerOpenPanel(file);
    services.answerAlert(AlertResponse::second);
    m.importDatapointsCSV();
    ASSERT_EQ(m.selectedPoll()->datapoints.size(), 1U);
    EXPECT_EQ(m.selectedPoll()->datapoints.front().name, "Flow");
    EXPECT_TRUE(m.selectedPoll()->plotted.empty());
    EXPECT_EQ(services.alerts.front().message, QStringLiteral("1 datapoint found"));

    writeFile(file, "nothing here\n");
    services.answerOpenPanel(file);
    m.importDatapointsCSV();
    ASSERT_TRUE(m.errorMessage());
    EXPECT_TRUE(m.errorMessage()->startsWith(QStringLiteral("No datapoints found in this file.")));
}

TEST_F(EditingTest, ExportCarriesTheLiveValues) {
    const ClosedPort refusing;
    QTemporaryDir dir;
    PollerModel& m = makeModel();
    m.setShowTimestamps(false);
    m.setPortText(QString::number(refusing.port()));
    m.start();
    const Poll& poll = *m.selectedPoll();
    m.handle({PollerEvent::Read{
        .poll = poll.id,
        .block = {.unit = 1, .table = RegisterTable::inputRegister, .address = 0, .count = 1},
        .result = PDU::ReadData::registers({215}),
        .request = {},
        .response = {},
        .duration = 0.01}});
    const QString file = dir.filePath(QStringLiteral("out.csv"));
    services.answerSavePanel(file);
    m.exportDatapointsCSV();
    EXPECT_EQ(services.savePanels.front().proposedName, QStringLiteral("Example device.csv"));

    std::vector<Datapoint> expected = poll.datapoints;
    expected.front().value = 21.5;
    EXPECT_EQ(readFile(file),
              QByteArray::fromStdString(DatapointCSV::export_(expected, DatapointCSV::Dialect::current())));
}

}  // namespace
}  // namespace tessarin::test
