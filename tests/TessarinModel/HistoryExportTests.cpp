#include "TessarinModel/HistoryExport.hpp"

#include "GuiTestApp.hpp"
#include "ScriptedDesktopServices.hpp"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cmath>
#include <limits>

namespace tessarin {
namespace {

Poll pollOf(std::string name, std::vector<Datapoint> datapoints = {})
{
    Poll poll;
    poll.name = std::move(name);
    poll.datapoints = std::move(datapoints);
    return poll;
}

using std::chrono::milliseconds;
using TimePoint = std::chrono::system_clock::time_point;

const DatapointCSV::Dialect commaDialect{',', false};
const DatapointCSV::Dialect semicolonDialect{';', true};

constexpr std::string_view header = "\xEF\xBB\xBFTime,Poll,Name,Value,Unit\r\n";

TimePoint at(long long ms)
{
    return TimePoint(milliseconds(ms));
}

// The local time as Qt writes it, which the export must agree with.
std::string qtLocalTime(long long ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toStdString();
}

Datapoint datapoint(std::string name, std::uint16_t address = 0, std::string unit = {})
{
    Datapoint point;
    point.name = std::move(name);
    point.address = address;
    point.engineeringUnit = std::move(unit);
    return point;
}

class HistoryExportTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensureGuiApp(); }
};

TEST_F(HistoryExportTest, QuotesFieldsThatWouldBreakARow)
{
    struct Row {
        std::string_view text;
        char separator;
        std::string_view written;
    };
    const Row rows[] = {
        {"Flow", ',', "Flow"},
        {"", ',', ""},
        {"a,b", ',', "\"a,b\""},
        {"a;b", ';', "\"a;b\""},
        {"a,b", ';', "a,b"},
        {"a;b", ',', "a;b"},
        {"say \"hi\"", ';', "\"say \"\"hi\"\"\""},
        {"two\nlines", ',', "\"two\nlines\""},
        {"carriage\rreturn", ',', "\"carriage\rreturn\""},
        {"crlf\r\n", ';', "\"crlf\r\n\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(HistoryExport::field(row.text, row.separator), row.written);
    }
}

TEST_F(HistoryExportTest, WritesWholeNumbersAsIntegersAndOthersAsTheDoublesOwnText)
{
    struct Row {
        double value;
        bool decimalComma;
        std::string_view written;
    };
    const Row rows[] = {
        {215, false, "215"},
        {-3, true, "-3"},
        {-0.0, false, "0"},
        {999'999'999'999'999, false, "999999999999999"},
        {1e15, false, "1e+15"},
        {-1e15, true, "-1e+15"},
        {1.5e300, true, "1,5e+300"},
        {21.5, false, "21.5"},
        {21.5, true, "21,5"},
        {0.1 + 0.2, false, "0.30000000000000004"},
        {123456789012345.6, true, "123456789012345,6"},
        {0.0001, false, "0.0001"},
        {0.00001, false, "1e-05"},
        {std::numeric_limits<double>::quiet_NaN(), false, "nan"},
        {-std::numeric_limits<double>::infinity(), false, "-inf"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.written);
        EXPECT_EQ(HistoryExport::valueText(row.value, row.decimalComma), row.written);
    }
}

TEST_F(HistoryExportTest, TimesAreLocalWithMilliseconds)
{
    // Across a second, a day, and before 1970 where division rounds the wrong way.
    for (const long long ms : {0LL, 999LL, 1000LL, 1'741'943'702'123LL, 1'741'996'799'999LL, -1LL, -86'400'001LL}) {
        SCOPED_TRACE(ms);
        EXPECT_EQ(HistoryExport::timeText(at(ms)), qtLocalTime(ms));
    }
}

TEST_F(HistoryExportTest, WithoutSamplesTheFileIsTheHeaderAlone)
{
    const std::vector<Poll> polls{pollOf("P", {datapoint("A")})};
    EXPECT_EQ(HistoryExport::text(polls, ValueHistory(), commaDialect), header);
}

TEST_F(HistoryExportTest, RowsAreInTimeOrderAndEqualTimesKeepPollAndTableOrder)
{
    Poll first = pollOf("Boiler", {datapoint("Temp", 0, "°C"), datapoint("", 12)});
    Poll second = pollOf("Pump", {datapoint("Speed")});
    ValueHistory history;
    // Recorded out of poll order: the second poll's datapoint first.
    history.record(second.datapoints[0].id, {at(1000), 3});
    history.record(first.datapoints[1].id, {at(1000), 2});
    history.record(first.datapoints[0].id, {at(1000), 1});
    history.record(second.datapoints[0].id, {at(500), 4});
    history.record(first.datapoints[0].id, {at(2000), 5.25});

    const std::string expected = std::string(header) +                              //
                                 qtLocalTime(500) + ",Pump,Speed,4,\r\n" +         //
                                 qtLocalTime(1000) + ",Boiler,Temp,1,°C\r\n" +     //
                                 qtLocalTime(1000) + ",Boiler,HR 12,2,\r\n" +      //
                                 qtLocalTime(1000) + ",Pump,Speed,3,\r\n" +        //
                                 qtLocalTime(2000) + ",Boiler,Temp,5.25,°C\r\n";
    EXPECT_EQ(HistoryExport::text(std::vector{first, second}, history, commaDialect), expected);
}

TEST_F(HistoryExportTest, SemicolonDialectWritesDecimalCommasAndQuotesSemicolons)
{
    Poll poll = pollOf("Hall; east", {datapoint("Temp \"in\"", 0, "°C")});
    ValueHistory history;
    history.record(poll.datapoints[0].id, {at(0), 21.5});
    EXPECT_EQ(HistoryExport::text(std::vector{poll}, history, semicolonDialect),
              "\xEF\xBB\xBFTime;Poll;Name;Value;Unit\r\n" + qtLocalTime(0) +
                  ";\"Hall; east\";\"Temp \"\"in\"\"\";21,5;°C\r\n");
}

TEST_F(HistoryExportTest, TheCommandProposesADatedNameAndWritesOrReportsTheFile)
{
    EXPECT_EQ(HistoryExport::proposedFileName(QDateTime(QDate(2025, 3, 14), QTime(9, 15, 2))),
              QStringLiteral("modbus-history-2025-03-14T091502.csv"));

    Poll poll = pollOf("P", {datapoint("A")});
    ValueHistory history;
    history.record(poll.datapoints[0].id, {at(0), 1});
    const std::vector polls{poll};
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("history.csv"));
    test::ScriptedDesktopServices services;
    services.answerSavePanel(std::nullopt);
    services.answerSavePanel(path);
    services.answerSavePanel(folder.filePath(QStringLiteral("missing/history.csv")));

    EXPECT_EQ(HistoryExport::run(services, polls, history, commaDialect), std::nullopt);
    EXPECT_FALSE(QFile::exists(path));

    EXPECT_EQ(HistoryExport::run(services, polls, history, commaDialect), std::nullopt);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), HistoryExport::text(polls, history, commaDialect));

    const auto failure = HistoryExport::run(services, polls, history, commaDialect);
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->startsWith(QStringLiteral("Saving failed: "))) << failure->toStdString();

    ASSERT_EQ(services.savePanels.size(), 3u);
    EXPECT_EQ(services.savePanels[0].type, FileType::commaSeparatedText);
    EXPECT_TRUE(services.savePanels[0].proposedName.startsWith(QStringLiteral("modbus-history-")));
}

}  // namespace
}  // namespace tessarin
