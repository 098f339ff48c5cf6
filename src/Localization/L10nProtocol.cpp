// Communication-log pieces, Modbus function and exception names, and error messages.
// Every key lists its texts in the order English, Dutch, German, French, Spanish.
// French puts a no-break space (\u00a0) before ":", ";", "?" and "!".
// A value quoted inside a sentence takes the language's own quotation marks: 'x' in English,
// ‘x’ in Dutch, „x“ in German, « x » in French and «x» in Spanish.
#include "Localization/L10n.hpp"

#include <fmt/format.h>

#include <cerrno>

#include "Localization/LocalizedText.hpp"
#include "ModbusCore/HostPort.hpp"
#include "ModbusCore/ModbusException.hpp"

// The tables keep one language per line so that a translator can read them as columns.
// clang-format off
namespace tessarin::L10n {

using l10n_detail::filled;
using l10n_detail::fixed;
using l10n_detail::takesSingular;

namespace {

std::string hexByte(std::uint8_t byte) { return fmt::format("{:02X}", byte); }

}  // namespace

namespace Log {

std::string connecting(std::string_view address, Language language) {
    return filled(language,
                  {"Connecting to {address}…",
                   "Verbinden met {address}…",
                   "Verbinden mit {address}…",
                   "Connexion à {address}…",
                   "Conectando con {address}…"},
                  fmt::arg("address", address));
}

std::string connected(std::string_view address, Language language) {
    return filled(language,
                  {"Connected to {address}",
                   "Verbonden met {address}",
                   "Verbunden mit {address}",
                   "Connecté à {address}",
                   "Conectado con {address}"},
                  fmt::arg("address", address));
}

std::string disconnected(Language language) {
    return fixed(language, {"Connection lost; reconnecting…",
                            "Verbinding verbroken; opnieuw verbinden…",
                            "Verbindung unterbrochen; neuer Verbindungsaufbau…",
                            "Connexion perdue\u00a0; reconnexion…",
                            "Conexión perdida; reconectando…"});
}

std::string stopped(Language language) {
    return fixed(language, {"Reading stopped",
                            "Uitlezen gestopt",
                            "Abfrage gestoppt",
                            "Lecture arrêtée",
                            "Lectura detenida"});
}

std::string unit(std::uint8_t unit, Language language) {
    return filled(language,
                  {"Unit {unit}",
                   "Unit {unit}",
                   "Unit {unit}",
                   "Unité {unit}",
                   "Unidad {unit}"},
                  fmt::arg("unit", unit));
}

std::string unitFunction(std::uint8_t unit, std::uint8_t function, Language language) {
    return filled(language,
                  {"Unit {unit} · FC {function}",
                   "Unit {unit} · FC {function}",
                   "Unit {unit} · FC {function}",
                   "Unité {unit} · FC {function}",
                   "Unidad {unit} · FC {function}"},
                  fmt::arg("unit", unit), fmt::arg("function", hexByte(function)));
}

std::string range(std::string_view name, std::uint16_t start, std::int64_t count, Language language) {
    if (count == 1) {
        return filled(language, LocalizedText::same("{name} {start}"), fmt::arg("name", name),
                      fmt::arg("start", start));
    }
    // Computed wide, so a block reaching the last address does not wrap around.
    const std::int64_t end = std::int64_t{start} + count - 1;
    return filled(language, LocalizedText::same("{name} {start}–{end}"), fmt::arg("name", name),
                  fmt::arg("start", start), fmt::arg("end", end));
}

std::string failure(const PollFailure& failure, std::int64_t timeoutMs, Language language) {
    using Kind = PollFailure::Kind;
    switch (failure.kind) {
    case Kind::unexpectedUnit:
        return filled(language,
                      {"response from unit {unit}",
                       "antwoord van unit {unit}",
                       "Antwort von Unit {unit}",
                       "réponse de l'unité {unit}",
                       "respuesta de la unidad {unit}"},
                      fmt::arg("unit", failure.value));
    case Kind::unexpectedFunction:
        return filled(language,
                      {"response with function code {function}",
                       "antwoord met functiecode {function}",
                       "Antwort mit Funktionscode {function}",
                       "réponse avec le code fonction {function}",
                       "respuesta con el código de función {function}"},
                      fmt::arg("function", hexByte(failure.value)));
    case Kind::exception:
        return Modbus::exceptionName(failure.value, language);
    case Kind::timeout:
        return filled(language,
                      {"no response within {timeoutMs} ms",
                       "geen antwoord binnen {timeoutMs} ms",
                       "keine Antwort innerhalb von {timeoutMs} ms",
                       "pas de réponse en {timeoutMs} ms",
                       "sin respuesta en {timeoutMs} ms"},
                      fmt::arg("timeoutMs", timeoutMs));
    case Kind::crcMismatch:
        return fixed(language, {"CRC error in the response",
                                "CRC-fout in het antwoord",
                                "CRC-Fehler in der Antwort",
                                "erreur CRC dans la réponse",
                                "error de CRC en la respuesta"});
    case Kind::malformed:
        break;
    case Kind::unitNotReadable:
        return filled(language,
                      {"unit {unit} is not read with RTU over TCP (1 to 247)",
                       "unit {unit} wordt niet gelezen met RTU over TCP (1 t/m 247)",
                       "Unit {unit} wird mit RTU über TCP nicht gelesen (1 bis 247)",
                       "l'unité {unit} n'est pas lue en RTU sur TCP (1 à 247)",
                       "la unidad {unit} no se lee con RTU sobre TCP (1 a 247)"},
                      fmt::arg("unit", failure.value));
    case Kind::noConnection:
        return fixed(language, {"no connection to the device",
                                "geen verbinding met het apparaat",
                                "keine Verbindung zum Gerät",
                                "pas de connexion à l'appareil",
                                "sin conexión con el dispositivo"});
    }
    return fixed(language, {"response with the wrong length",
                            "antwoord met de verkeerde lengte",
                            "Antwort mit falscher Länge",
                            "réponse de longueur incorrecte",
                            "respuesta con una longitud incorrecta"});
}

std::string shortFailure(const PollFailure& failure, Language language) {
    using Kind = PollFailure::Kind;
    switch (failure.kind) {
    case Kind::exception:
        return filled(language,
                      {"Exception {code}",
                       "Uitzondering {code}",
                       "Ausnahme {code}",
                       "Exception {code}",
                       "Excepción {code}"},
                      fmt::arg("code", hexByte(failure.value)));
    case Kind::timeout:
        return fixed(language, {"No response",
                                "Geen antwoord",
                                "Keine Antwort",
                                "Sans réponse",
                                "Sin respuesta"});
    case Kind::crcMismatch:
        return fixed(language, {"CRC error",
                                "CRC-fout",
                                "CRC-Fehler",
                                "Erreur CRC",
                                "Error de CRC"});
    case Kind::noConnection:
        return fixed(language, {"No connection",
                                "Geen verbinding",
                                "Keine Verbindung",
                                "Pas de connexion",
                                "Sin conexión"});
    case Kind::unitNotReadable:
        return fixed(language, {"Unit not read",
                                "Unit niet gelezen",
                                "Unit nicht gelesen",
                                "Unité non lue",
                                "Unidad no leída"});
    case Kind::unexpectedUnit:
    case Kind::unexpectedFunction:
    case Kind::malformed:
        break;
    }
    return fixed(language, {"Invalid response",
                            "Ongeldig antwoord",
                            "Ungültige Antwort",
                            "Réponse non valide",
                            "Respuesta no válida"});
}

std::string writeFailed(std::string_view name, Language language) {
    return filled(language,
                  {"Writing {name} failed",
                   "Schrijven van {name} mislukt",
                   "Schreiben von {name} fehlgeschlagen",
                   "Échec de l'écriture de {name}",
                   "Error al escribir {name}"},
                  fmt::arg("name", name));
}

std::string framesDropped(std::int64_t count, Language language) {
    if (takesSingular(count, language)) {
        return filled(language,
                      {"{count} late or unrequested response dropped:",
                       "{count} te laat of ongevraagd antwoord genegeerd:",
                       "{count} verspätete oder unangeforderte Antwort verworfen:",
                       "{count} réponse tardive ou non demandée ignorée\u00a0:",
                       "{count} respuesta tardía o no solicitada descartada:"},
                      fmt::arg("count", count));
    }
    return filled(language,
                  {"{count} late or unrequested responses dropped:",
                   "{count} te late of ongevraagde antwoorden genegeerd:",
                   "{count} verspätete oder unangeforderte Antworten verworfen:",
                   "{count} réponses tardives ou non demandées ignorées\u00a0:",
                   "{count} respuestas tardías o no solicitadas descartadas:"},
                  fmt::arg("count", count));
}

}  // namespace Log

namespace Modbus {

std::string functionName(std::uint8_t code, Language language) {
    switch (code) {
    case 1:
        return fixed(language, {"Read coils",
                                "Coils lezen",
                                "Coils lesen",
                                "Lecture de bobines",
                                "Leer bobinas"});
    case 2:
        return fixed(language, {"Read discrete inputs",
                                "Discrete inputs lezen",
                                "Discrete Inputs lesen",
                                "Lecture d'entrées discrètes",
                                "Leer entradas discretas"});
    case 3:
        return fixed(language, {"Read holding registers",
                                "Holdingregisters lezen",
                                "Holding-Register lesen",
                                "Lecture de registres de maintien",
                                "Leer registros de retención"});
    case 4:
        return fixed(language, {"Read input registers",
                                "Inputregisters lezen",
                                "Input-Register lesen",
                                "Lecture de registres d'entrée",
                                "Leer registros de entrada"});
    case 5:
        return fixed(language, {"Write single coil",
                                "Eén coil schrijven",
                                "Einzelne Coil schreiben",
                                "Écriture d'une bobine",
                                "Escribir una bobina"});
    case 6:
        return fixed(language, {"Write single register",
                                "Eén register schrijven",
                                "Einzelnes Register schreiben",
                                "Écriture d'un registre",
                                "Escribir un registro"});
    case 8:
        return fixed(language, {"Diagnostics",
                                "Diagnose",
                                "Diagnose",
                                "Diagnostic",
                                "Diagnóstico"});
    case 15:
        return fixed(language, {"Write multiple coils",
                                "Meerdere coils schrijven",
                                "Mehrere Coils schreiben",
                                "Écriture de plusieurs bobines",
                                "Escribir varias bobinas"});
    case 16:
        return fixed(language, {"Write multiple registers",
                                "Meerdere registers schrijven",
                                "Mehrere Register schreiben",
                                "Écriture de plusieurs registres",
                                "Escribir varios registros"});
    case 22:
        return fixed(language, {"Mask write register",
                                "Register met masker schrijven",
                                "Register maskiert schreiben",
                                "Écriture masquée d'un registre",
                                "Escribir registro con máscara"});
    case 23:
        return fixed(language, {"Read/write multiple registers",
                                "Meerdere registers lezen/schrijven",
                                "Mehrere Register lesen/schreiben",
                                "Lecture/écriture de plusieurs registres",
                                "Leer/escribir varios registros"});
    case 43:
        return fixed(language, {"Device identification",
                                "Apparaatidentificatie",
                                "Geräteidentifikation",
                                "Identification de l'appareil",
                                "Identificación del dispositivo"});
    default:
        return fixed(language, {"Function",
                                "Functie",
                                "Funktion",
                                "Fonction",
                                "Función"});
    }
}

std::string functionName(FunctionCode code, Language language) {
    return functionName(rawValue(code), language);
}

namespace {

std::string knownExceptionName(ModbusException exception, Language language) {
    switch (exception) {
    case ModbusException::illegalFunction:
        return fixed(language, {"Illegal function",
                                "Ongeldige functie",
                                "Unzulässige Funktion",
                                "Fonction illégale",
                                "Función no válida"});
    case ModbusException::illegalDataAddress:
        return fixed(language, {"Illegal data address",
                                "Ongeldig data-adres",
                                "Unzulässige Datenadresse",
                                "Adresse de données illégale",
                                "Dirección de datos no válida"});
    case ModbusException::illegalDataValue:
        return fixed(language, {"Illegal data value",
                                "Ongeldige datawaarde",
                                "Unzulässiger Datenwert",
                                "Valeur de données illégale",
                                "Valor de datos no válido"});
    case ModbusException::serverDeviceFailure:
        return fixed(language, {"Server device failure",
                                "Storing in serverapparaat",
                                "Fehler im Servergerät",
                                "Défaillance de l'appareil serveur",
                                "Fallo del dispositivo servidor"});
    case ModbusException::acknowledge:
        return fixed(language, {"Acknowledge",
                                "Bevestiging",
                                "Bestätigung",
                                "Acquittement",
                                "Acuse de recibo"});
    case ModbusException::serverDeviceBusy:
        return fixed(language, {"Server device busy",
                                "Serverapparaat bezet",
                                "Servergerät beschäftigt",
                                "Appareil serveur occupé",
                                "Dispositivo servidor ocupado"});
    case ModbusException::memoryParityError:
        return fixed(language, {"Memory parity error",
                                "Geheugenpariteitsfout",
                                "Speicherparitätsfehler",
                                "Erreur de parité mémoire",
                                "Error de paridad de memoria"});
    case ModbusException::gatewayPathUnavailable:
        return fixed(language, {"Gateway path unavailable",
                                "Gatewaypad niet beschikbaar",
                                "Gateway-Pfad nicht verfügbar",
                                "Chemin de passerelle indisponible",
                                "Ruta de pasarela no disponible"});
    case ModbusException::gatewayTargetFailedToRespond:
        return fixed(language, {"Gateway target failed to respond",
                                "Gatewaydoel reageert niet",
                                "Gateway-Zielgerät antwortet nicht",
                                "Cible de la passerelle sans réponse",
                                "El destino de la pasarela no responde"});
    }
    return std::string(name(exception));
}

}  // namespace

std::string exceptionName(std::uint8_t code, Language language) {
    const auto exception = modbusExceptionFromRawValue(code);
    if (!exception) {
        return filled(language,
                      {"Exception ({code})",
                       "Uitzondering ({code})",
                       "Ausnahme ({code})",
                       "Exception ({code})",
                       "Excepción ({code})"},
                      fmt::arg("code", hexByte(code)));
    }
    return filled(language, LocalizedText::same("{name} ({code})"),
                  fmt::arg("name", knownExceptionName(*exception, language)),
                  fmt::arg("code", hexByte(code)));
}

}  // namespace Modbus

namespace Errors {

std::string alertTitle(Language language) {
    return fixed(language, {"Something went wrong",
                            "Er is iets misgegaan",
                            "Etwas ist schiefgelaufen",
                            "Une erreur s'est produite",
                            "Algo ha salido mal"});
}

std::string enterHost(Language language) {
    return fixed(language, {"Enter the IP address or name of the device.",
                            "Voer het IP-adres of de naam van het apparaat in.",
                            "Geben Sie die IP-Adresse oder den Namen des Geräts ein.",
                            "Saisissez l'adresse IP ou le nom de l'appareil.",
                            "Introduzca la dirección IP o el nombre del dispositivo."});
}

std::string invalidTCPPort(Language language) {
    return fixed(language, {"Enter a TCP port between 1 and 65535.",
                            "Voer een TCP-poort tussen 1 en 65535 in.",
                            "Geben Sie einen TCP-Port zwischen 1 und 65535 ein.",
                            "Saisissez un port TCP compris entre 1 et 65535.",
                            "Introduzca un puerto TCP entre 1 y 65535."});
}

std::string saveFailed(std::string_view reason, Language language) {
    return filled(language,
                  {"Saving failed: {reason}",
                   "Opslaan mislukt: {reason}",
                   "Speichern fehlgeschlagen: {reason}",
                   "Échec de l'enregistrement\u00a0: {reason}",
                   "No se pudo guardar: {reason}"},
                  fmt::arg("reason", reason));
}

std::string fileOpenFailed(std::string_view file, Language language) {
    return filled(language,
                  {"Cannot read {file}. Is it a file of this app?",
                   "Kan {file} niet lezen. Is het een bestand van deze app?",
                   "{file} kann nicht gelesen werden. Ist es eine Datei dieser App?",
                   "Impossible de lire {file}. S'agit-il d'un fichier de cette application\u00a0?",
                   "No se puede leer {file}. ¿Es un archivo de esta aplicación?"},
                  fmt::arg("file", file));
}

std::string importNothing(std::string_view details, Language language) {
    return filled(language,
                  {"No datapoints found in this file. The first line must hold column names, with at least "
                   "Table and Address. {details}",
                   "Geen datapunten gevonden in dit bestand. De eerste regel moet kolomnamen bevatten, met "
                   "ten minste Tabel en Adres. {details}",
                   "Keine Datenpunkte in dieser Datei gefunden. Die erste Zeile muss Spaltennamen enthalten, "
                   "mindestens Tabelle und Adresse. {details}",
                   "Aucun point de données trouvé dans ce fichier. La première ligne doit contenir les noms "
                   "des colonnes, dont au moins Table et Adresse. {details}",
                   "No se han encontrado puntos de datos en este archivo. La primera línea debe contener los "
                   "nombres de las columnas, como mínimo Tabla y Dirección. {details}"},
                  fmt::arg("details", details));
}

std::string importIssue(const DatapointCSV::ImportIssue& issue, Language language) {
    return filled(language,
                  {"Line {line}: {problem}",
                   "Regel {line}: {problem}",
                   "Zeile {line}: {problem}",
                   "Ligne {line}\u00a0: {problem}",
                   "Línea {line}: {problem}"},
                  fmt::arg("line", issue.line), fmt::arg("problem", csvProblem(issue.problem, language)));
}

std::string csvProblem(const DatapointCSV::Problem& problem, Language language) {
    using Kind = DatapointCSV::ProblemKind;
    switch (problem.kind) {
    case Kind::invalidTable:
        return csvInvalidTable(problem.text, language);
    case Kind::invalidAddress:
        return csvInvalidAddress(problem.text, language);
    case Kind::invalidUnit:
        return csvInvalidUnit(problem.text, language);
    case Kind::invalidDataType:
        return csvInvalidDataType(problem.text, language);
    case Kind::invalidNumber:
        return csvInvalidNumber(problem.text, language);
    case Kind::missingColumns:
        break;
    }
    return csvMissingColumns(language);
}

std::string csvMissingColumns(Language language) {
    return fixed(language, {"the columns Table and Address are missing",
                            "de kolommen Tabel en Adres ontbreken",
                            "die Spalten Tabelle und Adresse fehlen",
                            "les colonnes Table et Adresse sont absentes",
                            "faltan las columnas Tabla y Dirección"});
}

std::string csvInvalidTable(std::string_view text, Language language) {
    return filled(language,
                  {"unknown table '{text}' (use CO, DI, HR or IR)",
                   "onbekende tabel ‘{text}’ (gebruik CO, DI, HR of IR)",
                   "unbekannte Tabelle „{text}“ (CO, DI, HR oder IR verwenden)",
                   "table inconnue «\u00a0{text}\u00a0» (utilisez CO, DI, HR ou IR)",
                   "tabla desconocida «{text}» (use CO, DI, HR o IR)"},
                  fmt::arg("text", text));
}

std::string csvInvalidAddress(std::string_view text, Language language) {
    return filled(language,
                  {"invalid address '{text}' (0 to 65535)",
                   "ongeldig adres ‘{text}’ (0 t/m 65535)",
                   "ungültige Adresse „{text}“ (0 bis 65535)",
                   "adresse non valide «\u00a0{text}\u00a0» (0 à 65535)",
                   "dirección no válida «{text}» (0 a 65535)"},
                  fmt::arg("text", text));
}

std::string csvInvalidUnit(std::string_view text, Language language) {
    return filled(language,
                  {"invalid unit ID '{text}' (0 to 255)",
                   "ongeldige unit-ID ‘{text}’ (0 t/m 255)",
                   "ungültige Unit-ID „{text}“ (0 bis 255)",
                   "ID d'unité non valide «\u00a0{text}\u00a0» (0 à 255)",
                   "ID de unidad no válido «{text}» (0 a 255)"},
                  fmt::arg("text", text));
}

std::string csvInvalidDataType(std::string_view text, Language language) {
    return filled(language,
                  {"unknown data type '{text}'",
                   "onbekend datatype ‘{text}’",
                   "unbekannter Datentyp „{text}“",
                   "type de données inconnu «\u00a0{text}\u00a0»",
                   "tipo de datos desconocido «{text}»"},
                  fmt::arg("text", text));
}

std::string csvInvalidNumber(std::string_view text, Language language) {
    return filled(language,
                  {"invalid number '{text}'",
                   "ongeldig getal ‘{text}’",
                   "ungültige Zahl „{text}“",
                   "nombre non valide «\u00a0{text}\u00a0»",
                   "número no válido «{text}»"},
                  fmt::arg("text", text));
}

std::string timeout(Language language) {
    return fixed(language, {"No response from the device.",
                            "Geen antwoord van het apparaat.",
                            "Keine Antwort vom Gerät.",
                            "Pas de réponse de l'appareil.",
                            "No hay respuesta del dispositivo."});
}

std::string resolveFailed(std::string_view host, Language language) {
    return filled(language,
                  {"Cannot find '{host}'. Check the IP address or name.",
                   "Kan ‘{host}’ niet vinden. Controleer het IP-adres of de naam.",
                   "„{host}“ wurde nicht gefunden. Prüfen Sie die IP-Adresse oder den Namen.",
                   "Impossible de trouver «\u00a0{host}\u00a0». Vérifiez l'adresse IP ou le nom.",
                   "No se encuentra «{host}». Compruebe la dirección IP o el nombre."},
                  fmt::arg("host", host));
}

namespace {

// Host and port as the connection errors name them: no brackets, even around IPv6 literals.
std::string endpoint(std::string_view host, std::uint16_t port) { return hostPortText(host, port); }

}  // namespace

std::optional<std::string> connectReason(int errorNumber, Language language) {
    switch (errorNumber) {
    case ECONNREFUSED:
        return fixed(language, {"connection refused (nothing listens on this port)",
                                "verbinding geweigerd (op deze poort luistert niets)",
                                "Verbindung abgelehnt (auf diesem Port lauscht nichts)",
                                "connexion refusée (rien n'écoute sur ce port)",
                                "conexión rechazada (nada escucha en este puerto)"});
    case EHOSTUNREACH:
        return fixed(language, {"host unreachable",
                                "host onbereikbaar",
                                "Host nicht erreichbar",
                                "hôte injoignable",
                                "host inaccesible"});
    case ENETUNREACH:
        return fixed(language, {"network unreachable",
                                "netwerk onbereikbaar",
                                "Netzwerk nicht erreichbar",
                                "réseau injoignable",
                                "red inaccesible"});
    case ETIMEDOUT:
        return fixed(language, {"connection timed out",
                                "time-out bij het verbinden",
                                "Zeitüberschreitung beim Verbindungsaufbau",
                                "délai de connexion dépassé",
                                "tiempo de conexión agotado"});
    case ECONNRESET:
        return fixed(language, {"connection reset by the device",
                                "verbinding verbroken door het apparaat",
                                "Verbindung vom Gerät zurückgesetzt",
                                "connexion réinitialisée par l'appareil",
                                "el dispositivo ha cortado la conexión"});
    default:
        return std::nullopt;
    }
}

std::string connectFailed(std::string_view host, std::uint16_t port, std::string_view reason,
                          Language language) {
    return filled(language,
                  {"Connecting to {address} failed: {reason}.",
                   "Verbinden met {address} mislukt: {reason}.",
                   "Verbindung mit {address} fehlgeschlagen: {reason}.",
                   "Échec de la connexion à {address}\u00a0: {reason}.",
                   "Error al conectar con {address}: {reason}."},
                  fmt::arg("address", endpoint(host, port)), fmt::arg("reason", reason));
}

std::string connectTimeout(std::string_view host, std::uint16_t port, Language language) {
    return filled(language,
                  {"{address} does not answer. Is the device on and is the address right?",
                   "{address} antwoordt niet. Staat het apparaat aan en klopt het adres?",
                   "{address} antwortet nicht. Ist das Gerät eingeschaltet und die Adresse richtig?",
                   "{address} ne répond pas. L'appareil est-il allumé et l'adresse est-elle correcte\u00a0?",
                   "{address} no responde. ¿Está encendido el dispositivo y es correcta la dirección?"},
                  fmt::arg("address", endpoint(host, port)));
}

std::string connectionClosed(Language language) {
    return fixed(language, {"The connection was closed.",
                            "De verbinding is verbroken.",
                            "Die Verbindung wurde geschlossen.",
                            "La connexion a été fermée.",
                            "Se ha cerrado la conexión."});
}

std::string invalidResponse(Language language) {
    return fixed(language, {"The response is not valid Modbus TCP.",
                            "Het antwoord is geen geldig Modbus TCP.",
                            "Die Antwort ist kein gültiges Modbus TCP.",
                            "La réponse n'est pas du Modbus TCP valide.",
                            "La respuesta no es Modbus TCP válido."});
}

}  // namespace Errors

}  // namespace tessarin::L10n
// clang-format on
