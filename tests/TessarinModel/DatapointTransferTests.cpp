#include "TessarinModel/DatapointTransfer.hpp"

#include "GuiTestApp.hpp"
#include "ScriptedDesktopServices.hpp"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace tessarin {
namespace {

Poll pollOf(std::string name, std::vector<Datapoint> datapoints = {})
{
    Poll poll;
    poll.name = std::move(name);
    poll.datapoints = std::move(datapoints);
    return poll;
}

const DatapointCSV::Dialect commaDialect{',', false};

Datapoint hr(std::uint16_t address, std::string name, double stored = 0)
{
    Datapoint p;
    p.name = std::move(name);
    p.address = address;
    p.value = stored;
    return p;
}

std::vector<std::string> names(const std::vector<Datapoint>& points)
{
    std::vector<std::string> out;
    for (const Datapoint& p : points) out.push_back(p.name);
    return out;
}

class DatapointTransferTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensureGuiApp(); }

    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    // Opens the file in the panel and answers the question, if one is asked, with answer.
    std::expected<bool, QString> importFile(const QString& path, std::optional<AlertResponse> answer)
    {
        services.answerOpenPanel(path);
        if (answer) services.answerAlert(*answer);
        return DatapointTransfer::importInto(services, poll);
    }

    QTemporaryDir folder;
    test::ScriptedDesktopServices services;
    Poll poll = pollOf("Boiler", {hr(0, "kept")});
};

// Two good rows around twelve bad ones, each bad in its own way.
const QByteArray twelveBadLines =
    "Name,Table,Address,Data type,Scale\r\n"
    "first,HR,0,uint16,1\r\n"      // line 2
    "b1,XX,1,uint16,1\r\n"         // 3: table
    "b2,HR,70000,uint16,1\r\n"     // 4: address
    "b3,HR,-1,uint16,1\r\n"        // 5
    "b4,CO,1,float32,1\r\n"        // 6: type not allowed for coils
    "b5,HR,1,int12,1\r\n"          // 7: unknown type
    "b6,HR,1,uint16,0\r\n"         // 8: scale 0
    "b7,HR,1,uint16,abc\r\n"       // 9
    "b8,,1,uint16,1\r\n"           // 10
    "b9,HR,,uint16,1\r\n"          // 11
    "b10,IR,1.5,uint16,1\r\n"      // 12
    "b11,Q,1,uint16,1\r\n"         // 13
    "b12,DI,65536,bool,1\r\n"      // 14
    "second,IR,7,float32,0.5\r\n";  // 15

TEST_F(DatapointTransferTest, TwelveBadLinesAreCountedAndTheFirstFiveListed)
{
    const auto changed = importFile(writeFile(QStringLiteral("mixed.csv"), twelveBadLines), AlertResponse::first);
    ASSERT_TRUE(changed);
    EXPECT_TRUE(*changed);

    ASSERT_EQ(services.openPanels.size(), 1u);
    EXPECT_EQ(services.openPanels[0].allowedTypes,
              (std::vector{FileType::commaSeparatedText, FileType::plainText, FileType::tabSeparatedText}));
    ASSERT_EQ(services.alerts.size(), 1u);
    const AlertRequest& alert = services.alerts[0];
    EXPECT_EQ(alert.message, QStringLiteral("2 datapoints found"));
    const QStringList lines = alert.informativeText.split(u'\n');
    ASSERT_EQ(lines.size(), 8) << alert.informativeText.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Do you want to add them to the current list, or replace the list?"));
    EXPECT_EQ(lines[1], QString());
    EXPECT_EQ(lines[2], QStringLiteral("12 line(s) skipped:"));
    EXPECT_EQ(lines[3], QStringLiteral("Line 3: unknown table 'XX' (use CO, DI, HR or IR)"));
    EXPECT_EQ(lines[4], QStringLiteral("Line 4: invalid address '70000' (0 to 65535)"));
    for (int i = 5; i < 8; ++i) {
        EXPECT_TRUE(lines[i].startsWith(QStringLiteral("Line %1: ").arg(i))) << lines[i].toStdString();
    }
    EXPECT_EQ(alert.buttons, (std::vector{QStringLiteral("Add"), QStringLiteral("Replace"), QStringLiteral("Cancel")}));

    // Add keeps what was there and appends in file order.
    EXPECT_EQ(names(poll.datapoints), (std::vector<std::string>{"kept", "first", "second"}));
    EXPECT_EQ(poll.datapoints[2].scale, 0.5);
}

TEST_F(DatapointTransferTest, ReplaceEmptiesTheChartSetAndCancelChangesNothing)
{
    const QString path = writeFile(QStringLiteral("one.csv"), "Table,Address\nHR,5\n");
    poll.plotted = {poll.datapoints[0].id};
    const Poll before = poll;

    EXPECT_EQ(importFile(path, AlertResponse::third), false);
    EXPECT_EQ(poll, before);
    EXPECT_EQ(services.alerts.back().message, QStringLiteral("1 datapoint found"));
    EXPECT_EQ(services.alerts.back().informativeText,
              QStringLiteral("Do you want to add them to the current list, or replace the list?"));

    EXPECT_EQ(importFile(path, AlertResponse::second), true);
    ASSERT_EQ(poll.datapoints.size(), 1u);
    EXPECT_EQ(poll.datapoints[0].address, 5);
    EXPECT_TRUE(poll.plotted.empty());

    services.answerOpenPanel(std::nullopt);
    EXPECT_EQ(DatapointTransfer::importInto(services, poll), false);
}

