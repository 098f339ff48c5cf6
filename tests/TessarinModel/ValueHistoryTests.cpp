#include "TessarinModel/ValueHistory.hpp"

#include "GuiTestApp.hpp"

#include <gtest/gtest.h>

#include <chrono>

namespace tessarin {
namespace {

using std::chrono::milliseconds;
using TimePoint = std::chrono::system_clock::time_point;

constexpr std::size_t cap = ValueHistory::maxSamples;

// Sample i was taken at i ms and holds the value i, so order and identity read alike.
Sample sampleAt(std::size_t i)
{
    return {.time = TimePoint(milliseconds(i)), .value = static_cast<double>(i)};
}

Datapoint pointNamed(std::string name, std::string unit = {})
{
    Datapoint point;
    point.name = std::move(name);
    point.address = 7;
    point.engineeringUnit = std::move(unit);
    return point;
}

class ValueHistoryTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensureGuiApp(); }

    void recordRange(const Uuid& id, std::size_t from, std::size_t to)
    {
        for (std::size_t i = from; i < to; ++i) {
            history.record(id, sampleAt(i));
        }
    }

    ValueHistory history;
    Datapoint point = pointNamed("Flow", "m³/h");
};

TEST_F(ValueHistoryTest, KeepsTheNewestSamplesInRecordedOrderAtAndBeyondTheCap)
{
    for (const std::size_t recorded : {std::size_t{1}, cap - 1, cap, cap + 1, 2 * cap + 3}) {
        SCOPED_TRACE(recorded);
        ValueHistory fresh;
        for (std::size_t i = 0; i < recorded; ++i) {
            fresh.record(point.id, sampleAt(i));
        }
        const std::vector<Sample> kept = fresh.sampleVector(point.id);
        const std::size_t expected = std::min(recorded, cap);
        ASSERT_EQ(kept.size(), expected);
        const std::size_t firstKept = recorded - expected;
        for (std::size_t i = 0; i < kept.size(); ++i) {
            ASSERT_EQ(kept[i], sampleAt(firstKept + i)) << "at " << i;
        }
    }
}

TEST_F(ValueHistoryTest, DatapointsKeepSeparateHistories)
{
    const Uuid other = Uuid::random();
    recordRange(point.id, 0, cap + 5);
    history.record(other, sampleAt(42));
    EXPECT_EQ(history.sampleVector(other), std::vector{sampleAt(42)});
    EXPECT_EQ(history.sampleCount(), cap + 1);

    history.forget(point.id);
    EXPECT_TRUE(history.sampleVector(point.id).empty());
    EXPECT_EQ(history.sampleCount(), 1u);
    history.clear();
    EXPECT_TRUE(history.empty());
}

TEST_F(ValueHistoryTest, ASampleNeverCostsMoreThan24BytesOnceBeyondTheFirstBlock)
{
    for (std::size_t i = 0; i < cap + 100; ++i) {
        history.record(point.id, sampleAt(i));
        const std::size_t held = history.sampleCount();
        if (held >= 64) {
            ASSERT_LE(history.storageBytes(), held * 24) << "with " << held << " samples";
        }
    }
    EXPECT_EQ(history.storageBytes(), cap * sizeof(Sample));
}

TEST_F(ValueHistoryTest, SeriesKeepsSamplesAtOrAfterTheCutOff)
{
    recordRange(point.id, 0, cap + 10);  // wrapped: 10 ... cap + 9
    struct Row {
        const char* what;
        std::optional<TimePoint> since;
        std::size_t first;
        std::size_t count;
    };
    const Row rows[] = {
        {"no cut-off keeps all", std::nullopt, 10, cap},
        {"cut-off on a sample keeps it", TimePoint(milliseconds(cap + 8)), cap + 8, 2},
        {"cut-off between samples", TimePoint(milliseconds(cap + 8) - std::chrono::microseconds(1)), cap + 8, 2},
        {"cut-off before the oldest", TimePoint(milliseconds(0)), 10, cap},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto series = history.series(point, row.since);
        ASSERT_TRUE(series);
        const std::vector<Sample> all = ValueHistory::thinned([&] {
            std::vector<Sample> expected;
            for (std::size_t i = row.first; i < row.first + row.count; ++i) expected.push_back(sampleAt(i));
            return expected;
        }());
        EXPECT_EQ(series->samples, all);
        EXPECT_EQ(series->id, point.id);
    }
    EXPECT_FALSE(history.series(point, TimePoint(milliseconds(cap + 10))));
    EXPECT_FALSE(history.series(pointNamed("never read"), std::nullopt));
}

TEST_F(ValueHistoryTest, SeriesIsNamedByLabelAndUnit)
{
    Datapoint unnamed = pointNamed("");
    unnamed.table = RegisterTable::inputRegister;
    Datapoint unitless = pointNamed("Mode");
    for (const Datapoint* p : {&point, &unnamed, &unitless}) {
        history.record(p->id, sampleAt(1));
    }
    EXPECT_EQ(history.series(point, std::nullopt)->name, QStringLiteral("Flow (m³/h)"));
    EXPECT_EQ(history.series(unnamed, std::nullopt)->name, QStringLiteral("IR 7"));
    EXPECT_EQ(history.series(unitless, std::nullopt)->name, QStringLiteral("Mode"));
}

TEST_F(ValueHistoryTest, ThinningKeepsEvenlySpreadSamplesAndEndsAtTheNewest)
{
    const auto samplesUpTo = [](std::size_t n) {
        std::vector<Sample> samples;
        for (std::size_t i = 0; i < n; ++i) samples.push_back(sampleAt(i));
        return samples;
    };
    const std::size_t limit = ValueHistory::maxSeriesPoints;
    for (const std::size_t n : {std::size_t{0}, std::size_t{1}, limit}) {
        EXPECT_EQ(ValueHistory::thinned(samplesUpTo(n)), samplesUpTo(n)) << n;
    }
    // One sample too many: every position still lands on its own sample.
    EXPECT_EQ(ValueHistory::thinned(samplesUpTo(limit + 1)), samplesUpTo(limit + 1));

    const std::vector<Sample> thin = ValueHistory::thinned(samplesUpTo(cap));
    ASSERT_EQ(thin.size(), limit + 1);
    EXPECT_EQ(thin[0], sampleAt(0));
    EXPECT_EQ(thin[1], sampleAt(13));            // 20000 / 1500 = 13.33…
    EXPECT_EQ(thin[limit - 1], sampleAt(19986));  // 1499 × 13.33… = 19986.6…
    EXPECT_EQ(thin[limit], sampleAt(cap - 1));
    for (std::size_t i = 1; i < thin.size(); ++i) {
        const auto gap = thin[i].value - thin[i - 1].value;
        ASSERT_TRUE(gap >= 13 && gap <= 14) << "between points " << i - 1 << " and " << i;
    }
}

}  // namespace
}  // namespace tessarin
