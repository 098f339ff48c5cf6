#include "ModelFixture.hpp"

#include "PollerCore/ReadPlanner.hpp"

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

// A project unlike the example in every setting, with a time-out the app does not offer.
PollerProject projectWith(std::vector<Poll> polls) {
    return {.host = "10.0.0.7",
            .port = 1502,
            .framing = TCPFraming::rtuOverTCP,
            .timeoutMs = 300,
            .writeMode = WriteMode::multiple,
            .maxGap = 4,
            .polls = std::move(polls)};
}

TEST_F(ProjectTest, TheFirstStartBuildsTheExampleProject) {
    PollerModel& m = makeModel();
    EXPECT_EQ(m.makeProject(), (PollerProject{.polls = m.polls()}));
    ASSERT_EQ(m.polls().size(), 1U);
    const Poll& poll = m.polls().front();
    EXPECT_EQ(m.selectedPollID(), poll.id);
    EXPECT_EQ(ReadPlanner::blocks(poll.datapoints, 0, TCPFraming::modbusTCP).size(), 4U)
        << "every datapoint is readable";
    EXPECT_EQ(poll.plotted, std::set<Uuid>{poll.datapoints.front().id});
    // Loading is not an edit.
    EXPECT_FALSE(m.autosavePending());
    EXPECT_FALSE(QFile::exists(autosaveFile()));
}

TEST_F(ProjectTest, AStoredProjectLoadsWithItsTimeoutNormalisedFromTheAutosaveOrAFile) {
    PollerProject stored = projectWith({pollWith({holdingRegister(7)}, "Boiler")});
    QByteArray text = documentOf(stored);
    text.replace("\"version\": 1", "\"version\": 7");
    writeFile(autosaveFile(), text);

    PollerModel& m = makeModel();
    stored.timeoutMs = 1000;
    EXPECT_EQ(m.makeProject(), stored);
    EXPECT_EQ(m.selectedPollID(), stored.polls.front().id);
    m.autosaveNow();
    EXPECT_EQ(readFile(autosaveFile()), documentOf(stored)) << "version 1 and the normalised time-out";

    // Opening a file goes the same way, as one change of the project.
    QTemporaryDir dir;
    PollerProject opened = projectWith({pollWith({holdingRegister(3)}, "A"), pollWith({}, "B")});
    const QString path = dir.filePath(QStringLiteral("plant.json"));
    writeFile(path, documentOf(opened));

    services.answerAlert(AlertResponse::second);
    services.answerOpenPanel(path);
    QSignalSpy history(&m, &PollerModel::historyVersionChanged);
    m.openProject();

    opened.timeoutMs = 1000;
    EXPECT_EQ(m.makeProject(), opened);
    EXPECT_EQ(m.selectedPollID(), opened.polls.front().id);
    EXPECT_EQ(history.count(), 1);
    EXPECT_TRUE(m.autosavePending());
    EXPECT_FALSE(m.errorMessage());
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
        ASSERT_EQ(kept.size(), row.unreadable ? 1 : 0);
        if (row.unreadable) {
            EXPECT_TRUE(
                QRegularExpression(QStringLiteral(R"(^project-unreadable-\d{4}-\d\d-\d\dT\d{6}\.json$)"))
                    .match(kept.front())
                    .hasMatch())
                << kept.front().toStdString();
            EXPECT_EQ(readFile(dataFolder() + u'/' + kept.front()), row.contents);
        }
        // Only the first autosave keeps the old file.
        m.setHost(QStringLiteral("192.168.1.21"));
        m.autosaveNow();
        EXPECT_EQ(QDir(dataFolder()).entryList(QDir::Files).size(), row.unreadable ? 2 : 1);
    }
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
        AlertResponse answer;
        std::optional<QString> savePanel;  // asked only after "Save…"
        bool replaced;
    };
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("before.json"));
    const std::vector<Row> rows{
        {"Don't Save", AlertResponse::second, std::nullopt, true},
        {"Cancel", AlertResponse::third, std::nullopt, false},
        {"Save… then cancel the panel", AlertResponse::first, std::nullopt, false},
        {"Save… to a file", AlertResponse::first, saved, true},
    };
    PollerModel& m = makeModel();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        m.apply(projectWith({pollWith({holdingRegister(1)}), pollWith({})}));
        m.setPortText(QStringLiteral("12a"));
        m.setHost(QStringLiteral("  plc.local "));
        const PollerProject before = m.makeProject();
        services.answerAlert(row.answer);
        if (row.answer == AlertResponse::first) {
            services.answerSavePanel(row.savePanel);
        }
        services.alerts.clear();

        m.newProject();

        ASSERT_EQ(services.alerts.size(), 1U);
        EXPECT_EQ(services.alerts.front().message, QStringLiteral("Save the current project?"));
        PollerProject expected = before;
        if (row.replaced) {
            ASSERT_EQ(m.polls().size(), 1U);
            EXPECT_EQ(m.polls().front().name, "Poll 1");
            EXPECT_TRUE(m.polls().front().datapoints.empty());
            EXPECT_EQ(m.selectedPollID(), m.polls().front().id);
            EXPECT_EQ(m.portText(), QStringLiteral("502"));
            expected.polls = m.polls();
        }
        EXPECT_EQ(m.makeProject(), expected);
        if (row.savePanel) {
            EXPECT_EQ(decodeFile(*row.savePanel), before);
        }
    }
    m.apply(projectWith({pollWith({}), pollWith({})}));
    EXPECT_TRUE(m.confirmReplacingList()) << "a list without datapoints is replaced without asking";
}

