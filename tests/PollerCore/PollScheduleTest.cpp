#include "PollerCore/PollSchedule.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <string>
#include <vector>

namespace tessarin {
namespace {

using Clock = PollSchedule::Clock;
using std::chrono::milliseconds;
using std::chrono::seconds;

const Clock::time_point t0 = Clock::time_point{} + std::chrono::hours(1000);

PollPlan plan(std::uint8_t tag, double interval, int blocks = 1) {
    PollPlan result;
    result.id.bytes[0] = tag;
    result.interval = interval;
    for (int i = 0; i < blocks; ++i) {
        result.blocks.push_back({.unit = 1,
                                 .table = RegisterTable::holdingRegister,
                                 .address = static_cast<std::uint16_t>(i),
                                 .count = 1});
    }
    return result;
}

// Runs the schedule as a worker whose polls take no time would: always wakes at the next
// due time. Returns "tag@seconds" per run.
std::vector<std::string> simulate(PollSchedule& schedule, int runs) {
    std::vector<std::string> seen;
    Clock::time_point now = t0;
    for (int i = 0; i < runs; ++i) {
        auto pick = schedule.earliest(now);
        if (!pick) break;
        if (pick->due > now) now = pick->due;
        const PollPlan started = schedule.start(*pick, now);
        seen.push_back(std::to_string(started.id.bytes[0]) + "@" +
                       std::to_string(std::chrono::duration_cast<seconds>(now - t0).count()));
    }
    return seen;
}

TEST(PollSchedule, KeepsEachPollsRhythmAndLetsPlanOrderBreakTies) {
    PollSchedule schedule;
    schedule.setPlans({plan(1, 1.0), plan(5, 5.0)});
    // Both run at once in plan order; at 5 s both are due and the first plan goes first.
    const std::vector<std::string> expected{"1@0", "5@0", "1@1", "1@2", "1@3",  "1@4",  "1@5", "5@5",
                                            "1@6", "1@7", "1@8", "1@9", "1@10", "5@10", "1@11"};
    EXPECT_EQ(simulate(schedule, 15), expected);
}

// An overdue poll runs once and does not catch up; intervals outside reason run back to back
// or at most yearly.
TEST(PollSchedule, TheNextRunFollowsTheStartOfTheLastOne) {
    const double infinity = std::numeric_limits<double>::infinity();
    struct Row {
        const char* name;
        double interval;
        Clock::duration secondStart;   // after t0; zero: only the first run, at t0
        Clock::duration expectedNext;  // after t0
    };
    const Row rows[] = {
        {"late within the interval keeps the rhythm", 1.0, milliseconds(1700), seconds(2)},
        {"exactly one interval late starts a new rhythm", 1.0, seconds(2), seconds(3)},
        {"many intervals late starts a new rhythm", 1.0, milliseconds(4500), milliseconds(5500)},
        {"zero", 0.0, {}, {}},
        {"not a number", std::numeric_limits<double>::quiet_NaN(), {}, {}},
        {"infinite", infinity, {}, std::chrono::hours(365 * 24)},
        {"beyond a year", 1e300, {}, std::chrono::hours(365 * 24)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PollSchedule schedule;
        schedule.setPlans({plan(1, row.interval)});
        schedule.start(*schedule.earliest(t0), t0);
        if (row.secondStart != Clock::duration{}) {
            const auto pick = schedule.earliest(t0 + row.secondStart);
            ASSERT_TRUE(pick);
            EXPECT_EQ(pick->due, t0 + seconds(1));
            schedule.start(*pick, t0 + row.secondStart);
        }
        EXPECT_EQ(schedule.nextDue(schedule.plans()[0].id), t0 + row.expectedNext);
    }
}

TEST(PollSchedule, APollThatStaysSlowDoesNotStarveTheOthers) {
    // Poll 1 wants every 10 ms but each run takes 100 ms, so it is overdue whenever the worker
    // asks. Poll 2 must still run right after it (it has never run) and then every 300 ms or
    // so; owing poll 1 its missed runs, or counting a poll that never ran as due only "now",
    // would starve poll 2.
    PollSchedule schedule;
    schedule.setPlans({plan(1, 0.01), plan(2, 0.3)});
    Clock::time_point now = t0;
    std::vector<int> secondRunsAt;
    for (int i = 0; i < 40; ++i) {
        const auto pick = schedule.earliest(now);
        ASSERT_TRUE(pick);
        now = std::max(now, pick->due);
        if (schedule.start(*pick, now).id.bytes[0] == 2) secondRunsAt.push_back(i);
        now += milliseconds(100);
        // A poll added while the slow one runs is not starved either.
        if (i == 20) schedule.setPlans({plan(1, 0.01), plan(2, 0.3), plan(3, 60.0)});
        if (i == 21) {
            EXPECT_EQ(schedule.plans()[pick->index].id.bytes[0], 3);
        }
    }
    ASSERT_GE(secondRunsAt.size(), 8U);
    EXPECT_EQ(secondRunsAt[0], 1);
}

TEST(PollSchedule, PlansWithoutBlocksAreNeverPicked) {
    PollSchedule schedule;
    schedule.setPlans({plan(1, 1.0, 0), plan(2, 1.0, 0)});
    EXPECT_FALSE(schedule.earliest(t0));
    schedule.setPlans({plan(1, 1.0, 0), plan(2, 1.0, 3)});
    ASSERT_TRUE(schedule.earliest(t0));
    EXPECT_EQ(schedule.earliest(t0)->index, 1U);
}

TEST(PollSchedule, ReplacingPlansKeepsTheScheduleOfPollsThatRemain) {
    PollSchedule schedule;
    schedule.setPlans({plan(1, 60.0), plan(2, 60.0)});
    schedule.start(*schedule.earliest(t0), t0);
    schedule.start(*schedule.earliest(t0), t0);

    // Poll 1 edited (new interval, more blocks), poll 2 removed, poll 3 new.
    schedule.setPlans({plan(1, 30.0, 4), plan(3, 60.0)});
    auto pick = schedule.earliest(t0 + seconds(1));
    ASSERT_TRUE(pick);
    EXPECT_EQ(schedule.plans()[pick->index].id.bytes[0], 3);
    EXPECT_EQ(schedule.nextDue(plan(1, 0).id), t0 + seconds(60));
    EXPECT_FALSE(schedule.nextDue(plan(2, 0).id));

    // A poll that comes back after it was removed is new again: due at once.
    schedule.setPlans({plan(1, 30.0, 4), plan(3, 60.0), plan(2, 60.0)});
    pick = schedule.earliest(t0 + seconds(1));
    ASSERT_TRUE(pick);
    EXPECT_EQ(schedule.plans()[pick->index].id.bytes[0], 3);
    schedule.start(*pick, t0 + seconds(1));
    pick = schedule.earliest(t0 + seconds(1));
    ASSERT_TRUE(pick);
    EXPECT_EQ(schedule.plans()[pick->index].id.bytes[0], 2);
}

}  // namespace
}  // namespace tessarin
