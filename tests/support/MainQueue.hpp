#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace tessarin::test {

// A stand-in for the application's main-thread queue: any thread posts tasks, the test's
// own thread runs them in order when it pumps. Posting stays safe after the queue object is
// gone (a worker that outlives a test posts into a queue nobody pumps any more).
class MainQueue {
public:
    using Task = std::function<void()>;

    MainQueue();

    // A post function bound to this queue, for code that takes `std::function<void(Task)>`.
    std::function<void(Task)> poster() const;
    void post(Task task) const;

    // Runs the tasks queued so far, in order; returns how many ran.
    std::size_t pump();
    // Runs tasks as they arrive until `done()` holds (checked after every task, and every few
    // milliseconds while none arrives) or `cap` has passed. True when `done()` held.
    bool pumpUntil(const std::function<bool()>& done,
                   std::chrono::milliseconds cap = std::chrono::seconds(20));

private:
    struct State {
        std::mutex mutex;
        std::condition_variable arrived;
        std::deque<Task> tasks;
    };
    std::shared_ptr<State> m_state;
};

}  // namespace tessarin::test
