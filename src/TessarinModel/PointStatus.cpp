#include "TessarinModel/PointStatus.hpp"

#include <bit>

namespace tessarin {

std::optional<std::string> PointStatus::valueText(const Datapoint& point, const NumberLocale& locale) const {
    if (!value) {
        return std::nullopt;
    }
    const bool fromRaw =
        !raw.empty() && std::bit_cast<std::uint64_t>(point.valueFromRegisters(raw.words())) ==
                            std::bit_cast<std::uint64_t>(*value);
    return fromRaw ? point.formattedRegisters(raw.words(), locale) : point.formatted(*value, locale);
}

}  // namespace tessarin
