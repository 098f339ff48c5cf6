// The command-line device simulator: its usage, its refusals and its connection log.
// Every key lists its texts in the order English, Dutch, German, French, Spanish.
// French puts a no-break space (\u00a0) before ":", ";", "?" and "!".
#include "Localization/L10n.hpp"

#include "Localization/LocalizedText.hpp"

// clang-format off
namespace tessarin::L10n::Simulator {

using l10n_detail::filled;
using l10n_detail::fixed;

std::string usage(Language language) {
    return fixed(language,
                 {"Usage: tessarin-sim [PROJECT.json] [--port N] [--bind ADDR] [--framing modbusTCP|rtuOverTCP] [--latency MS]",
                  "Gebruik: tessarin-sim [PROJECT.json] [--port N] [--bind ADRES] [--framing modbusTCP|rtuOverTCP] [--latency MS]",
                  "Aufruf: tessarin-sim [PROJEKT.json] [--port N] [--bind ADRESSE] [--framing modbusTCP|rtuOverTCP] [--latency MS]",
                  "Utilisation\u00a0: tessarin-sim [PROJET.json] [--port N] [--bind ADRESSE] [--framing modbusTCP|rtuOverTCP] [--latency MS]",
                  "Uso: tessarin-sim [PROYECTO.json] [--port N] [--bind DIRECCIÓN] [--framing modbusTCP|rtuOverTCP] [--latency MS]"});
}

std::string unknownOption(std::string_view option, Language language) {
    return filled(language,
                  {"Unknown option {option}.",
                   "Onbekende optie {option}.",
                   "Unbekannte Option {option}.",
                   "Option inconnue {option}.",
                   "Opción desconocida {option}."},
                  fmt::arg("option", option));
}

std::string missingValue(std::string_view option, Language language) {
    return filled(language,
                  {"The option {option} needs a value.",
                   "De optie {option} heeft een waarde nodig.",
                   "Die Option {option} braucht einen Wert.",
                   "L'option {option} demande une valeur.",
                   "La opción {option} necesita un valor."},
                  fmt::arg("option", option));
}

std::string invalidValue(std::string_view option, std::string_view value, Language language) {
    return filled(language,
                  {"'{value}' is not a valid value for {option}.",
                   "‘{value}’ is geen geldige waarde voor {option}.",
                   "„{value}“ ist kein gültiger Wert für {option}.",
                   "«\u00a0{value}\u00a0» n'est pas une valeur valide pour {option}.",
                   "«{value}» no es un valor válido para {option}."},
                  fmt::arg("option", option), fmt::arg("value", value));
}

std::string oneProjectOnly(std::string_view file, Language language) {
    return filled(language,
                  {"Only one project can be served; {file} is one too many.",
                   "Er kan maar één project worden gesimuleerd; {file} is er één te veel.",
                   "Es kann nur ein Projekt bedient werden; {file} ist eines zu viel.",
                   "Un seul projet peut être servi\u00a0; {file} est de trop.",
                   "Solo se puede servir un proyecto; {file} sobra."},
                  fmt::arg("file", file));
}

std::string listenFailed(std::string_view address, std::string_view reason, Language language) {
    return filled(language,
                  {"Cannot listen on {address}: {reason}.",
                   "Kan niet luisteren op {address}: {reason}.",
                   "Auf {address} kann nicht gewartet werden: {reason}.",
                   "Impossible d'écouter sur {address}\u00a0: {reason}.",
                   "No se puede escuchar en {address}: {reason}."},
                  fmt::arg("address", address), fmt::arg("reason", reason));
}

std::string portFallback(std::int64_t port, std::int64_t fallback, Language language) {
    return filled(language,
                  {"Port {port} cannot be used (it needs administrator rights or is taken); using port {fallback}.",
                   "Poort {port} is niet te gebruiken (beheerdersrechten nodig of bezet); poort {fallback} wordt gebruikt.",
                   "Port {port} ist nicht nutzbar (Administratorrechte nötig oder belegt); Port {fallback} wird verwendet.",
                   "Le port {port} n'est pas utilisable (droits d'administrateur requis ou occupé)\u00a0; le port {fallback} est utilisé.",
                   "El puerto {port} no se puede usar (requiere permisos de administrador o está ocupado); se usa el puerto {fallback}."},
                  fmt::arg("port", port), fmt::arg("fallback", fallback));
}

std::string serving(std::string_view project, std::string_view address, std::string_view framing,
                    Language language) {
    return filled(language,
                  {"Serving {project} on {address} ({framing}). Stop with Ctrl+C.",
                   "{project} wordt gesimuleerd op {address} ({framing}). Stoppen met Ctrl+C.",
                   "{project} wird auf {address} bedient ({framing}). Beenden mit Strg+C.",
                   "{project} est servi sur {address} ({framing}). Arrêt avec Ctrl+C.",
                   "Sirviendo {project} en {address} ({framing}). Detener con Ctrl+C."},
                  fmt::arg("project", project), fmt::arg("address", address), fmt::arg("framing", framing));
}

std::string clientConnected(std::string_view client, Language language) {
    return filled(language,
                  {"{client} connected",
                   "{client} verbonden",
                   "{client} verbunden",
                   "{client} connecté",
                   "{client} conectado"},
                  fmt::arg("client", client));
}

std::string clientDisconnected(std::string_view client, Language language) {
    return filled(language,
                  {"{client} disconnected",
                   "{client} verbroken",
                   "{client} getrennt",
                   "{client} déconnecté",
                   "{client} desconectado"},
                  fmt::arg("client", client));
}

std::string clientDropped(std::string_view client, Language language) {
    return filled(language,
                  {"{client} disconnected: no valid Modbus request",
                   "{client} verbroken: geen geldig Modbus-verzoek",
                   "{client} getrennt: keine gültige Modbus-Anfrage",
                   "{client} déconnecté\u00a0: pas de requête Modbus valide",
                   "{client} desconectado: ninguna petición Modbus válida"},
                  fmt::arg("client", client));
}

std::string stopped(Language language) {
    return fixed(language, {"Simulator stopped.",
                            "Simulator gestopt.",
                            "Simulator beendet.",
                            "Simulateur arrêté.",
                            "Simulador detenido."});
}

}  // namespace tessarin::L10n::Simulator
