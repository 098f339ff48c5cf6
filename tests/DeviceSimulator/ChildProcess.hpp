#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace tessarin::test {

// A program the test runs with its stdout and stderr on one pipe, killed and reaped when the
// object goes.
class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& argv);
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    [[nodiscard]] bool started() const { return m_pid > 0; }
    [[nodiscard]] pid_t pid() const { return m_pid; }

    // Output up to and including the first line holding text (without the newline), or
    // nothing when the program ends or the cap passes first.
    [[nodiscard]] std::optional<std::string> lineWith(const std::string& text,
                                                      std::chrono::seconds cap = std::chrono::seconds(30));
    // Waits for the end and returns the exit status (or 128 + signal), with the rest of the output.
    [[nodiscard]] int wait(std::string& rest);

private:
    pid_t m_pid = -1;
    int m_output = -1;
    std::string m_buffered;
};

// Runs argv to its end; the whole output, or nothing when it could not start or failed.
[[nodiscard]] std::optional<std::string> outputOf(const std::vector<std::string>& argv);

}  // namespace tessarin::test