TEST_F(ProjectTest, OpeningAFileThatIsNoProjectLeavesTheModelAsItWas) {
    QTemporaryDir dir;
    PollerModel& m = makeModel();
    m.apply(projectWith({pollWith({}, "Mine")}));
    const PollerProject before = m.makeProject();
    for (const auto& [file, contents] :
         {std::pair{"empty.json", QByteArray("{}")},
          std::pair{"broken.json", QByteArray("{\"polls\": [{\"intervalMs\": \"fast\"}]}")},
          std::pair{"absent.json", QByteArray()}}) {
        SCOPED_TRACE(file);
        const QString path = dir.filePath(QString::fromLatin1(file));
        if (!contents.isNull()) {
            writeFile(path, contents);
        }
        services.answerOpenPanel(path);
        m.setErrorMessage(std::nullopt);
        m.openProject();
        EXPECT_EQ(m.errorMessage(),
                  QStringLiteral("Cannot read %1. Is it a file of this app?").arg(QString::fromLatin1(file)));
        EXPECT_EQ(m.makeProject(), before);
    }
    EXPECT_EQ(services.openPanels.front().allowedTypes, std::vector<FileType>{FileType::json});
}

TEST_F(ProjectTest, SaveProjectAsWritesTheProjectOrSaysWhyNot) {
    QTemporaryDir dir;
    PollerModel& m = makeModel();
    m.setHost(QStringLiteral(" 10.1.1.1 "));
    services.answerSavePanel(dir.filePath(QStringLiteral("saved.json")));
    services.answerSavePanel(std::nullopt);
    services.answerSavePanel(dir.filePath(QStringLiteral("missing/folder/saved.json")));

    EXPECT_TRUE(m.saveProjectAs());
    EXPECT_EQ(services.savePanels.back(),
              (SavePanelRequest{FileType::json, QStringLiteral("tessarin.json")}));
    EXPECT_EQ(decodeFile(dir.filePath(QStringLiteral("saved.json"))), m.makeProject());
    EXPECT_FALSE(m.saveProjectAs());
    EXPECT_FALSE(m.errorMessage()) << "cancelled";
    EXPECT_FALSE(m.saveProjectAs());
    ASSERT_TRUE(m.errorMessage());
    EXPECT_TRUE(m.errorMessage()->startsWith(QStringLiteral("Saving failed: ")))
        << m.errorMessage()->toStdString();
    EXPECT_GT(m.errorMessage()->size(), QStringLiteral("Saving failed: ").size());
}

TEST_F(ProjectTest, QuittingWhileReadingStopsAndWritesTheAutosaveAtOnce) {
    PollerModel& m = startReading();
    m.setHost(QStringLiteral("127.0.0.1 "));
    ASSERT_TRUE(m.autosavePending());

    m.prepareForQuit();

    EXPECT_EQ(m.state(), PollerState::stopped);
    EXPECT_FALSE(m.autosavePending());
    const PollerProject written = decodeFile(autosaveFile());
    EXPECT_EQ(written.port, refusing.port());
    EXPECT_EQ(written.host, "127.0.0.1");
}

}  // namespace
}  // namespace tessarin::test
