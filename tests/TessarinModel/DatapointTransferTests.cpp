#include "TessarinModel/DatapointTransfer.hpp"

#include "ModelFixture.hpp"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace tessarin::test {
namespace {

Datapoint hr(std::uint16_t address, std::string name, double stored = 0) {
    Datapoint p;
    p.name = std::move(name);
    p.address = address;
    p.value = stored;
    return p;
}

std::vector<std::string> names(const Poll& poll) {
    std::vector<std::string> out;
    for (const Datapoint& p : poll.datapoints) out.push_back(p.name);
    return out;
}

class DatapointTransferTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        poll.name = "Boiler";
        poll.datapoints = {hr(0, "kept")};
        poll.plotted = {poll.datapoints[0].id};
    }

    // Opens a file holding bytes in the panel and answers the question, if one is asked.
    std::expected<bool, QString> importBytes(const QByteArray& bytes, std::optional<AlertResponse> answer) {
        const QString path = folder.filePath(QStringLiteral("list.csv"));
        ModelFixture::writeFile(path, bytes);
        services.answerOpenPanel(path);
        if (answer) services.answerAlert(*answer);
        return importChosen();
    }

    std::expected<bool, QString> importChosen() {
        auto choice = DatapointTransfer::askImport(services);
        if (!choice) return std::unexpected(choice.error());
        if (!*choice) return false;
        DatapointTransfer::applyImport(poll, std::move(**choice));
        return true;
    }

    QTemporaryDir folder;
    ScriptedDesktopServices services;
    Poll poll;
};

TEST_F(DatapointTransferTest, TwelveBadLinesAreCountedAndTheFirstFiveListed) {
    QByteArray file = "Name,Table,Address\r\nfirst,HR,0\r\n";
    for (int i = 1; i <= 12; ++i) file += QByteArray("bad,XX,") + QByteArray::number(i) + "\r\n";
    EXPECT_EQ(importBytes(file + "second,IR,7\r\n", AlertResponse::first), true);

    EXPECT_EQ(services.openPanels.at(0).allowedTypes,
              (std::vector{FileType::commaSeparatedText, FileType::plainText, FileType::tabSeparatedText}));
    const AlertRequest& alert = services.alerts.at(0);
    EXPECT_EQ(alert.message, QStringLiteral("2 datapoints found"));
    QStringList expected{QStringLiteral("Do you want to add them to the current list, or replace the list?"),
                         QString(), QStringLiteral("12 lines skipped:")};
    for (int line = 3; line <= 7; ++line) {
        expected << QStringLiteral("Line %1: unknown table 'XX' (use CO, DI, HR or IR)").arg(line);
    }
    EXPECT_EQ(alert.informativeText.split(u'\n'), expected);
    EXPECT_EQ(alert.buttons,
              (std::vector{QStringLiteral("Add"), QStringLiteral("Replace"), QStringLiteral("Cancel")}));
    // Add keeps the list and what it plots, and appends in file order.
    EXPECT_EQ(names(poll), (std::vector<std::string>{"kept", "first", "second"}));
    EXPECT_EQ(poll.plotted.size(), 1u);
}

TEST_F(DatapointTransferTest, CancelLeavesThePollAsItWas) {
    const Poll before = poll;
    EXPECT_EQ(importBytes("Table,Address\nHR,5\n", AlertResponse::third), false);
    EXPECT_EQ(poll, before);
    EXPECT_EQ(services.alerts.back().message, QStringLiteral("1 datapoint found"));
    EXPECT_FALSE(services.alerts.back().informativeText.contains(u'\n'));
}

TEST_F(DatapointTransferTest, FilesWithoutDatapointsEndTheMessageWithTheFirstProblem) {
    const Poll before = poll;
    const QString nothing = QStringLiteral(
        "No datapoints found in this file. The first line must hold column names, with at least Table and "
        "Address. ");
    const std::pair<QByteArray, QString> cases[] = {
        {"Table,Address\nXX,1\nHR,x\n", QStringLiteral("Line 2: unknown table 'XX' (use CO, DI, HR or IR)")},
        {"Table,Address\r\n", QString()},
    };
    for (const auto& [bytes, details] : cases) {
        EXPECT_EQ(importBytes(bytes, std::nullopt), std::unexpected(nothing + details));
    }
    services.answerOpenPanel(folder.filePath(QStringLiteral("gone.csv")));
    EXPECT_EQ(importChosen(),
              std::unexpected(QStringLiteral("Cannot read gone.csv. Is it a file of this app?")));
    EXPECT_TRUE(services.alerts.empty());
    EXPECT_EQ(poll, before);
}

TEST_F(DatapointTransferTest, ReadsWindows1252WhenTheFileIsNotUtf8) {
    EXPECT_EQ(DatapointTransfer::utf8FromFileBytes("Temperatur \xC2\xB0"
                                                   "C"),
              "Temperatur °C");
    EXPECT_EQ(DatapointTransfer::utf8FromFileBytes("end \xC3"), "end Ã");  // a sequence cut short
    // A Windows spreadsheet's euro, quotes and dash; a byte the code page leaves undefined.
    EXPECT_EQ(DatapointTransfer::utf8FromFileBytes("\x80 5 \x93x\x94 \x96 \x81"), "€ 5 “x” – \uFFFD");
    importBytes(
        "Name,Table,Address,Unit\nTemp\xE9rature,IR,0,\xB0"
        "C\n",
        AlertResponse::second);
    EXPECT_EQ(poll.datapoints.at(0).name, "Température");
    EXPECT_EQ(poll.datapoints.at(0).engineeringUnit, "°C");
}

TEST_F(DatapointTransferTest, ExportCarriesLiveValuesOnlyWhereAValueWasRead) {
    poll.datapoints = {hr(0, "read", 1), hr(1, "failed after a read", 2), hr(2, "failed only", 3),
                       hr(3, "never read", 4)};
    std::unordered_map<Uuid, PointStatus> status;
    status[poll.datapoints[0].id].value = 21.5;
    status[poll.datapoints[1].id].value = -7;
    status[poll.datapoints[1].id].failure = PollFailure::timeout();
    status[poll.datapoints[2].id].failure = PollFailure::timeout();
    std::vector<double> values;
    for (const Datapoint& p : DatapointTransfer::withLiveValues(poll, status)) values.push_back(p.value);
    EXPECT_EQ(values, (std::vector<double>{21.5, -7, 3, 4}));

    const auto failure = DatapointTransfer::writeExport(folder.filePath(QStringLiteral("missing/out.csv")),
                                                        poll, status, {',', false});
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->startsWith(QStringLiteral("Saving failed: ")));
}

TEST_F(DatapointTransferTest, ProposedNameIsThePollsAndNeverAPath) {
    for (const auto& [name, proposed] : {std::pair{"Boiler", "Boiler.csv"}, std::pair{"", "datapoints.csv"},
                                         std::pair{"Pump 1/2", "Pump 1-2.csv"}}) {
        poll.name = name;
        EXPECT_EQ(DatapointTransfer::proposedFileName(poll), QString::fromUtf8(proposed)) << name;
    }
}

}  // namespace
}  // namespace tessarin::test
