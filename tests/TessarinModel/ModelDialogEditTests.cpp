#include "ModelFixture.hpp"

#include "ModbusCore/MBAPHeader.hpp"

#include <QTemporaryDir>

namespace tessarin::test {
namespace {

// A dialog takes the focus, a view commits its open cell editor inside the dialog's event
// loop, and the model's lists are rebuilt under the command that opened the dialog. The
// sanitizer build turns any pointer the command kept across the dialog into a report.
class DialogEditTest : public ModelFixture {
protected:
    void SetUp() override {
        ModelFixture::SetUp();
        PollerModel& m = makeModel();
        m.setPolls({pollWith(
            {holdingRegister(0, DataType::uint16, "Flow"), holdingRegister(1, DataType::uint16, "Level")},
            "Tank")});
        m.setSelectedPollID(m.polls().front().id);
    }

    const Poll& poll() const { return model->polls().front(); }

    // The edit a view commits: the first datapoint renamed, through a fresh list.
    void renameFirst(const std::string& name) const {
        model->editDatapoint(poll().datapoints.front().id, [&](Datapoint& point) { point.name = name; });
    }

    QTemporaryDir folder;
};

TEST_F(DialogEditTest, ExportsWriteThePollsAsTheyAreAfterThePanel) {
    struct Row {
        const char* command;
        std::function<void(PollerModel&)> run;
    };
    const std::vector<Row> rows{
        {"datapoints", [](PollerModel& m) { m.exportDatapointsCSV(); }},
        {"history", [](PollerModel& m) { m.exportHistory(); }},
    };
    PollerModel& m = *model;
    m.setHost(QStringLiteral("127.0.0.1"));
    m.setPortText(QString::number(refusing.port()));
    m.start();
    const ReadBlock block{.unit = 1, .table = RegisterTable::holdingRegister, .address = 0, .count = 2};
    m.handle(readOK(poll(), block, {7, 8}));

    int renames = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        const std::string name = "Renamed " + std::to_string(++renames);
        const QString path = folder.filePath(QString::fromUtf8(row.command) + u".csv");
        services.answerSavePanel(path);
        services.whileNextDialogIsOpen([&] { renameFirst(name); });
        row.run(m);
        EXPECT_FALSE(m.errorMessage());
        const QByteArray written = readFile(path);
        EXPECT_TRUE(written.contains(QByteArray::fromStdString(name))) << written.toStdString();
        EXPECT_TRUE(written.contains("Level"));
    }
}

TEST_F(DialogEditTest, AnImportKeepsTheEditMadeWhileItsDialogsWereOpen) {
    const QString path = folder.filePath(QStringLiteral("list.csv"));
    writeFile(path, "Name,Table,Address\r\nPressure,HR,9\r\n");
    for (const AlertResponse answer : {AlertResponse::first, AlertResponse::second}) {
        SCOPED_TRACE(static_cast<int>(answer));
        services.answerOpenPanel(path);
        services.answerAlert(answer);
        services.whileNextDialogIsOpen([&] {
            // The open panel has been answered; the question is still open.
            services.whileNextDialogIsOpen([&] { renameFirst("Edited"); });
        });
        model->importDatapointsCSV();
        std::vector<std::string> names;
        for (const Datapoint& point : poll().datapoints) names.push_back(point.name);
        if (answer == AlertResponse::first) {
            EXPECT_EQ(names, (std::vector<std::string>{"Edited", "Level", "Pressure"}));
        } else {
            EXPECT_EQ(names, std::vector<std::string>{"Pressure"});
        }
    }
    EXPECT_TRUE(services.scriptUsedUp());
}

TEST_F(DialogEditTest, ASlotThatEditsThePollsDuringAnEventLeavesTheModelWhole) {
    PollerModel& m = *model;
    m.setShowTimestamps(false);
    m.setHost(QStringLiteral("127.0.0.1"));
    m.setPortText(QString::number(refusing.port()));
    m.start();
    const Poll tank = poll();
    const ReadBlock block{.unit = 1, .table = RegisterTable::holdingRegister, .address = 0, .count = 2};

    // Every list edit rebuilds the polls, freeing what the handler may still point at.
    bool armed = true;
    QObject::connect(&m, &PollerModel::statisticsChanged, [&] {
        if (std::exchange(armed, false)) {
            m.deleteDatapoints({tank.datapoints.front().id});
        }
    });
    m.handle(readOK(tank, block, {7, 8}));
    ASSERT_EQ(poll().datapoints.size(), 1U);
    EXPECT_EQ(m.status(tank.datapoints.front().id), nullptr) << "no status for a datapoint that is gone";
    ASSERT_NE(m.status(tank.datapoints.back().id), nullptr);
    EXPECT_EQ(m.status(tank.datapoints.back().id)->value, 8);

    // A write whose datapoint is deleted while its answer is handled.
    m.write(poll().datapoints.front(), 5);
    ASSERT_EQ(m.pendingWrites().size(), 1U);
    const Uuid token = m.pendingWrites().begin()->first;
    bool armedForWrite = true;
    QObject::connect(&m, &PollerModel::statisticsChanged, [&] {
        if (std::exchange(armedForWrite, false)) {
            m.deleteDatapoints({tank.datapoints.back().id});
        }
    });
    const std::vector<std::uint8_t> pdu{6, 0, 1, 0, 5};
    const std::vector<std::uint8_t> frame = MBAPHeader::message(1, 1, pdu);
    m.handle({PollerEvent::Wrote{.token = token, .unit = 1, .result = {}, .request = frame, .response = frame}});
    EXPECT_TRUE(poll().datapoints.empty());
    EXPECT_TRUE(m.status().empty());
    EXPECT_TRUE(logLines().back().starts_with("✎ Unit 1 · Level = 5")) << logLines().back();
}

TEST_F(DialogEditTest, AWriteWhoseDatapointASlotDeletesIsStillLogged) {
    PollerModel& m = *model;
    m.setShowTimestamps(false);
    m.setHost(QStringLiteral("127.0.0.1"));
    m.setPortText(QString::number(refusing.port()));
    m.start();
    QObject::connect(&m, &PollerModel::pendingWritesChanged, [&] {
        if (!poll().datapoints.empty()) m.deleteDatapoints({poll().datapoints.front().id});
    });
    // The view hands over a reference into the polls, as a table delegate does.
    m.write(poll().datapoints.front(), 5);
    EXPECT_EQ(poll().datapoints.size(), 1U);
    const std::string line = logLines().back();
    EXPECT_TRUE(line.starts_with("→ Unit 1 · FC 06 ") && line.ends_with(" · Flow = 5")) << line;
}

}  // namespace
}  // namespace tessarin::test
