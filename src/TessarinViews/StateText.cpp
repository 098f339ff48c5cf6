#include "TessarinViews/StateText.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"

namespace tessarin::StateText {

QString of(PollerState state) {
    switch (state) {
        case PollerState::stopped:
            return qtText(L10n::State::stopped());
        case PollerState::connecting:
            return qtText(L10n::State::connecting());
        case PollerState::running:
            return qtText(L10n::State::running());
    }
    return {};
}

}  // namespace tessarin::StateText
