#pragma once

#include "PollerCore/PollPlan.hpp"

#include <chrono>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

namespace tessarin {

// The engine's choice of which poll runs next. Every poll keeps a fixed rhythm from its
// previous due time; a poll that fell behind runs once and starts a new rhythm instead of
// running again and again to catch up. Not thread-safe: the engine guards it with its lock.
class PollSchedule {
public:
    using Clock = std::chrono::steady_clock;

    // The plan that is due first, and when. A plan without blocks is never picked.
    struct Pick {
        std::size_t index = 0;  // into plans()
        Clock::time_point due;
    };

    [[nodiscard]] const std::vector<PollPlan>& plans() const { return m_plans; }

    // Replaces the plans. Polls whose id remains keep their next due time; new ones are due at
    // once; the schedule of polls that are gone is forgotten.
    void setPlans(std::vector<PollPlan> plans);

    // The plan due first: a plan that has never run (its due time is `now`) before any other,
    // then the earliest due time; on a tie the one that comes first. No value when no plan
    // has blocks.
    [[nodiscard]] std::optional<Pick> earliest(Clock::time_point now) const;

    // Records that the picked plan starts a run at `now` and returns the plan: its next run is
    // due one interval after this due time, or one interval after now when that has passed.
    PollPlan start(const Pick& pick, Clock::time_point now);

    // When the poll with this id is due next; no value while it has never run.
    [[nodiscard]] std::optional<Clock::time_point> nextDue(const Uuid& id) const;

private:
    std::vector<PollPlan> m_plans;
    std::vector<std::pair<Uuid, Clock::time_point>> m_nextDue;
};

}  // namespace tessarin
