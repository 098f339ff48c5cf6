// The connection bar, its settings, the reading state, notices, the footer and the menus.
// Every key lists its texts in the order English, Dutch, German, French, Spanish.
// French puts a no-break space (\u00a0) before ":", ";", "?" and "!".
#include "Localization/L10n.hpp"

#include "Localization/LocalizedText.hpp"

// The tables keep one language per line so that a translator can read them as columns.
// clang-format off
namespace tessarin::L10n {

using l10n_detail::filled;
using l10n_detail::fixed;

std::string appName(Language language) { return fixed(language, LocalizedText::same("Tessarin")); }

namespace Header {

std::string start(Language language) {
    return fixed(language, {"Start",
                            "Start",
                            "Start",
                            "Démarrer",
                            "Iniciar"});
}

std::string stop(Language language) {
    return fixed(language, {"Stop",
                            "Stop",
                            "Stopp",
                            "Arrêter",
                            "Detener"});
}

std::string startHelp(Language language) {
    return fixed(language, {"Start reading (⌘R)",
                            "Uitlezen starten (⌘R)",
                            "Abfrage starten (⌘R)",
                            "Démarrer la lecture (⌘R)",
                            "Iniciar la lectura (⌘R)"});
}

std::string stopHelp(Language language) {
    return fixed(language, {"Stop reading (⌘R)",
                            "Uitlezen stoppen (⌘R)",
                            "Abfrage stoppen (⌘R)",
                            "Arrêter la lecture (⌘R)",
                            "Detener la lectura (⌘R)"});
}

std::string frameSettingsHelp(Language language) {
    return fixed(language, {"Protocol, response timeout, combining requests and write method",
                            "Protocol, antwoordtime-out, verzoeken samenvoegen en schrijfmethode",
                            "Protokoll, Antwort-Timeout, Zusammenfassen von Anfragen und Schreibmethode",
                            "Protocole, délai de réponse, regroupement des requêtes et méthode d'écriture",
                            "Protocolo, tiempo de espera, agrupación de peticiones y método de escritura"});
}

std::string lockedWhileRunning(Language language) {
    return fixed(language, {"Stop reading to change this",
                            "Stop het uitlezen om dit te wijzigen",
                            "Abfrage stoppen, um dies zu ändern",
                            "Arrêtez la lecture pour modifier ce réglage",
                            "Detenga la lectura para cambiar este ajuste"});
}

}  // namespace Header

namespace TCP {

std::string host(Language language) {
    return fixed(language, {"Server",
                            "Server",
                            "Server",
                            "Serveur",
                            "Servidor"});
}

std::string hostPlaceholder(Language language) {
    return fixed(language, {"IP address or name",
                            "IP-adres of naam",
                            "IP-Adresse oder Name",
                            "Adresse IP ou nom",
                            "Dirección IP o nombre"});
}

std::string hostHelp(Language language) {
    return fixed(language, {"The IP address or name of the Modbus TCP device, for example 192.168.1.20",
                            "Het IP-adres of de naam van het Modbus TCP-apparaat, bijvoorbeeld 192.168.1.20",
                            "Die IP-Adresse oder der Name des Modbus-TCP-Geräts, zum Beispiel 192.168.1.20",
                            "L'adresse IP ou le nom de l'appareil Modbus TCP, par exemple 192.168.1.20",
                            "La dirección IP o el nombre del dispositivo Modbus TCP, por ejemplo "
                            "192.168.1.20"});
}

std::string port(Language language) {
    return fixed(language, {"TCP port",
                            "TCP-poort",
                            "TCP-Port",
                            "Port TCP",
                            "Puerto TCP"});
}

std::string portHelp(Language language) {
    return fixed(language, {"Modbus TCP uses port 502 by default",
                            "Modbus TCP gebruikt standaard poort 502",
                            "Modbus TCP verwendet standardmäßig Port 502",
                            "Modbus TCP utilise par défaut le port 502",
                            "Modbus TCP usa por defecto el puerto 502"});
}

std::string portInvalid(Language language) {
    return fixed(language, {"Invalid port (1–65535)",
                            "Ongeldige poort (1–65535)",
                            "Ungültiger Port (1–65535)",
                            "Port non valide (1–65535)",
                            "Puerto no válido (1–65535)"});
}

std::string framing(Language language) {
    return fixed(language, {"Protocol",
                            "Protocol",
                            "Protokoll",
                            "Protocole",
                            "Protocolo"});
}

std::string modbusTCP(Language language) {
    return fixed(language, {"Modbus TCP",
                            "Modbus TCP",
                            "Modbus TCP",
                            "Modbus TCP",
                            "Modbus TCP"});
}

std::string rtuOverTCP(Language language) {
    return fixed(language, {"RTU over TCP",
                            "RTU over TCP",
                            "RTU über TCP",
                            "RTU sur TCP",
                            "RTU sobre TCP"});
}

std::string framingHelp(Language language) {
    return fixed(language,
                 {"Modbus TCP: messages with an MBAP header, the standard. RTU over TCP: RTU frames with "
                  "CRC, as Ethernet and WiFi to RS-485 converters pass them on in transparent mode.",
                  "Modbus TCP: berichten met een MBAP-header, de standaard. RTU over TCP: RTU-frames met "
                  "CRC, zoals ethernet- en wifi-naar-RS-485-converters ze in transparante modus doorgeven.",
                  "Modbus TCP: Nachrichten mit MBAP-Header, der Standard. RTU über TCP: RTU-Frames mit CRC, "
                  "wie Ethernet- und WLAN-auf-RS-485-Umsetzer sie im transparenten Modus weiterreichen.",
                  "Modbus TCP\u00a0: messages avec en-tête MBAP, le standard. RTU sur TCP\u00a0: trames RTU "
                  "avec CRC, telles que les convertisseurs Ethernet et Wi-Fi vers RS-485 les transmettent en "
                  "mode transparent.",
                  "Modbus TCP: mensajes con cabecera MBAP, el estándar. RTU sobre TCP: tramas RTU con CRC, "
                  "tal como las reenvían en modo transparente los convertidores Ethernet y WiFi a RS-485."});
}

}  // namespace TCP

namespace Settings {

std::string requests(Language language) {
    return fixed(language, {"Requests",
                            "Verzoeken",
                            "Anfragen",
                            "Requêtes",
                            "Peticiones"});
}

std::string responseTimeout(Language language) {
    return fixed(language, {"Response timeout",
                            "Antwoordtime-out",
                            "Antwort-Timeout",
                            "Délai de réponse",
                            "Tiempo de espera"});
}

std::string timeoutHelp(Language language) {
    return fixed(language,
                 {"How long the app waits for the device to answer. After that the request counts as a "
                  "timeout.",
                  "Hoelang de app op een antwoord van het apparaat wacht. Daarna telt het verzoek als "
                  "time-out.",
                  "Wie lange die App auf die Antwort des Geräts wartet. Danach gilt die Anfrage als Timeout.",
                  "Durée pendant laquelle l'application attend la réponse de l'appareil. Au-delà, la requête "
                  "compte comme un dépassement de délai.",
                  "Cuánto tiempo espera la aplicación la respuesta del dispositivo. Pasado ese tiempo, la "
                  "petición cuenta como tiempo de espera agotado."});
}

std::string milliseconds(std::int64_t ms, Language language) {
    return filled(language, LocalizedText::same("{ms} ms"), fmt::arg("ms", ms));
}

std::string combine(Language language) {
    return fixed(language, {"Combine reads",
                            "Lezen samenvoegen",
                            "Lesezugriffe bündeln",
                            "Regrouper les lectures",
                            "Agrupar lecturas"});
}

std::string gapLabel(std::int64_t gap, Language language) {
    if (gap == 0) {
        return fixed(language, {"Adjacent only",
                                "Alleen aaneengesloten",
                                "Nur lückenlos",
                                "Adjacentes uniquement",
                                "Solo contiguas"});
    }
    return filled(language,
                  {"Gaps up to {gap} addresses",
                   "Gaten tot {gap} adressen",
                   "Lücken bis {gap} Adressen",
                   "Écarts jusqu'à {gap} adresses",
                   "Huecos de hasta {gap} direcciones"},
                  fmt::arg("gap", gap));
}

std::string combineHelp(Language language) {
    return fixed(language,
                 {"Datapoints close together are read in one request. Bridging gaps is faster, but some "
                  "devices then answer exception 02 for addresses they do not have.",
                  "Datapunten die dicht bij elkaar liggen, worden in één verzoek gelezen. Gaten overbruggen "
                  "is sneller, maar sommige apparaten antwoorden dan met uitzondering 02 voor adressen die "
                  "ze niet hebben.",
                  "Nah beieinanderliegende Datenpunkte werden in einer Anfrage gelesen. Lücken zu "
                  "überbrücken ist schneller, aber manche Geräte antworten dann mit Ausnahme 02 für "
                  "Adressen, die sie nicht haben.",
                  "Les points de données proches sont lus en une seule requête. Combler les écarts est plus "
                  "rapide, mais certains appareils répondent alors par l'exception 02 pour les adresses "
                  "qu'ils n'ont pas.",
                  "Los puntos de datos cercanos se leen en una sola petición. Salvar los huecos es más "
                  "rápido, pero algunos dispositivos responden entonces con la excepción 02 para las "
                  "direcciones que no tienen."});
}

std::string writeMode(Language language) {
    return fixed(language, {"Writes",
                            "Schrijven",
                            "Schreiben",
                            "Écritures",
                            "Escrituras"});
}

std::string writeSingle(Language language) {
    return fixed(language, {"FC05/06 for one value",
                            "FC05/06 voor één waarde",
                            "FC05/06 für einen Wert",
                            "FC05/06 pour une valeur",
                            "FC05/06 para un valor"});
}

std::string writeMultiple(Language language) {
    return fixed(language, {"Always FC15/16",
                            "Altijd FC15/16",
                            "Immer FC15/16",
                            "Toujours FC15/16",
                            "Siempre FC15/16"});
}

std::string writeModeHelp(Language language) {
    return fixed(language,
                 {"Some devices only support FC16 (write multiple registers), even for a single register.",
                  "Sommige apparaten ondersteunen alleen FC16 (meerdere registers schrijven), ook voor één "
                  "register.",
                  "Manche Geräte unterstützen nur FC16 (mehrere Register schreiben), auch für ein einzelnes "
                  "Register.",
                  "Certains appareils ne prennent en charge que FC16 (écriture de plusieurs registres), même "
                  "pour un seul registre.",
                  "Algunos dispositivos solo admiten FC16 (escribir varios registros), incluso para un único "
                  "registro."});
}

}  // namespace Settings

namespace State {

std::string running(Language language) {
    return fixed(language, {"Reading",
                            "Uitlezen",
                            "Abfrage läuft",
                            "Lecture en cours",
                            "Leyendo"});
}

std::string connecting(Language language) {
    return fixed(language, {"Connecting…",
                            "Verbinden…",
                            "Verbinden…",
                            "Connexion…",
                            "Conectando…"});
}

std::string stopped(Language language) {
    return fixed(language, {"Stopped",
                            "Gestopt",
                            "Gestoppt",
                            "Arrêté",
                            "Detenido"});
}

}  // namespace State

namespace Notice {

std::string emptyTitle(Language language) {
    return fixed(language, {"Ready to read",
                            "Klaar om uit te lezen",
                            "Bereit zur Abfrage",
                            "Prêt pour la lecture",
                            "Listo para leer"});
}

std::string emptySteps(Language language) {
    return fixed(language,
                 {"Enter the IP address and port of your Modbus TCP device at the top, enter the datapoints "
                  "in the table (unit, table, address and type), and click Start (⌘R).",
                  "Vul bovenaan het IP-adres en de poort van je Modbus TCP-apparaat in, voer de datapunten "
                  "in de tabel in (unit-ID, tabel, adres en type) en klik op Start (⌘R).",
                  "Geben Sie oben die IP-Adresse und den Port Ihres Modbus-TCP-Geräts ein, tragen Sie die "
                  "Datenpunkte in die Tabelle ein (Unit-ID, Tabelle, Adresse und Typ) und klicken Sie auf "
                  "Start (⌘R).",
                  "Saisissez en haut l'adresse IP et le port de votre appareil Modbus TCP, entrez les points "
                  "de données dans le tableau (ID d'unité, table, adresse et type), puis cliquez sur "
                  "Démarrer (⌘R).",
                  "Introduzca arriba la dirección IP y el puerto de su dispositivo Modbus TCP, introduzca "
                  "los puntos de datos en la tabla (ID de unidad, tabla, dirección y tipo) y haga clic en "
                  "Iniciar (⌘R)."});
}

std::string startPolling(Language language) {
    return fixed(language, {"Start reading",
                            "Uitlezen starten",
                            "Abfrage starten",
                            "Démarrer la lecture",
                            "Iniciar la lectura"});
}

std::string noResponse(Language language) {
    return fixed(language,
                 {"The device does not respond. Check the unit ID (often 1 or 255) and whether the device "
                  "speaks Modbus TCP on this port.",
                  "Het apparaat reageert niet. Controleer de unit-ID (vaak 1 of 255) en of het apparaat op "
                  "deze poort Modbus TCP spreekt.",
                  "Das Gerät antwortet nicht. Prüfen Sie die Unit-ID (oft 1 oder 255) und ob das Gerät auf "
                  "diesem Port Modbus TCP spricht.",
                  "L'appareil ne répond pas. Vérifiez l'ID d'unité (souvent 1 ou 255) et que l'appareil "
                  "parle bien Modbus TCP sur ce port.",
                  "El dispositivo no responde. Compruebe el ID de unidad (a menudo 1 o 255) y si el "
                  "dispositivo habla Modbus TCP en este puerto."});
}

std::string connectionProblem(std::string_view problem, Language language) {
    return filled(language,
                  {"{problem} The app tries again every few seconds.",
                   "{problem} De app probeert het om de paar seconden opnieuw.",
                   "{problem} Die App versucht es alle paar Sekunden erneut.",
                   "{problem} L'application réessaie à intervalles de quelques secondes.",
                   "{problem} La aplicación lo vuelve a intentar cada pocos segundos."},
                  fmt::arg("problem", problem));
}

std::string dismiss(Language language) {
    return fixed(language, {"Dismiss",
                            "Sluiten",
                            "Schließen",
                            "Fermer",
                            "Cerrar"});
}

std::string writeFailed(std::string_view name, std::string_view reason, Language language) {
    return filled(language,
                  {"Writing {name} failed: {reason}.",
                   "Schrijven van {name} mislukt: {reason}.",
                   "Schreiben von {name} fehlgeschlagen: {reason}.",
                   "Échec de l'écriture de {name}\u00a0: {reason}.",
                   "Error al escribir {name}: {reason}."},
                  fmt::arg("name", name), fmt::arg("reason", reason));
}

std::string startFirst(Language language) {
    return fixed(language, {"Start reading first (⌘R) to write values.",
                            "Start eerst het uitlezen (⌘R) om waarden te schrijven.",
                            "Starten Sie zuerst die Abfrage (⌘R), um Werte zu schreiben.",
                            "Démarrez d'abord la lecture (⌘R) pour écrire des valeurs.",
                            "Inicie primero la lectura (⌘R) para escribir valores."});
}

}  // namespace Notice

namespace Footer {

std::string showLog(Language language) {
    return fixed(language, {"Log",
                            "Log",
                            "Log",
                            "Journal",
                            "Log"});
}

std::string showLogHelp(Language language) {
    return fixed(language, {"Show or hide the communication with the device (⌘L)",
                            "Communicatie met het apparaat tonen of verbergen (⌘L)",
                            "Kommunikation mit dem Gerät ein- oder ausblenden (⌘L)",
                            "Afficher ou masquer la communication avec l'appareil (⌘L)",
                            "Mostrar u ocultar la comunicación con el dispositivo (⌘L)"});
}

std::string showLogMenu(Language language) {
    return fixed(language, {"Show Log",
                            "Log tonen",
                            "Log anzeigen",
                            "Afficher le journal",
                            "Mostrar log"});
}

std::string options(Language language) {
    return fixed(language, {"Log options",
                            "Logopties",
                            "Log-Optionen",
                            "Options du journal",
                            "Opciones del log"});
}

std::string optionsHelp(Language language) {
    return fixed(language, {"Timestamps, raw frames and autoscroll",
                            "Tijdstempels, ruwe frames en automatisch scrollen",
                            "Zeitstempel, Roh-Frames und automatisches Scrollen",
                            "Horodatage, trames brutes et défilement automatique",
                            "Marcas de tiempo, tramas en bruto y desplazamiento automático"});
}

std::string autoscroll(Language language) {
    return fixed(language, {"Autoscroll",
                            "Automatisch scrollen",
                            "Automatisch scrollen",
                            "Défilement automatique",
                            "Desplazamiento automático"});
}

std::string timestamps(Language language) {
    return fixed(language, {"Timestamps",
                            "Tijdstempels",
                            "Zeitstempel",
                            "Horodatage",
                            "Marcas de tiempo"});
}

std::string rawFrames(Language language) {
    return fixed(language, {"Show raw messages",
                            "Ruwe berichten tonen",
                            "Rohnachrichten anzeigen",
                            "Afficher les messages bruts",
                            "Mostrar mensajes en bruto"});
}

std::string rawFramesHelp(Language language) {
    return fixed(language,
                 {"Show the complete message (Modbus TCP: MBAP header and PDU; RTU over TCP: unit, PDU and "
                  "CRC) instead of only the data.",
                  "Het volledige bericht tonen (Modbus TCP: MBAP-header en PDU; RTU over TCP: unit, PDU en "
                  "CRC) in plaats van alleen de data.",
                  "Die vollständige Nachricht anzeigen (Modbus TCP: MBAP-Header und PDU; RTU über TCP: Unit, "
                  "PDU und CRC) statt nur der Daten.",
                  "Afficher le message complet (Modbus TCP\u00a0: en-tête MBAP et PDU\u00a0; RTU sur "
                  "TCP\u00a0: unité, PDU et CRC) au lieu des seules données.",
                  "Mostrar el mensaje completo (Modbus TCP: cabecera MBAP y PDU; RTU sobre TCP: unidad, PDU "
                  "y CRC) en lugar de solo los datos."});
}

std::string onlyProblems(Language language) {
    return fixed(language, {"Log only errors and writes",
                            "Alleen fouten en schrijfacties loggen",
                            "Nur Fehler und Schreibvorgänge loggen",
                            "Erreurs et écritures uniquement",
                            "Solo errores y escrituras"});
}

std::string onlyProblemsHelp(Language language) {
    return fixed(language,
                 {"Fast polls fill the log quickly. With this on you only see what needs attention.",
                  "Snelle polls vullen het log snel. Met deze optie aan zie je alleen wat aandacht nodig "
                  "heeft.",
                  "Schnelle Polls füllen das Log rasch. Ist dies aktiv, sehen Sie nur, was "
                  "Aufmerksamkeit braucht.",
                  "Les polls rapides remplissent vite le journal. Avec cette option, vous ne voyez que ce "
                  "qui demande votre attention.",
                  "Los polls rápidos llenan el log enseguida. Con esta opción solo verá lo que requiere "
                  "atención."});
}

std::string save(Language language) {
    return fixed(language, {"Save…",
                            "Opslaan…",
                            "Speichern…",
                            "Enregistrer…",
                            "Guardar…"});
}

std::string saveHelp(Language language) {
    return fixed(language, {"Save the log as a text file (⌘S)",
                            "Log als tekstbestand opslaan (⌘S)",
                            "Log als Textdatei speichern (⌘S)",
                            "Enregistrer le journal dans un fichier texte (⌘S)",
                            "Guardar el log como archivo de texto (⌘S)"});
}

std::string clear(Language language) {
    return fixed(language, {"Clear log",
                            "Log wissen",
                            "Log leeren",
                            "Effacer le journal",
                            "Borrar log"});
}

std::string clearHelp(Language language) {
    return fixed(language, {"Clear the log and counters (⌘K)",
                            "Log en tellers wissen (⌘K)",
                            "Log und Zähler zurücksetzen (⌘K)",
                            "Effacer le journal et les compteurs (⌘K)",
                            "Borrar el log y los contadores (⌘K)"});
}

std::string outputAccessibility(Language language) {
    return fixed(language, {"Communication log",
                            "Communicatielog",
                            "Kommunikations-Log",
                            "Journal de communication",
                            "Log de comunicación"});
}

std::string statistics(std::int64_t requests, std::int64_t responses, std::int64_t timeouts,
                       std::int64_t exceptions, std::int64_t errors, Language language) {
    return filled(language,
                  {"Requests {requests} · Responses {responses} · No response {timeouts} · Exceptions "
                   "{exceptions} · Invalid {errors}",
                   "Verzoeken {requests} · Antwoorden {responses} · Geen antwoord {timeouts} · "
                   "Uitzonderingen {exceptions} · Ongeldig {errors}",
                   "Anfragen {requests} · Antworten {responses} · Keine Antwort {timeouts} · Ausnahmen "
                   "{exceptions} · Ungültig {errors}",
                   "Requêtes {requests} · Réponses {responses} · Sans réponse {timeouts} · Exceptions "
                   "{exceptions} · Invalides {errors}",
                   "Peticiones {requests} · Respuestas {responses} · Sin respuesta {timeouts} · Excepciones "
                   "{exceptions} · Inválidas {errors}"},
                  fmt::arg("requests", requests), fmt::arg("responses", responses),
                  fmt::arg("timeouts", timeouts), fmt::arg("exceptions", exceptions),
                  fmt::arg("errors", errors));
}

}  // namespace Footer

namespace Menu {

std::string file(Language language) {
    return fixed(language, {"File",
                            "Archief",
                            "Datei",
                            "Fichier",
                            "Archivo"});
}

std::string help(Language language) {
    return fixed(language, {"Help",
                            "Help",
                            "Hilfe",
                            "Aide",
                            "Ayuda"});
}

std::string quit(Language language) {
    return fixed(language, {"Quit",
                            "Afsluiten",
                            "Beenden",
                            "Quitter",
                            "Salir"});
}

std::string ok(Language language) {
    return fixed(language, {"OK",
                            "OK",
                            "OK",
                            "OK",
                            "Aceptar"});
}

std::string cancel(Language language) {
    return fixed(language, {"Cancel",
                            "Annuleer",
                            "Abbrechen",
                            "Annuler",
                            "Cancelar"});
}

std::string poller(Language language) {
    return fixed(language, {"Poller",
                            "Uitlezen",
                            "Abfrage",
                            "Lecture",
                            "Lectura"});
}

std::string saveLog(Language language) {
    return fixed(language, {"Save Log…",
                            "Log opslaan…",
                            "Log speichern…",
                            "Enregistrer le journal…",
                            "Guardar log…"});
}

std::string clearLog(Language language) {
    return fixed(language, {"Clear Log",
                            "Log wissen",
                            "Log leeren",
                            "Effacer le journal",
                            "Borrar log"});
}

std::string newProject(Language language) {
    return fixed(language, {"New Project",
                            "Nieuw project",
                            "Neues Projekt",
                            "Nouveau projet",
                            "Nuevo proyecto"});
}

std::string openProject(Language language) {
    return fixed(language, {"Open Project…",
                            "Project openen…",
                            "Projekt öffnen…",
                            "Ouvrir un projet…",
                            "Abrir proyecto…"});
}

std::string saveProject(Language language) {
    return fixed(language, {"Save Project As…",
                            "Project opslaan als…",
                            "Projekt speichern unter…",
                            "Enregistrer le projet sous…",
                            "Guardar proyecto como…"});
}

std::string importCSV(Language language) {
    return fixed(language, {"Import Datapoints (CSV)…",
                            "Datapunten importeren (CSV)…",
                            "Datenpunkte importieren (CSV)…",
                            "Importer des points de données (CSV)…",
                            "Importar puntos de datos (CSV)…"});
}

std::string exportCSV(Language language) {
    return fixed(language, {"Export Datapoints (CSV)…",
                            "Datapunten exporteren (CSV)…",
                            "Datenpunkte exportieren (CSV)…",
                            "Exporter les points de données (CSV)…",
                            "Exportar puntos de datos (CSV)…"});
}

std::string demoDevice(Language language) {
    return fixed(language, {"Demo device",
                            "Demo-apparaat",
                            "Demo-Gerät",
                            "Appareil de démonstration",
                            "Dispositivo de demostración"});
}

}  // namespace Menu

}  // namespace tessarin::L10n
// clang-format on
