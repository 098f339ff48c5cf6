#include "TessarinModel/ValueHistory.hpp"

#include "GuiTestApp.hpp"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

using std::chrono::milliseconds;
using TimePoint = std::chrono::system_clock::time_point;

constexpr std::size_t cap = ValueHistory::maxSamples;

// Sample i was taken at i ms and holds the value i, so order and identity read alike.
Sample sampleAt(std::size_t i) {
    return {TimePoint(milliseconds(i)), static_cast<double>(i)};
}

std::vector<Sample> samplesFrom(std::size_t first, std::size_t count) {
    std::vector<Sample> samples;
    for (std::size_t i = first; i < first + count; ++i) samples.push_back(sampleAt(i));
    return samples;
}

class ValueHistoryTest : public test::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        point.name = "Flow";
        point.engineeringUnit = "m³/h";
    }

    void record(ValueHistory& into, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) into.record(point.id, sampleAt(i));
    }

    ValueHistory history;
    Datapoint point;
};

TEST_F(ValueHistoryTest, KeepsTheNewestSamplesInRecordedOrderAtAndBeyondTheCap) {
    for (const std::size_t recorded : {std::size_t{1}, cap, cap + 1, 2 * cap + 3}) {
        SCOPED_TRACE(recorded);
        ValueHistory fresh;
        record(fresh, recorded);
        const std::size_t kept = std::min(recorded, cap);
        EXPECT_EQ(fresh.sampleVector(point.id), samplesFrom(recorded - kept, kept));
    }
}

TEST_F(ValueHistoryTest, ASampleNeverCostsMoreThan24BytesOnceBeyondTheFirstBlock) {
    for (std::size_t i = 0; i < cap + 100; ++i) {
        history.record(point.id, sampleAt(i));
        const std::size_t held = history.sampleCount();
        if (held >= 64) {
            ASSERT_LE(history.storageBytes(), held * 24) << "with " << held << " samples";
        }
    }
    EXPECT_EQ(history.storageBytes(), cap * sizeof(Sample));
}

TEST_F(ValueHistoryTest, SeriesKeepsSamplesAtOrAfterTheCutOffAcrossTheWrap) {
    record(history, cap + 10);  // holds 10 ... cap + 9, wrapped
    const auto last = [&](std::size_t n) { return ValueHistory::thinned(samplesFrom(cap + 10 - n, n)); };
    EXPECT_EQ(history.series(point, std::nullopt)->samples, last(cap));
    EXPECT_EQ(history.series(point, std::nullopt)->name, QStringLiteral("Flow (m³/h)"));
    EXPECT_EQ(history.series(point, TimePoint(milliseconds(cap + 8)))->samples, last(2));
    EXPECT_EQ(history.series(point, TimePoint(milliseconds(cap + 8) - std::chrono::microseconds(1)))->samples,
              last(2));
    EXPECT_FALSE(history.series(point, TimePoint(milliseconds(cap + 10))));
    EXPECT_FALSE(history.series(Datapoint(), std::nullopt));
}

TEST_F(ValueHistoryTest, ThinningKeepsEvenlySpreadSamplesAndEndsAtTheNewest) {
    const std::size_t limit = ValueHistory::maxSeriesPoints;
    // Up to one sample too many, every position still lands on its own sample.
    for (const std::size_t n : {std::size_t{0}, limit, limit + 1}) {
        EXPECT_EQ(ValueHistory::thinned(samplesFrom(0, n)), samplesFrom(0, n)) << n;
    }
    const std::vector<Sample> thin = ValueHistory::thinned(samplesFrom(0, cap));
    ASSERT_EQ(thin.size(), limit + 1);
    EXPECT_EQ(thin[1], sampleAt(13));             // 20000 / 1500 = 13.33…
    EXPECT_EQ(thin[limit - 1], sampleAt(19986));  // 1499 × 13.33… = 19986.6…
    EXPECT_EQ(thin[limit], sampleAt(cap - 1));
    for (std::size_t i = 1; i < thin.size(); ++i) {
        const double gap = thin[i].value - thin[i - 1].value;
        ASSERT_TRUE(gap == 13 || gap == 14) << "between points " << i - 1 << " and " << i;
    }
}

}  // namespace
}  // namespace tessarin
