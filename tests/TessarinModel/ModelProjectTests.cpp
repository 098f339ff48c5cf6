#include "ModelFixture.hpp"

#include "support/FreePort.hpp"

#include "PollerCore/ReadPlanner.hpp"
#include "TessarinModel/AutosaveFile.hpp"

#include <QDir>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace tessarin::test {
namespace {

using ProjectTest = ModelFixture;

PollerProject decodeFile(const QString& path) {
    const QByteArray bytes = ModelFixture::readFile(path);
    auto project = PollerProject::fromDocument(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    EXPECT_TRUE(project) << "not a project: " << path.toStdString();
    return project.value_or(PollerProject{});
}

QByteArray documentOf(const PollerProject& project) {
    return QByteArray::fromStdString(project.document());
}

PollerProject projectWith(std::vector<Poll> polls) {
    PollerProject project;
    project.host = "10.0.0.7";
    project.port = 1502;
    project.framing = TCPFraming::rtuOverTCP;
    project.timeoutMs = 2000;
    project.writeMode = WriteMode::multiple;
    project.maxGap = 4;
    project.polls = std::move(polls);
    return project;
}

TEST_F(ProjectTest, TheFirstStartBuildsTheExampleProject) {
    PollerModel& m = makeModel();
    EXPECT_EQ(m.host(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(m.portText(), QStringLiteral("502"));
    EXPECT_EQ(m.framing(), TCPFraming::modbusTCP);
    EXPECT_EQ(m.timeoutMs(), 1000);
    EXPECT_EQ(m.writeMode(), WriteMode::single);
    EXPECT_EQ(m.maxGap(), 0);
    ASSERT_EQ(m.polls().size(), 1U);
    const Poll& poll = m.polls().front();
    EXPECT_EQ(poll.name, "Example device");
    EXPECT_EQ(poll.intervalMs, 1000);
    EXPECT_TRUE(poll.enabled);
    EXPECT_EQ(m.selectedPollID(), poll.id);

    std::vector<std::string> names;
    for (const Datapoint& point : poll.datapoints) {
        names.push_back(point.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Temperature", "Pressure", "Run time", "Setpoint", "Mode",
                                               "Pump on", "Alarm"}));
    EXPECT_EQ(ReadPlanner::blocks(poll.datapoints, 0).size(), 4U) << "every datapoint is readable";
    EXPECT_EQ(poll.plotted, std::set<Uuid>{poll.datapoints.front().id});
    // Loading is not an edit.
    EXPECT_FALSE(m.autosavePending());
    EXPECT_FALSE(QFile::exists(autosaveFile()));
}

TEST_F(ProjectTest, TheAutosaveIsLoadedWithItsTimeoutNormalised) {
    PollerProject stored = projectWith({pollWith({holdingRegister(7)}, "Boiler")});
    stored.timeoutMs = 300;
    QByteArray text = documentOf(stored);
    text.replace("\"version\": 1", "\"version\": 7");
    ASSERT_TRUE(text.contains("\"version\": 7"));
    writeFile(autosaveFile(), text);

    PollerModel& m = makeModel();
    EXPECT_EQ(m.host(), QStringLiteral("10.0.0.7"));
    EXPECT_EQ(m.portText(), QStringLiteral("1502"));
    EXPECT_EQ(m.framing(), TCPFraming::rtuOverTCP);
    EXPECT_EQ(m.timeoutMs(), 1000);
    EXPECT_EQ(m.writeMode(), WriteMode::multiple);
    EXPECT_EQ(m.maxGap(), 4);
    EXPECT_EQ(m.polls(), stored.polls);
    EXPECT_EQ(m.selectedPollID(), stored.polls.front().id);

    m.autosaveNow();
    const PollerProject written = decodeFile(autosaveFile());
    EXPECT_EQ(written.timeoutMs, 1000);
    EXPECT_TRUE(readFile(autosaveFile()).contains("\"version\": 1"));
}

TEST_F(ProjectTest, AnUnusableAutosaveGivesTheExampleAndAnUnreadableOneIsKeptAside) {
    struct Row {
        const char* name;
        QByteArray contents;
        bool unreadable;
    };
    const std::vector<Row> rows{
        {"no polls", "{}", false},
        {"not JSON", "{\"host\": \"10.0.0.7\", \"polls\": [", true},
        {"port as a string", "{\"port\": \"502\", \"polls\": [{}]}", true},
        {"port out of range", "{\"port\": 70000, \"polls\": [{}]}", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QDir(dataFolder()).removeRecursively();
        writeFile(autosaveFile(), row.contents);

        PollerModel& m = makeModel();
        ASSERT_EQ(m.polls().size(), 1U);
        EXPECT_EQ(m.polls().front().name, "Example device");
        EXPECT_EQ(readFile(autosaveFile()), row.contents) << "start-up must not touch the file";

        m.setHost(QStringLiteral("192.168.1.20"));
        m.autosaveNow();
        EXPECT_EQ(decodeFile(autosaveFile()).host, "192.168.1.20");
        const QStringList kept =
            QDir(dataFolder()).entryList({QStringLiteral("project-unreadable-*.json")}, QDir::Files);
        if (row.unreadable) {
            ASSERT_EQ(kept.size(), 1);
            EXPECT_TRUE(
                QRegularExpression(QStringLiteral(R"(^project-unreadable-\d{4}-\d\d-\d\dT\d{6}\.json$)"))
                    .match(kept.front())
                    .hasMatch())
                << kept.front().toStdString();
            EXPECT_EQ(readFile(dataFolder() + u'/' + kept.front()), row.contents);
        } else {
            EXPECT_TRUE(kept.isEmpty());
        }
        // Only the first autosave keeps the old file.
        m.setHost(QStringLiteral("192.168.1.21"));
        m.autosaveNow();
        EXPECT_EQ(QDir(dataFolder()).entryList(QDir::Files).size(), row.unreadable ? 2 : 1);
        model.reset();
    }
}

TEST_F(ProjectTest, AnUnreadableFileKeptTheSameSecondDoesNotReplaceAnEarlierOne) {
    const QDateTime when = QDateTime::currentDateTime();
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("project.json"));
    writeFile(first, "first");
    const auto movedFirst = AutosaveFile::moveAside(first, when);
    writeFile(first, "second");
    const auto movedSecond = AutosaveFile::moveAside(first, when);
    ASSERT_TRUE(movedFirst && movedSecond);
    EXPECT_NE(*movedFirst, *movedSecond);
    EXPECT_EQ(readFile(*movedFirst), QByteArray("first"));
    EXPECT_EQ(readFile(*movedSecond), QByteArray("second"));
    EXPECT_FALSE(QFile::exists(first));
}

TEST_F(ProjectTest, TenEditsInABurstGiveOneAutosaveAfterTheLast) {
    PollerModel& m = makeModel();
    QSignalSpy writes(&m, &PollerModel::autosaveWritten);
    for (int i = 1; i <= 10; ++i) {
        m.setHost(QStringLiteral("10.0.0.%1").arg(i));
    }
    EXPECT_TRUE(m.autosavePending());
    EXPECT_FALSE(QFile::exists(autosaveFile()));

    ASSERT_TRUE(writes.wait(10'000));
    EXPECT_EQ(writes.count(), 1);
    EXPECT_FALSE(m.autosavePending());
    EXPECT_EQ(decodeFile(autosaveFile()).host, "10.0.0.10");
}

TEST_F(ProjectTest, NewProjectKeepsTheConnectionAndAsksBeforeReplacing) {
    struct Row {
        const char* name;
        std::vector<AlertResponse> alerts;
        std::optional<QString> savePanel;  // answered only after "Save…"
        bool replaced;
    };
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("before.json"));
    const std::vector<Row> rows{
        {"Don't Save", {AlertResponse::second}, std::nullopt, true},
        {"Cancel", {AlertResponse::third}, std::nullopt, false},
        {"Save… then cancel the panel", {AlertResponse::first}, std::nullopt, false},
        {"Save… to a file", {AlertResponse::first}, saved, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QDir(dataFolder()).removeRecursively();
        PollerModel& m = makeModel();
        m.apply(projectWith({pollWith({holdingRegister(1)}), pollWith({})}));
        m.setPortText(QStringLiteral("12a"));
        m.setHost(QStringLiteral("  plc.local "));
        const PollerProject before = m.makeProject();
        for (const AlertResponse answer : row.alerts) {
            services.answerAlert(answer);
        }
        if (!row.alerts.empty() && row.alerts.front() == AlertResponse::first) {
            services.answerSavePanel(row.savePanel);
        }
        services.alerts.clear();

        m.newProject();

        ASSERT_EQ(services.alerts.size(), 1U);
        EXPECT_EQ(services.alerts.front(),
                  (AlertRequest{
                      QStringLiteral("Save the current project?"),
                      QStringLiteral("The current datapoint list will be replaced. Save it first if you "
                                     "want to use it later."),
                      {QStringLiteral("Save…"), QStringLiteral("Don't Save"), QStringLiteral("Cancel")}}));
        if (row.replaced) {
            ASSERT_EQ(m.polls().size(), 1U);
            EXPECT_EQ(m.polls().front().name, "Poll 1");
            EXPECT_TRUE(m.polls().front().datapoints.empty());
            EXPECT_EQ(m.selectedPollID(), m.polls().front().id);
            EXPECT_EQ(m.portText(), QStringLiteral("502"));
            EXPECT_EQ(m.host(), QStringLiteral("plc.local"));
            EXPECT_EQ(m.framing(), TCPFraming::rtuOverTCP);
            EXPECT_EQ(m.timeoutMs(), 2000);
            EXPECT_EQ(m.writeMode(), WriteMode::multiple);
            EXPECT_EQ(m.maxGap(), 4);
        } else {
            EXPECT_EQ(m.makeProject(), before);
        }
        if (row.savePanel) {
            EXPECT_EQ(decodeFile(*row.savePanel), before);
        }
        model.reset();
    }
}

TEST_F(ProjectTest, ReplacingAListWithoutDatapointsAsksNothing) {
    PollerModel& m = makeModel();
    m.apply(projectWith({pollWith({}), pollWith({})}));
    EXPECT_TRUE(m.confirmReplacingList());
    EXPECT_TRUE(services.alerts.empty());
}

TEST_F(ProjectTest, OpeningAFileThatIsNoProjectLeavesTheModelAsItWas) {
    QTemporaryDir dir;
    struct Row {
        const char* file;
        QByteArray contents;
    };
    const std::vector<Row> rows{
        {"empty.json", "{}"},
        {"broken.json", "{\"polls\": [{\"intervalMs\": \"fast\"}]}"},
        {"absent.json", {}},
    };
    PollerModel& m = makeModel();
    m.apply(projectWith({pollWith({}, "Mine")}));
    const PollerProject before = m.makeProject();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        const QString path = dir.filePath(QString::fromLatin1(row.file));
        if (!row.contents.isNull()) {
            writeFile(path, row.contents);
        }
        services.answerOpenPanel(path);
        m.setErrorMessage(std::nullopt);
        m.openProject();
        EXPECT_EQ(
            m.errorMessage(),
            QStringLiteral("Cannot read %1. Is it a file of this app?").arg(QString::fromLatin1(row.file)));
        EXPECT_EQ(m.makeProject(), before);
    }
    ASSERT_FALSE(services.openPanels.empty());
    EXPECT_EQ(services.openPanels.front().allowedTypes, std::vector<FileType>{FileType::json});
}

TEST_F(ProjectTest, OpeningAProjectAppliesIt) {
    QTemporaryDir dir;
    PollerProject stored = projectWith({pollWith({holdingRegister(3)}, "A"), pollWith({}, "B")});
    stored.timeoutMs = 300;
    const QString path = dir.filePath(QStringLiteral("plant.json"));
    writeFile(path, documentOf(stored));

    PollerModel& m = makeModel();
    services.answerAlert(AlertResponse::second);
    services.answerOpenPanel(path);
    QSignalSpy history(&m, &PollerModel::historyVersionChanged);
    m.openProject();

    EXPECT_EQ(m.polls(), stored.polls);
    EXPECT_EQ(m.selectedPollID(), stored.polls.front().id);
    EXPECT_EQ(m.timeoutMs(), 1000);
    EXPECT_EQ(m.historyVersion(), 1);
    EXPECT_EQ(history.count(), 1);
    EXPECT_TRUE(m.autosavePending());
    EXPECT_FALSE(m.errorMessage());

    services.answerAlert(AlertResponse::second);
    services.answerOpenPanel(std::nullopt);
    m.openProject();
    EXPECT_EQ(m.polls(), stored.polls);
}

TEST_F(ProjectTest, SaveProjectAsWritesTheProjectOrSaysWhyNot) {
    QTemporaryDir dir;
    PollerModel& m = makeModel();
    m.setHost(QStringLiteral(" 10.1.1.1 "));

    services.answerSavePanel(dir.filePath(QStringLiteral("saved.json")));
    EXPECT_TRUE(m.saveProjectAs());
    EXPECT_EQ(services.savePanels.back(),
              (SavePanelRequest{FileType::json, QStringLiteral("tessarin.json")}));
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("saved.json"))), documentOf(m.makeProject()));
    EXPECT_EQ(decodeFile(dir.filePath(QStringLiteral("saved.json"))).host, "10.1.1.1");

    services.answerSavePanel(std::nullopt);
    EXPECT_FALSE(m.saveProjectAs());
    EXPECT_FALSE(m.errorMessage());

    services.answerSavePanel(dir.filePath(QStringLiteral("missing/folder/saved.json")));
    EXPECT_FALSE(m.saveProjectAs());
    ASSERT_TRUE(m.errorMessage());
    EXPECT_TRUE(m.errorMessage()->startsWith(QStringLiteral("Saving failed: ")))
        << m.errorMessage()->toStdString();
    EXPECT_GT(m.errorMessage()->size(), QStringLiteral("Saving failed: ").size());
}

TEST_F(ProjectTest, QuittingWhileReadingStopsAndWritesTheAutosaveAtOnce) {
    const ClosedPort device;
    PollerModel& m = makeModel();
    m.setPortText(QString::number(device.port()));
    m.start();
    ASSERT_EQ(m.state(), PollerState::connecting);
    m.setHost(QStringLiteral("127.0.0.1 "));
    ASSERT_TRUE(m.autosavePending());

    m.prepareForQuit();

    EXPECT_EQ(m.state(), PollerState::stopped);
    EXPECT_FALSE(m.autosavePending());
    const PollerProject written = decodeFile(autosaveFile());
    EXPECT_EQ(written.port, device.port());
    EXPECT_EQ(written.host, "127.0.0.1");
}

}  // namespace
}  // namespace tessarin::test
