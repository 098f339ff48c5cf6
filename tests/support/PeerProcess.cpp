#include "support/PeerProcess.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fmt/format.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <utility>
#include <vector>

extern char** environ;

namespace tessarin::test {

namespace {

// Python starts slowly under a loaded machine; this only bounds a broken peer.
constexpr auto startCap = std::chrono::seconds(30);

struct Pipe {
    int read = -1;
    int write = -1;
};

std::optional<Pipe> makePipe() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return std::nullopt;
    return Pipe{fds[0], fds[1]};
}

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

void reap(pid_t pid) {
    ::kill(pid, SIGKILL);
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

std::vector<std::string> commandFor(PeerKind kind, const PeerOptions& options) {
    std::vector<std::string> args;
    if (kind == PeerKind::libmodbusTCP) {
        args = {TESSARIN_LIBMODBUS_DEVICE};
    } else {
        args = {TESSARIN_PYTHON3, TESSARIN_PYMODBUS_DEVICE};
    }
    if (options.port != 0) args.insert(args.end(), {"--port", std::to_string(options.port)});
    if (options.unit) args.insert(args.end(), {"--unit", std::to_string(*options.unit)});
    if (options.delayMs > 0) args.insert(args.end(), {"--delay-ms", std::to_string(options.delayMs)});
    if (options.size != DeviceContents::defaultSize) {
        args.insert(args.end(), {"--size", std::to_string(options.size)});
    }
    return args;
}

// The first line the peer prints, without its newline; empty when the peer ended or the
// cap passed first.
std::string firstLine(int fd) {
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + startCap;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return {};
        pollfd watched{fd, POLLIN, 0};
        const int ready = ::poll(&watched, 1, static_cast<int>(left.count()) + 1);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return {};
        char chunk[64];
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return {};
        line.append(chunk, static_cast<std::size_t>(n));
        if (const auto end = line.find('\n'); end != std::string::npos) return line.substr(0, end);
    }
}

}  // namespace

std::expected<PeerProcess, std::string> PeerProcess::start(PeerKind kind, const PeerOptions& options) {
    const std::vector<std::string> args = commandFor(kind, options);
    const std::string name = kind == PeerKind::libmodbusTCP ? "libmodbus device" : "pymodbus RTU device";

    auto input = makePipe();
    auto output = makePipe();
    if (!input || !output) return std::unexpected(fmt::format("{}: pipe: {}", name, std::strerror(errno)));

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input->read, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output->write, STDOUT_FILENO);
    // Sockets the tests opened without close-on-exec must not live on in the peer.
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);

    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    closeFd(input->read);
    closeFd(output->write);
    if (spawned != 0) {
        closeFd(input->write);
        closeFd(output->read);
        return std::unexpected(
            fmt::format("{} could not be started from {}: {}", name, args[0], std::strerror(spawned)));
    }

    const std::string line = firstLine(output->read);
    closeFd(output->read);
    unsigned port = 0;
    const auto parsed = std::from_chars(line.data(), line.data() + line.size(), port);
    if (line.empty() || parsed.ec != std::errc{} || parsed.ptr != line.data() + line.size() || port == 0 ||
        port > 65535) {
        closeFd(input->write);
        reap(pid);
        return std::unexpected(fmt::format(
            "{} ({}) did not report its port (printed '{}'); is libmodbus-dev / python3-pymodbus installed?",
            name, args.back(), line));
    }
    return PeerProcess(pid, input->write, static_cast<std::uint16_t>(port));
}

PeerProcess::PeerProcess(PeerProcess&& other) noexcept
    : m_pid(std::exchange(other.m_pid, -1)),
      m_input(std::exchange(other.m_input, -1)),
      m_port(other.m_port) {}

PeerProcess& PeerProcess::operator=(PeerProcess&& other) noexcept {
    if (this != &other) {
        stop();
        m_pid = std::exchange(other.m_pid, -1);
        m_input = std::exchange(other.m_input, -1);
        m_port = other.m_port;
    }
    return *this;
}

PeerProcess::~PeerProcess() {
    stop();
}

void PeerProcess::stop() {
    closeFd(m_input);
    if (m_pid > 0) reap(m_pid);
    m_pid = -1;
}

}  // namespace tessarin::test
