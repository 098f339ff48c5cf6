#include "TessarinModel/HistoryExport.hpp"

#include "ModelFixture.hpp"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <limits>

namespace tessarin::test {
namespace {

using TimePoint = std::chrono::system_clock::time_point;

const DatapointCSV::Dialect commaDialect{',', false};
const std::string header = "\xEF\xBB\xBFTime,Poll,Name,Value,Unit\r\n";

TimePoint at(long long ms) {
    return TimePoint(std::chrono::milliseconds(ms));
}

// The local time as Qt writes it, which the export must agree with.
std::string qtLocalTime(long long ms) {
    return QDateTime::fromMSecsSinceEpoch(ms)
        .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"))
        .toStdString();
}

using HistoryExportTest = GuiTest;

TEST_F(HistoryExportTest, QuotesFieldsThatWouldBreakARow) {
    const std::tuple<std::string_view, char, std::string_view> rows[] = {
        {"Flow", ',', "Flow"},
        {"a,b", ',', "\"a,b\""},
        // Spreadsheets guess the separator: a decimal comma or a tab splits any unquoted cell.
        {"a,b", ';', "\"a,b\""},
        {"a;b", ',', "\"a;b\""},
        {"a\tb", ',', "\"a\tb\""},
        {"say \"hi\"", ';', "\"say \"\"hi\"\"\""},
        {"two\nlines", ',', "\"two\nlines\""},
        {"carriage\rreturn", ',', "\"carriage\rreturn\""},
    };
    for (const auto& [text, separator, written] : rows) {
        EXPECT_EQ(HistoryExport::field(text, separator), written) << text;
    }
}

TEST_F(HistoryExportTest, WritesWholeNumbersAsIntegersAndOthersAsTheDoublesOwnText) {
    const std::tuple<double, bool, std::string_view> rows[] = {
        {215, false, "215"},
        {-0.0, false, "0"},
        {999'999'999'999'999, false, "999999999999999"},
        {1e15, false, "1e+15"},
        {-1.5e300, true, "-1,5e+300"},
        {0.1 + 0.2, false, "0.30000000000000004"},
        {123456789012345.6, false, "123456789012345.6"},
        {0.00001, false, "1e-05"},
        {std::numeric_limits<double>::quiet_NaN(), false, "nan"},
    };
    for (const auto& [value, decimalComma, written] : rows) {
        EXPECT_EQ(HistoryExport::valueText(value, decimalComma), written) << written;
    }
}

TEST_F(HistoryExportTest, TimesAreLocalWithMilliseconds) {
    // Across a second and a day, and before 1970, where division rounds towards the wrong second.
    for (const long long ms : {0LL, 999LL, 1'741'943'702'123LL, -1LL, -86'400'001LL}) {
        EXPECT_EQ(HistoryExport::timeText(at(ms)), qtLocalTime(ms)) << ms;
    }
}

TEST_F(HistoryExportTest, RowsAreInTimeOrderAndEqualTimesKeepPollAndTableOrder) {
    Poll first = pollWith({holdingRegister(10, DataType::uint16, "Temp"), holdingRegister(11)}, "Boiler");
    first.datapoints[0].engineeringUnit = "°C";
    const Poll second = pollWith({holdingRegister(10, DataType::uint16, "Speed")}, "Pump");
    const std::vector polls{first, second};
    ValueHistory history;
    EXPECT_EQ(HistoryExport::text(polls, history, commaDialect), header);

    // Recorded out of poll order.
    history.record(second.datapoints[0].id, {at(1000), 3});
    history.record(first.datapoints[1].id, {at(1000), 2});
    history.record(first.datapoints[0].id, {at(1000), 1});
    history.record(second.datapoints[0].id, {at(500), 4});
    history.record(first.datapoints[0].id, {at(2000), 5.25});
    EXPECT_EQ(HistoryExport::text(polls, history, commaDialect),
              header + qtLocalTime(500) + ",Pump,Speed,4,\r\n" + qtLocalTime(1000) + ",Boiler,Temp,1,°C\r\n" +
                  qtLocalTime(1000) + ",Boiler,HR 11,2,\r\n" + qtLocalTime(1000) + ",Pump,Speed,3,\r\n" +
                  qtLocalTime(2000) + ",Boiler,Temp,5.25,°C\r\n");

    Poll quoted = pollWith({holdingRegister(10, DataType::uint16, "Temp \"in\"")}, "=Hall; east");
    quoted.datapoints[0].engineeringUnit = "-";
    history.record(quoted.datapoints[0].id, {at(0), 21.5});
    EXPECT_EQ(HistoryExport::text(std::vector{quoted}, history, {';', true}),
              "\xEF\xBB\xBFTime;Poll;Name;Value;Unit\r\n" + qtLocalTime(0) +
                  ";\"'=Hall; east\";\"Temp \"\"in\"\"\";\"21,5\";'-\r\n");
}

TEST_F(HistoryExportTest, TheCommandWritesTheFileOrSaysWhyNot) {
    EXPECT_EQ(HistoryExport::proposedFileName(QDateTime(QDate(2025, 3, 14), QTime(9, 15, 2))),
              QStringLiteral("modbus-history-2025-03-14T091502.csv"));
    const std::vector polls{pollWith({holdingRegister(10, DataType::uint16, "A")}, "P")};
    ValueHistory history;
    history.record(polls[0].datapoints[0].id, {at(0), 1});
    QTemporaryDir folder;
    EXPECT_EQ(HistoryExport::savePanelRequest(QDateTime(QDate(2025, 3, 14), QTime(9, 15, 2))),
              (SavePanelRequest{.type = FileType::commaSeparatedText,
                                .proposedName = QStringLiteral("modbus-history-2025-03-14T091502.csv")}));
    EXPECT_EQ(
        HistoryExport::write(folder.filePath(QStringLiteral("history.csv")), polls, history, commaDialect),
        std::nullopt);
    EXPECT_EQ(ModelFixture::readFile(folder.filePath(QStringLiteral("history.csv"))).toStdString(),
              HistoryExport::text(polls, history, commaDialect));
    EXPECT_TRUE(HistoryExport::write(folder.filePath(QStringLiteral("missing/history.csv")), polls, history,
                                     commaDialect)
                    .value_or(QString())
                    .startsWith(QStringLiteral("Saving failed: ")));
}

}  // namespace
}  // namespace tessarin::test