TEST_F(DatapointTransferTest, FilesWithoutDatapointsEndTheMessageWithTheFirstProblem)
{
    const Poll before = poll;
    const QString prefix = QStringLiteral(
        "No datapoints found in this file. The first line must hold column names, with at least Table and "
        "Address. ");
    struct Row {
        const char* what;
        QByteArray bytes;
        QString details;
    };
    const Row rows[] = {
        {"every line bad", "Table,Address\nXX,1\nHR,x\n",
         QStringLiteral("Line 2: unknown table 'XX' (use CO, DI, HR or IR)")},
        {"header only", "Table,Address\r\n", QString()},
        {"no table column", "Name,Address\nA,1\n", QStringLiteral("Line 1: ")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto result = importFile(writeFile(QStringLiteral("bad.csv"), row.bytes), std::nullopt);
        ASSERT_FALSE(result);
        EXPECT_TRUE(result.error().startsWith(prefix + row.details)) << result.error().toStdString();
        if (row.details.isEmpty()) {
            EXPECT_EQ(result.error(), prefix);
        }
    }
    EXPECT_TRUE(services.alerts.empty());
    EXPECT_EQ(poll, before);

    const auto missing = importFile(folder.filePath(QStringLiteral("gone.csv")), std::nullopt);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error(), QStringLiteral("Cannot read gone.csv. Is it a file of this app?"));
}

TEST_F(DatapointTransferTest, ReadsLatin1WhenTheFileIsNotUtf8)
{
    EXPECT_EQ(DatapointTransfer::utf8FromFileBytes("Temp\xE9rature \xB0" "C"), "Température °C");
    EXPECT_EQ(DatapointTransfer::utf8FromFileBytes("Temperatur \xC2\xB0" "C"), "Temperatur °C");
    // A UTF-8 sequence cut short is not UTF-8.
    EXPECT_EQ(DatapointTransfer::utf8FromFileBytes("end \xC3"), "end Ã");

    importFile(writeFile(QStringLiteral("latin1.csv"), "Name,Table,Address,Unit\nTemp\xE9rature,IR,0,\xB0" "C\n"),
               AlertResponse::second);
    ASSERT_EQ(poll.datapoints.size(), 1u);
    EXPECT_EQ(poll.datapoints[0].name, "Température");
    EXPECT_EQ(poll.datapoints[0].engineeringUnit, "°C");
}

TEST_F(DatapointTransferTest, ExportCarriesLiveValuesWhereThereAreAny)
{
    poll.datapoints = {hr(0, "read", 1), hr(1, "failed after a read", 2), hr(2, "failed only", 3),
                       hr(3, "never read", 4)};
    std::unordered_map<Uuid, PointStatus> status;
    const PollFailure timeout = PollFailure::timeout();
    status[poll.datapoints[0].id].value = 21.5;
    status[poll.datapoints[1].id].value = -7;
    status[poll.datapoints[1].id].failure = timeout;
    status[poll.datapoints[2].id].failure = timeout;

    const QString path = folder.filePath(QStringLiteral("out.csv"));
    services.answerSavePanel(path);
    EXPECT_EQ(DatapointTransfer::exportPoll(services, poll, status, commaDialect), std::nullopt);
    ASSERT_EQ(services.savePanels.size(), 1u);
    EXPECT_EQ(services.savePanels[0], (SavePanelRequest{FileType::commaSeparatedText, QStringLiteral("Boiler.csv")}));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    const DatapointCSV::ImportResult back = DatapointCSV::parse(written.toStdString());
    ASSERT_EQ(back.datapoints.size(), 4u);
    std::vector<double> values;
    for (const Datapoint& p : back.datapoints) values.push_back(p.value);
    EXPECT_EQ(values, (std::vector<double>{21.5, -7, 3, 4}));
    EXPECT_EQ(poll.datapoints[0].value, 1) << "the project keeps its stored value";

    services.answerSavePanel(std::nullopt);
    EXPECT_EQ(DatapointTransfer::exportPoll(services, poll, status, commaDialect), std::nullopt);
    services.answerSavePanel(folder.filePath(QStringLiteral("missing/out.csv")));
    const auto failure = DatapointTransfer::exportPoll(services, poll, status, commaDialect);
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->startsWith(QStringLiteral("Saving failed: ")));
}

TEST_F(DatapointTransferTest, ProposedNameIsThePollsAndNeverAPath)
{
    const std::pair<std::string, QString> rows[] = {
        {"Boiler", QStringLiteral("Boiler.csv")},
        {"", QStringLiteral("datapoints.csv")},
        {"Pump 1/2", QStringLiteral("Pump 1-2.csv")},
        {"..\\up", QStringLiteral("..-up.csv")},
    };
    for (const auto& [name, proposed] : rows) {
        EXPECT_EQ(DatapointTransfer::proposedFileName(pollOf(name)), proposed) << name;
    }
}

}  // namespace
}  // namespace tessarin
