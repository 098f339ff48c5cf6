#pragma once

#include "PollerCore/PollerEngine.hpp"
#include "PollerCore/PollerEvent.hpp"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace tessarin::test {

// Collects the events of one engine, from whichever thread delivers them. Header-only: only
// the executables that link PollerCore include it.
class EventRecorder {
public:
    using Hook = std::function<void(const PollerEvent&)>;

    // The handler to give the engine. The hook, when set, sees every event after it is recorded.
    PollerEngine::EventHandler handler(Hook hook = {}) {
        return [this, hook = std::move(hook)](const PollerEvent& event) {
            {
                std::lock_guard lock(m_mutex);
                m_events.push_back(event);
            }
            m_arrived.notify_all();
            if (hook) hook(event);
        };
    }

    std::vector<PollerEvent> events() const {
        std::lock_guard lock(m_mutex);
        return m_events;
    }

    std::size_t count(PollerEvent::Kind kind) const {
        std::lock_guard lock(m_mutex);
        std::size_t n = 0;
        for (const PollerEvent& event : m_events) n += event.kind() == kind ? 1U : 0U;
        return n;
    }

    // For engines that deliver on their own thread: waits until `done(events)` holds or `cap`
    // has passed; true when it held.
    bool waitFor(const std::function<bool(const std::vector<PollerEvent>&)>& done,
                 std::chrono::milliseconds cap = std::chrono::seconds(20)) {
        std::unique_lock lock(m_mutex);
        return m_arrived.wait_for(lock, cap, [&] { return done(m_events); });
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::vector<PollerEvent> m_events;
};

// The kinds of a list of events, for readable comparisons: "connected read wrote ...".
inline std::string kinds(const std::vector<PollerEvent>& events) {
    std::string text;
    for (const PollerEvent& event : events) {
        if (!text.empty()) text += ' ';
        text += name(event.kind());
    }
    return text;
}

}  // namespace tessarin::test
