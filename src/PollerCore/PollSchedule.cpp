#include "PollerCore/PollSchedule.hpp"

#include <algorithm>

namespace tessarin {

namespace {

// Intervals are user input. Negative or NaN runs back to back; anything beyond a year is a
// year, which keeps the conversion to clock ticks far from overflowing.
PollSchedule::Clock::duration intervalOf(const PollPlan& plan) {
    constexpr double longest = 365.0 * 24 * 3600;
    const double seconds = plan.interval > 0 ? std::min(plan.interval, longest) : 0.0;
    return std::chrono::duration_cast<PollSchedule::Clock::duration>(std::chrono::duration<double>(seconds));
}

}  // namespace

void PollSchedule::setPlans(std::vector<PollPlan> plans) {
    m_plans = std::move(plans);
    std::erase_if(m_nextDue, [this](const auto& entry) {
        return std::ranges::none_of(m_plans, [&](const PollPlan& plan) { return plan.id == entry.first; });
    });
}

std::optional<PollSchedule::Pick> PollSchedule::earliest(Clock::time_point now) const {
    // A poll that has never run goes before every poll that has. Counted as due at `now`, it
    // would lose to any overdue poll, and a poll whose runs take longer than its interval is
    // overdue whenever it is asked: a poll added next to it would never run at all.
    std::optional<Pick> best;
    bool bestIsNew = false;
    for (std::size_t index = 0; index < m_plans.size(); ++index) {
        if (m_plans[index].blocks.empty()) continue;
        const auto scheduled = nextDue(m_plans[index].id);
        const bool isNew = !scheduled;
        const Clock::time_point due = scheduled.value_or(now);
        const bool earlier = !best || (isNew ? !bestIsNew : (!bestIsNew && due < best->due));
        if (earlier) {
            best = Pick{index, due};
            bestIsNew = isNew;
        }
    }
    return best;
}

PollPlan PollSchedule::start(const Pick& pick, Clock::time_point now) {
    const PollPlan& plan = m_plans.at(pick.index);
    const Clock::duration interval = intervalOf(plan);
    const Clock::time_point next = pick.due + interval > now ? pick.due + interval : now + interval;
    const auto found = std::ranges::find(m_nextDue, plan.id, &std::pair<Uuid, Clock::time_point>::first);
    if (found != m_nextDue.end()) {
        found->second = next;
    } else {
        m_nextDue.emplace_back(plan.id, next);
    }
    return plan;
}

std::optional<PollSchedule::Clock::time_point> PollSchedule::nextDue(const Uuid& id) const {
    const auto found = std::ranges::find(m_nextDue, id, &std::pair<Uuid, Clock::time_point>::first);
    if (found == m_nextDue.end()) return std::nullopt;
    return found->second;
}

}  // namespace tessarin
