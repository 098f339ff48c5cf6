// tessarin-sim: serves a project's datapoints as a Modbus device, or the example project with
// demo generators when no project is given. See SimulatorCommandLine for the arguments.

#include "DeviceSimulator/DemoGenerators.hpp"
#include "DeviceSimulator/DeviceSimulator.hpp"
#include "DeviceSimulator/SimulatorCommandLine.hpp"
#include "Localization/L10n.hpp"
#include "ModbusCore/HostPort.hpp"
#include "PollerCore/ExampleProject.hpp"

#include <fmt/format.h>

#include <signal.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace tessarin;

constexpr int exitUsage = 2;
constexpr int exitFailure = 1;

void printLine(std::FILE* stream, const std::string& line) {
    std::fputs(line.c_str(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

std::optional<PollerProject> readProject(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) return std::nullopt;
    auto project = PollerProject::fromDocument(text);
    if (!project) return std::nullopt;
    return std::move(*project);
}

// Starts on the chosen port; without one on 502, and on 1502 with a note when 502 is refused
// (it needs administrator rights on most systems, or another server holds it).
std::expected<std::unique_ptr<DeviceSimulator>, SimulatorError> startServing(const SimulatorCommandLine& line,
                                                                             const SimulatedDevice& device) {
    SimulatorOptions options;
    options.bindAddress = line.bindAddress;
    options.framing = line.framing;
    options.latency = line.latency;
    options.log = [](const std::string& text) { printLine(stdout, text); };
    options.port = line.port.value_or(modbusTCPPort);
    auto simulator = DeviceSimulator::start(device, options);
    if (simulator || line.port || simulator.error().kind != SimulatorError::Kind::listenFailed)
        return simulator;
    printLine(stderr, L10n::Simulator::portFallback(modbusTCPPort, simulatorFallbackPort));
    options.port = simulatorFallbackPort;
    return DeviceSimulator::start(device, options);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const auto line = SimulatorCommandLine::parse(arguments);
    if (!line) {
        printLine(stderr, line.error());
        printLine(stderr, L10n::Simulator::usage());
        return exitUsage;
    }
    if (line->help) {
        printLine(stdout, L10n::Simulator::usage());
        return 0;
    }

    PollerProject project;
    std::string projectName;
    if (line->projectPath) {
        const std::string fileName = std::filesystem::path(*line->projectPath).filename().string();
        auto read = readProject(*line->projectPath);
        if (!read) {
            printLine(stderr, L10n::Errors::fileOpenFailed(fileName));
            return exitFailure;
        }
        project = std::move(*read);
        projectName = fileName;
    } else {
        project = DemoGenerators::applied(makeExampleProject());
        projectName = L10n::Example::pollName();
    }

    // The signals are taken by sigwait below, never by a handler, so the server thread (which
    // inherits this mask) is never interrupted and the shut-down runs as ordinary code.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    auto simulator = startServing(*line, SimulatedDevice(project));
    if (!simulator) {
        printLine(stderr, simulator.error().description());
        return exitFailure;
    }
    printLine(stdout,
              L10n::Simulator::serving(projectName, hostPortText(line->bindAddress, (*simulator)->port()),
                                       rawValue(line->framing)));

    int received = 0;
    while (sigwait(&stopSignals, &received) != 0) {
    }
    (*simulator)->stop();
    printLine(stdout, L10n::Simulator::stopped());
    return 0;
}
