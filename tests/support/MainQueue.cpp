#include "support/MainQueue.hpp"

#include <algorithm>
#include <utility>

namespace tessarin::test {

namespace {

constexpr auto recheck = std::chrono::milliseconds(5);

void enqueue(auto& state, MainQueue::Task task) {
    {
        std::lock_guard lock(state.mutex);
        state.tasks.push_back(std::move(task));
    }
    state.arrived.notify_all();
}

}  // namespace

MainQueue::MainQueue() : m_state(std::make_shared<State>()) {}

std::function<void(MainQueue::Task)> MainQueue::poster() const {
    return [state = m_state](Task task) { enqueue(*state, std::move(task)); };
}

void MainQueue::post(Task task) const {
    enqueue(*m_state, std::move(task));
}

std::size_t MainQueue::pump() {
    std::deque<Task> batch;
    {
        std::lock_guard lock(m_state->mutex);
        batch.swap(m_state->tasks);
    }
    for (Task& task : batch) task();
    return batch.size();
}

bool MainQueue::pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds cap) {
    const auto deadline = std::chrono::steady_clock::now() + cap;
    for (;;) {
        if (done()) return true;
        Task task;
        {
            std::unique_lock lock(m_state->mutex);
            // `done` may also turn true without a task (a counter on another thread), so it
            // is checked again at least every few milliseconds.
            const auto slice = std::min(deadline, std::chrono::steady_clock::now() + recheck);
            if (!m_state->arrived.wait_until(lock, slice, [&] { return !m_state->tasks.empty(); })) {
                if (std::chrono::steady_clock::now() >= deadline) return done();
                continue;
            }
            task = std::move(m_state->tasks.front());
            m_state->tasks.pop_front();
        }
        task();
    }
}

}  // namespace tessarin::test
