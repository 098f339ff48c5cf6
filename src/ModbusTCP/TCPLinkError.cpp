#include "ModbusTCP/TCPLinkError.hpp"

#include "Localization/L10n.hpp"

#include <system_error>

namespace tessarin {

std::string TCPLinkError::localizedDescription() const {
    return localizedDescription(currentLanguage());
}

std::string TCPLinkError::localizedDescription(Language language) const {
    switch (kind) {
        case Kind::resolveFailed:
            return L10n::Errors::resolveFailed(host, language);
        case Kind::connectFailed:
            // The system's own text for the error number, as strerror gives it, but thread-safe:
            // descriptions are made on the engine's worker.
            return L10n::Errors::connectFailed(host, port, std::generic_category().message(code), language);
        case Kind::connectTimeout:
            return L10n::Errors::connectTimeout(host, port, language);
        case Kind::timeout:
            return L10n::Errors::timeout(language);
        case Kind::disconnected:
            return L10n::Errors::connectionClosed(language);
        case Kind::invalidResponse:
            return L10n::Errors::invalidResponse(language);
    }
    return L10n::Errors::connectionClosed(language);
}

}  // namespace tessarin
