#include "DeviceSimulator/SimulatorCommandLine.hpp"

#include "Localization/L10n.hpp"

#include <charconv>

namespace tessarin {

namespace {

// A whole decimal number within low ... high, else no value.
std::optional<long long> number(std::string_view text, long long low, long long high) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    if (value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace

std::expected<SimulatorCommandLine, std::string> SimulatorCommandLine::parse(
    std::span<const std::string_view> arguments) {
    SimulatorCommandLine line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            line.help = true;
            continue;
        }
        if (!argument.starts_with("-") || argument == "-") {
            if (line.projectPath) return std::unexpected(L10n::Simulator::oneProjectOnly(argument));
            line.projectPath = std::string(argument);
            continue;
        }
        if (argument != "--port" && argument != "--bind" && argument != "--framing" &&
            argument != "--latency") {
            return std::unexpected(L10n::Simulator::unknownOption(argument));
        }
        if (i + 1 >= arguments.size()) return std::unexpected(L10n::Simulator::missingValue(argument));
        const std::string_view value = arguments[++i];
        const auto invalid = [&] { return std::unexpected(L10n::Simulator::invalidValue(argument, value)); };
        if (argument == "--port") {
            const auto port = number(value, 0, 65535);
            if (!port) return invalid();
            line.port = static_cast<std::uint16_t>(*port);
        } else if (argument == "--bind") {
            if (value.empty()) return invalid();
            line.bindAddress = std::string(value);
        } else if (argument == "--framing") {
            const auto framing = tcpFramingFromRawValue(value);
            if (!framing) return invalid();
            line.framing = *framing;
        } else {
            const auto latency = number(value, 0, maxSimulatorLatency.count());
            if (!latency) return invalid();
            line.latency = std::chrono::milliseconds(*latency);
        }
    }
    return line;
}

}  // namespace tessarin
