#pragma once

#include "PollerCore/PollerEngine.hpp"
#include "PollerCore/PollerEvent.hpp"

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

namespace tessarin::test {

// Collects the events of one engine, from whichever thread delivers them. Header-only: only
// the executables that link PollerCore include it.
class EventRecorder {
public:
    // The handler to give the engine.
    PollerEngine::EventHandler handler() {
        return [this](const PollerEvent& event) {
            std::lock_guard lock(m_mutex);
            m_events.push_back(event);
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

private:
    mutable std::mutex m_mutex;
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
