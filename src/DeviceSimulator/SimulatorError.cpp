#include "DeviceSimulator/SimulatorError.hpp"

#include "Localization/L10n.hpp"
#include "ModbusCore/HostPort.hpp"

#include <system_error>

namespace tessarin {

// The system's text for the error, as strerror gives it but safe from any thread.
std::string SimulatorError::description() const {
    if (kind == Kind::resolveFailed) return L10n::Errors::resolveFailed(host);
    return L10n::Simulator::listenFailed(hostPortText(host, port), std::generic_category().message(code));
}

}  // namespace tessarin
