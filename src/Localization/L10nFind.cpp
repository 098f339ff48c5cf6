// The log's find bar. Every key lists its texts in the order English, Dutch, German, French,
// Spanish.
#include "Localization/L10n.hpp"

#include "Localization/LocalizedText.hpp"

// The tables keep one language per line so that a translator can read them as columns.
// clang-format off
namespace tessarin::L10n::Find {

using l10n_detail::fixed;

std::string placeholder(Language language) {
    return fixed(language, {"Find in log",
                            "Zoeken in log",
                            "Im Protokoll suchen",
                            "Rechercher dans le journal",
                            "Buscar en el registro"});
}

std::string next(Language language) {
    return fixed(language, {"Next",
                            "Volgende",
                            "Weiter",
                            "Suivant",
                            "Siguiente"});
}

std::string previous(Language language) {
    return fixed(language, {"Previous",
                            "Vorige",
                            "Zurück",
                            "Précédent",
                            "Anterior"});
}

std::string done(Language language) {
    return fixed(language, {"Done",
                            "Gereed",
                            "Fertig",
                            "Terminé",
                            "Listo"});
}

std::string notFound(Language language) {
    return fixed(language, {"Not found",
                            "Niet gevonden",
                            "Nicht gefunden",
                            "Introuvable",
                            "No encontrado"});
}

}  // namespace tessarin::L10n::Find
// clang-format on
