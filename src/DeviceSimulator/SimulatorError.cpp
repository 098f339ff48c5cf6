#include "DeviceSimulator/SimulatorError.hpp"

#include "Localization/L10n.hpp"
#include "ModbusCore/HostPort.hpp"

#include <cstring>

namespace tessarin {

std::string SimulatorError::description() const {
    if (kind == Kind::resolveFailed) return L10n::Errors::resolveFailed(host);
    return L10n::Simulator::listenFailed(hostPortText(host, port), std::strerror(code));
}

}  // namespace tessarin
