#include "ChildProcess.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace tessarin::test {

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    if (::posix_spawn(&m_pid, args[0], &actions, nullptr, args.data(), environ) != 0) m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    m_output = fds[0];
}

ChildProcess::~ChildProcess() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        while (::waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    if (m_output >= 0) ::close(m_output);
}

std::optional<std::string> ChildProcess::lineWith(const std::string& text, std::chrono::seconds cap) {
    const auto deadline = std::chrono::steady_clock::now() + cap;
    for (;;) {
        if (const auto found = m_buffered.find(text); found != std::string::npos) {
            const auto end = m_buffered.find('\n', found);
            if (end != std::string::npos) {
                const auto newline = m_buffered.rfind('\n', found);
                const std::size_t start = newline == std::string::npos ? 0 : newline + 1;
                std::string line = m_buffered.substr(start, end - start);
                m_buffered.erase(0, end + 1);
                return line;
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return std::nullopt;
        pollfd watched{m_output, POLLIN, 0};
        if (::poll(&watched, 1, static_cast<int>(left.count()) + 1) <= 0) continue;
        char chunk[512];
        const ssize_t n = ::read(m_output, chunk, sizeof chunk);
        if (n == 0) return std::nullopt;
        if (n > 0) m_buffered.append(chunk, static_cast<std::size_t>(n));
    }
}

int ChildProcess::wait(std::string& rest) {
    char chunk[512];
    for (;;) {
        const ssize_t n = ::read(m_output, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        m_buffered.append(chunk, static_cast<std::size_t>(n));
    }
    rest = std::move(m_buffered);
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::optional<std::string> outputOf(const std::vector<std::string>& argv) {
    ChildProcess child(argv);
    if (!child.started()) return std::nullopt;
    std::string output;
    if (child.wait(output) != 0) return std::nullopt;
    return output;
}

}  // namespace tessarin::test
