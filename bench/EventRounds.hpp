#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QObject>

#include <chrono>

namespace tessarin::bench {

// Events reach the main thread as calls posted to the application object. Once a round is
// over, whatever the engine still hands over (a slow handler leaves up to the engine's backlog
// of events behind) is thrown away unhandled, so that no round counts another's events. Other
// posted work, such as repaints and the log's rendering, still runs. Install backlog() on the
// application before the first round.
class Backlog final : public QObject {
public:
    bool discarding = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool handover = event->type() == QEvent::MetaCall && watched == QCoreApplication::instance();
        return discarding && handover ? true : QObject::eventFilter(watched, event);
    }
};

inline Backlog& backlog() {
    static Backlog filter;
    return filter;
}

// Runs the event loop for the given time; whatever is still queued then is dropped. The loop
// spins rather than sleeps: a main thread that sleeps between events has its CPU fall idle,
// and waking an idle CPU (on a virtual machine above all) costs more than a loopback round
// trip, so an empty handler would slow the engine more than a busy one does. Spinning in both
// setups leaves only the work of the handler as the difference.
inline void runEventLoop(double forSeconds) {
    using Clock = std::chrono::steady_clock;
    backlog().discarding = false;
    const auto end =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(forSeconds));
    while (Clock::now() < end) QCoreApplication::processEvents(QEventLoop::AllEvents);
    backlog().discarding = true;
}

// Drops what the engine still hands over after a round.
inline void drainEvents() {
    backlog().discarding = true;
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents);
    backlog().discarding = false;
}

}  // namespace tessarin::bench
