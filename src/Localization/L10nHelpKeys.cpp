// The help window's own texts. Every key lists its texts in the order English, Dutch,
// German, French, Spanish.
#include "Localization/L10n.hpp"

#include "Localization/LocalizedText.hpp"

// The tables keep one language per line so that a translator can read them as columns.
// clang-format off
namespace tessarin::L10n::Help {

using l10n_detail::fixed;

namespace {

constexpr LocalizedText helpTitle{"Tessarin Help", "Tessarin-help", "Tessarin-Hilfe", "Aide de Tessarin",
                                  "Ayuda de Tessarin"};

}  // namespace

std::string menuItem(Language language) { return fixed(language, helpTitle); }
std::string windowTitle(Language language) { return fixed(language, helpTitle); }

std::string searchPrompt(Language language) {
    return fixed(language, {"Search help",
                            "Help doorzoeken",
                            "Hilfe durchsuchen",
                            "Rechercher dans l'aide",
                            "Buscar en la ayuda"});
}

std::string noResults(Language language) {
    return fixed(language, {"No topics found",
                            "Geen onderwerpen gevonden",
                            "Keine Themen gefunden",
                            "Aucun sujet trouvé",
                            "No se han encontrado temas"});
}

std::string tipLabel(Language language) {
    return fixed(language, {"Tip",
                            "Tip",
                            "Tipp",
                            "Astuce",
                            "Consejo"});
}

}  // namespace tessarin::L10n::Help
// clang-format on
