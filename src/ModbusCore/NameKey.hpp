#pragma once

#include <string>
#include <string_view>

namespace tessarin {

// The form in which names that people type are compared: case folded in any script, accents
// dropped ("Entrée" and "entree" meet), spaces, tabs and no-break spaces removed, and hyphens,
// underscores and apostrophes removed where they join two characters ("Holding-Register",
// "registre d'entrée"). A joiner at either end stays, so "-1" never turns into "1". Other
// characters, line breaks included, pass through.
[[nodiscard]] std::string nameKey(std::string_view text);

}  // namespace tessarin
