#include "DeviceSimulator/SocketWatcher.hpp"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace tessarin {
namespace {

// Both kinds run here, so that the one other systems get is tried on every build.
class SocketWatcherKinds : public ::testing::TestWithParam<SocketWatcher::Kind> {
protected:
    void SetUp() override {
        for (auto& pair : m_pairs) {
            std::array<int, 2> fds{};
            ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds.data()), 0);
            pair = {Socket(fds[0]), Socket(fds[1])};
        }
    }

    // The ready sockets of one wait, as (fd, events) sorted by fd, every wait bounded so that a
    // fault shows as a failed expectation and not as a hang.
    std::vector<std::pair<int, short>> readyAfter(SocketWatcher& watcher, int timeoutMs = 2000) {
        const auto ready = watcher.wait(timeoutMs);
        EXPECT_TRUE(ready.has_value());
        std::vector<std::pair<int, short>> got;
        if (ready) {
            for (const auto& socket : *ready) got.emplace_back(socket.fd, socket.events);
        }
        std::ranges::sort(got);
        return got;
    }

    static void send(const Socket& socket) {
        const char byte = 'x';
        ASSERT_EQ(::write(socket.fd(), &byte, 1), 1);
    }

    struct Pair {
        Socket ours;
        Socket theirs;
    };
    std::array<Pair, 3> m_pairs;
};

TEST_P(SocketWatcherKinds, ReportsOnlyTheSocketsThatAreReadyForWhatTheyAreWatchedFor) {
    SocketWatcher watcher(GetParam());
    EXPECT_EQ(watcher.kind(), GetParam());
    for (const auto& pair : m_pairs) ASSERT_TRUE(watcher.watch(pair.ours.fd(), POLLIN));

    EXPECT_TRUE(readyAfter(watcher, 0).empty()) << "nothing sent yet";

    send(m_pairs[2].theirs);
    send(m_pairs[0].theirs);
    const std::vector<std::pair<int, short>> expected{{m_pairs[0].ours.fd(), POLLIN},
                                                      {m_pairs[2].ours.fd(), POLLIN}};
    EXPECT_EQ(readyAfter(watcher), expected);
    // Unread data stays ready: the watcher is level-triggered, as poll() is.
    EXPECT_EQ(readyAfter(watcher), expected);
}

TEST_P(SocketWatcherKinds, ChangedInterestTakesEffectAndARepeatChangesNothing) {
    SocketWatcher watcher(GetParam());
    const int fd = m_pairs[1].ours.fd();
    ASSERT_TRUE(watcher.watch(fd, POLLIN));
    EXPECT_TRUE(readyAfter(watcher, 0).empty());

    // An empty send buffer is writable at once.
    ASSERT_TRUE(watcher.watch(fd, POLLIN | POLLOUT));
    ASSERT_TRUE(watcher.watch(fd, POLLIN | POLLOUT));
    EXPECT_EQ(readyAfter(watcher), (std::vector<std::pair<int, short>>{{fd, POLLOUT}}));

    // Watched for nothing: a client whose answers pile up is not read from.
    send(m_pairs[1].theirs);
    ASSERT_TRUE(watcher.watch(fd, 0));
    EXPECT_TRUE(readyAfter(watcher, 0).empty());
    ASSERT_TRUE(watcher.watch(fd, POLLIN));
    EXPECT_EQ(readyAfter(watcher), (std::vector<std::pair<int, short>>{{fd, POLLIN}}));
}

TEST_P(SocketWatcherKinds, AForgottenSocketIsNeverReportedAndAHangUpAlwaysIs) {
    SocketWatcher watcher(GetParam());
    for (const auto& pair : m_pairs) ASSERT_TRUE(watcher.watch(pair.ours.fd(), 0));

    watcher.forget(m_pairs[0].ours.fd());
    watcher.forget(m_pairs[0].ours.fd());  // twice is harmless
    m_pairs[0].theirs.close();
    m_pairs[2].theirs.close();
    // Watched for nothing, a hung-up peer still shows, so a stalled client that goes away is
    // noticed; the forgotten one does not.
    const auto ready = readyAfter(watcher);
    ASSERT_EQ(ready.size(), 1U);
    EXPECT_EQ(ready[0].first, m_pairs[2].ours.fd());
    EXPECT_NE(ready[0].second & POLLHUP, 0);
}

INSTANTIATE_TEST_SUITE_P(, SocketWatcherKinds,
                         ::testing::Values(SocketWatcher::Kind::native, SocketWatcher::Kind::portable),
                         [](const ::testing::TestParamInfo<SocketWatcher::Kind>& kind) {
                             return kind.param == SocketWatcher::Kind::native ? std::string("native")
                                                                              : std::string("portable");
                         });

TEST(SocketWatcher, ADescriptorTheSystemRefusesIsReportedAndNotWatched) {
    SocketWatcher watcher;
    if (watcher.kind() != SocketWatcher::Kind::native)
        GTEST_SKIP() << "poll() checks descriptors only when it waits";
    // epoll takes no regular files.
    FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    EXPECT_FALSE(watcher.watch(::fileno(file), POLLIN));
    std::fclose(file);
    const auto ready = watcher.wait(0);
    ASSERT_TRUE(ready.has_value());
    EXPECT_TRUE(ready->empty());
}

}  // namespace
}  // namespace tessarin
