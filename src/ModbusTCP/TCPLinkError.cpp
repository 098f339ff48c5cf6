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
            // The common reasons have their own text in every language; any other keeps the
            // system's text, as strerror gives it but thread-safe: descriptions are made on the
            // engine's worker.
            return L10n::Errors::connectFailed(
                host, port,
                L10n::Errors::connectReason(code, language).value_or(std::generic_category().message(code)),
                language);
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
