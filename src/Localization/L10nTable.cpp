// The datapoint table, poll tabs, the write editor, the bottom pane and chart, the import
// dialog, the project menu and the example project.
// Every key lists its texts in the order English, Dutch, German, French, Spanish.
// French puts a no-break space (\u00a0) before ":", ";", "?" and "!".
#include "Localization/L10n.hpp"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <string>
#include <utility>

#include "Localization/LocalizedText.hpp"

// The tables keep one language per line so that a translator can read them as columns.
// clang-format off
namespace tessarin::L10n {

using l10n_detail::filled;
using l10n_detail::fixed;
using l10n_detail::takesSingular;

namespace Table {

namespace {

// Shared by the table and the poll settings.
constexpr LocalizedText nameText{"Name", "Naam", "Name", "Nom", "Nombre"};
constexpr LocalizedText duplicateText{"Duplicate", "Dupliceren", "Duplizieren", "Dupliquer", "Duplicar"};

}  // namespace

std::string name(Language language) { return fixed(language, nameText); }
std::string namePlaceholder(Language language) { return fixed(language, nameText); }

std::string unitID(Language language) {
    // The column is about 40 points wide; the tooltip carries the long form. French and Spanish
    // cannot say "unit" here: their word for it heads the engineering-unit column.
    return fixed(language, {"Unit",
                            "Unit",
                            "Unit",
                            "ID",
                            "ID"});
}

std::string table(Language language) {
    return fixed(language, {"Table",
                            "Tabel",
                            "Tabelle",
                            "Table",
                            "Tabla"});
}

std::string address(Language language) {
    return fixed(language, {"Address",
                            "Adres",
                            "Adresse",
                            "Adresse",
                            "Dirección"});
}

std::string dataType(Language language) {
    return fixed(language, {"Type",
                            "Type",
                            "Typ",
                            "Type",
                            "Tipo"});
}

std::string wordOrder(Language language) {
    return fixed(language, {"Order",
                            "Volgorde",
                            "Reihenfolge",
                            "Ordre",
                            "Orden"});
}

std::string scale(Language language) {
    return fixed(language, {"Scale",
                            "Schaal",
                            "Faktor",
                            "Échelle",
                            "Escala"});
}

std::string value(Language language) {
    return fixed(language, {"Value",
                            "Waarde",
                            "Wert",
                            "Valeur",
                            "Valor"});
}

std::string unit(Language language) {
    return fixed(language, {"Unit",
                            "Eenheid",
                            "Einheit",
                            "Unité",
                            "Unidad"});
}

std::string format(Language language) {
    return fixed(language, {"Display",
                            "Weergave",
                            "Anzeige",
                            "Affichage",
                            "Formato"});
}

std::string description(Language language) {
    return fixed(language, {"Description",
                            "Omschrijving",
                            "Beschreibung",
                            "Description",
                            "Descripción"});
}

std::string status(Language language) {
    return fixed(language, {"Status",
                            "Status",
                            "Status",
                            "État",
                            "Estado"});
}

std::string plot(Language language) {
    // A fixed column as wide as "Chart"; the tooltip says what ticking it does.
    return fixed(language, {"Chart",
                            "Trend",
                            "Trend",
                            "Tracé",
                            "Traza"});
}

std::string add(Language language) {
    return fixed(language, {"Datapoint",
                            "Datapunt",
                            "Datenpunkt",
                            "Point de données",
                            "Punto de datos"});
}

std::string addHelp(Language language) {
    return fixed(language, {"Add a datapoint at the next free address (⇧⌘D)",
                            "Datapunt toevoegen op het volgende vrije adres (⇧⌘D)",
                            "Datenpunkt an der nächsten freien Adresse hinzufügen (⇧⌘D)",
                            "Ajouter un point de données à la prochaine adresse libre (⇧⌘D)",
                            "Añadir un punto de datos en la siguiente dirección libre (⇧⌘D)"});
}

std::string duplicate(Language language) { return fixed(language, duplicateText); }

std::string delete_(Language language) {
    return fixed(language, {"Delete",
                            "Verwijderen",
                            "Löschen",
                            "Supprimer",
                            "Eliminar"});
}

std::string csv(Language language) { return fixed(language, LocalizedText::same("CSV")); }

std::string csvHelp(Language language) {
    return fixed(language, {"Import the list from or export it to Excel, Numbers or another program",
                            "De lijst importeren uit of exporteren naar Excel, Numbers of een ander "
                            "programma",
                            "Liste aus Excel, Numbers oder einem anderen Programm importieren oder dorthin "
                            "exportieren",
                            "Importer la liste depuis Excel, Numbers ou un autre programme, ou l'y exporter",
                            "Importar la lista desde Excel, Numbers u otro programa, o exportarla a ellos"});
}

std::string unitIDHelp(Language language) {
    return fixed(language, {"Slave address of the device (0–255; RTU over TCP: 1–247)",
                            "Slave-adres van het apparaat (0–255; RTU over TCP: 1–247)",
                            "Slave-Adresse des Geräts (0–255; RTU über TCP: 1–247)",
                            "Adresse esclave de l'appareil (0–255\u00a0; RTU sur TCP\u00a0: 1–247)",
                            "Dirección de esclavo del dispositivo (0–255; RTU sobre TCP: 1–247)"});
}

// The cell takes every unit ID a request can carry: gateways often answer on 0 or 255.
std::string addressHelp(std::string_view modicon, Language language) {
    return filled(language,
                  {"Protocol address, starting at 0. In Modicon notation: {modicon}.",
                   "Protocoladres, beginnend bij 0. In Modicon-notatie: {modicon}.",
                   "Protokolladresse, beginnend bei 0. In Modicon-Notation: {modicon}.",
                   "Adresse protocole, à partir de 0. En notation Modicon\u00a0: {modicon}.",
                   "Dirección de protocolo, empezando en 0. En notación Modicon: {modicon}."},
                  fmt::arg("modicon", modicon));
}

std::string wordOrderHelp(Language language) {
    return fixed(language,
                 {"Byte order of 32- and 64-bit values. ABCD is the Modbus standard; CDAB (words swapped) is "
                  "common in PLCs.",
                  "Bytevolgorde van 32- en 64-bitswaarden. ABCD is de Modbus-standaard; CDAB (woorden "
                  "verwisseld) is gebruikelijk bij PLC's.",
                  "Byte-Reihenfolge von 32- und 64-Bit-Werten. ABCD ist der Modbus-Standard; CDAB (Wörter "
                  "vertauscht) ist bei SPS verbreitet.",
                  "Ordre des octets des valeurs sur 32 et 64 bits. ABCD est le standard Modbus\u00a0; CDAB "
                  "(mots inversés) est courant dans les automates.",
                  "Orden de bytes de los valores de 32 y 64 bits. ABCD es el estándar Modbus; CDAB (palabras "
                  "intercambiadas) es habitual en los PLC."});
}

std::string scaleHelp(Language language) {
    return fixed(language,
                 {"Value = raw register value × scale. For example 0.1 when the device sends 215 for 21.5.",
                  "Waarde = ruwe registerwaarde × schaal. Bijvoorbeeld 0,1 als het apparaat 215 stuurt voor "
                  "21,5.",
                  "Wert = Rohwert des Registers × Faktor. Zum Beispiel 0,1, wenn das Gerät 215 für 21,5 "
                  "sendet.",
                  "Valeur = valeur brute du registre × échelle. Par exemple 0,1 quand l'appareil envoie 215 "
                  "pour 21,5.",
                  "Valor = valor en bruto del registro × escala. Por ejemplo, 0,1 cuando el dispositivo "
                  "envía 215 para 21,5."});
}

std::string plotHelp(Language language) {
    return fixed(language, {"Show this datapoint in the chart",
                            "Dit datapunt in de grafiek tonen",
                            "Diesen Datenpunkt im Diagramm anzeigen",
                            "Afficher ce point de données dans le graphique",
                            "Mostrar este punto de datos en el gráfico"});
}

std::string valueHelp(Language language) {
    return fixed(language,
                 {"Type a value and press Enter. Hex (0x1F) or binary (0b101) works too.",
                  "Typ een waarde en druk op Enter. Hex (0x1F) of binair (0b101) kan ook.",
                  "Geben Sie einen Wert ein und drücken Sie die Eingabetaste. Hex (0x1F) oder binär (0b101) "
                  "geht auch.",
                  "Saisissez une valeur et appuyez sur Entrée. L'hexadécimal (0x1F) et le binaire (0b101) "
                  "fonctionnent aussi.",
                  "Escriba un valor y pulse Intro. También se admite hexadecimal (0x1F) o binario (0b101)."});
}

std::string valueInvalid(DataType type, Language language) {
    return filled(language,
                  {"This value does not fit in {type}.",
                   "Deze waarde past niet in {type}.",
                   "Dieser Wert passt nicht in {type}.",
                   "Cette valeur ne tient pas dans le type {type}.",
                   "Este valor no cabe en {type}."},
                  fmt::arg("type", dataTypeName(type, language)));
}

std::string rawHelp(std::span<const std::uint16_t> registers, Language language) {
    return filled(language,
                  {"Raw registers: {registers}",
                   "Ruwe registers: {registers}",
                   "Rohregister: {registers}",
                   "Registres bruts\u00a0: {registers}",
                   "Registros en bruto: {registers}"},
                  fmt::arg("registers", fmt::format("{:04X}", fmt::join(registers, " "))));
}

std::string updatedHelp(std::string_view time, Language language) {
    return filled(language,
                  {"Last read at {time}",
                   "Laatst gelezen om {time}",
                   "Zuletzt gelesen um {time}",
                   "Dernière lecture à {time}",
                   "Última lectura a las {time}"},
                  fmt::arg("time", time));
}

std::string waiting(Language language) {
    return fixed(language, {"Waiting…",
                            "Wachten…",
                            "Warten…",
                            "En attente…",
                            "Esperando…"});
}

std::string ok(std::int64_t ms, Language language) {
    return filled(language, LocalizedText::same("OK · {ms} ms"), fmt::arg("ms", ms));
}

std::string newName(std::string_view base, std::int64_t n, Language language) {
    return filled(language, LocalizedText::same("{base} {n}"), fmt::arg("base", base), fmt::arg("n", n));
}

std::string emptyTitle(Language language) {
    return fixed(language, {"No datapoints yet",
                            "Nog geen datapunten",
                            "Noch keine Datenpunkte",
                            "Aucun point de données",
                            "Aún no hay puntos de datos"});
}

std::string emptyText(Language language) {
    return fixed(language,
                 {"Add the datapoints you want to read, or import a list from Excel (CSV). Datapoints next "
                  "to each other are read together.",
                  "Voeg de datapunten toe die je wilt uitlezen, of importeer een lijst uit Excel (CSV). "
                  "Datapunten die naast elkaar liggen, worden samen gelezen.",
                  "Fügen Sie die Datenpunkte hinzu, die Sie lesen möchten, oder importieren Sie eine Liste "
                  "aus Excel (CSV). Benachbarte Datenpunkte werden gemeinsam gelesen.",
                  "Ajoutez les points de données à lire ou importez une liste depuis Excel (CSV). Les points "
                  "de données voisins sont lus ensemble.",
                  "Añada los puntos de datos que quiere leer o importe una lista desde Excel (CSV). Los "
                  "puntos de datos contiguos se leen juntos."});
}

std::string tableName(RegisterTable table, Language language) {
    switch (table) {
    // The names of the register maps engineers read: Dutch and German keep the Modbus names,
    // French and Spanish translate all four as their Modbus documentation does. Every one of
    // them must read back through the CSV import's table parser.
    case RegisterTable::coil:
        return fixed(language, {"Coil",
                                "Coil",
                                "Coil",
                                "Bobine",
                                "Bobina"});
    case RegisterTable::discreteInput:
        return fixed(language, {"Discrete input",
                                "Discrete input",
                                "Discrete Input",
                                "Entrée discrète",
                                "Entrada discreta"});
    case RegisterTable::holdingRegister:
        return fixed(language, {"Holding register",
                                "Holdingregister",
                                "Holding-Register",
                                "Registre de maintien",
                                "Registro de retención"});
    case RegisterTable::inputRegister:
        return fixed(language, {"Input register",
                                "Inputregister",
                                "Input-Register",
                                "Registre d'entrée",
                                "Registro de entrada"});
    }
    // Only a value outside the enumeration gets here; its facts would be read out of bounds.
    return std::to_string(std::to_underlying(table));
}

std::string dataTypeName(DataType type, Language language) {
    static constexpr std::array names{"Bit",   "UInt16", "Int16", "UInt32", "Int32",
                                      "Float32", "UInt64", "Int64", "Float64"};
    static_assert(names.size() == allDataTypes.size());
    // The type names are technical terms that device manuals use untranslated.
    (void)language;
    return names[std::to_underlying(type)];
}

std::string formatName(DisplayFormat format, Language language) {
    switch (format) {
    case DisplayFormat::decimal:
        return fixed(language, {"Decimal",
                                "Decimaal",
                                "Dezimal",
                                "Décimal",
                                "Decimal"});
    case DisplayFormat::hex:
        return fixed(language, {"Hex",
                                "Hex",
                                "Hex",
                                "Hexa",
                                "Hex"});
    case DisplayFormat::binary:
        return fixed(language, {"Binary",
                                "Binair",
                                "Binär",
                                "Binaire",
                                "Binario"});
    }
    return std::to_string(std::to_underlying(format));
}

}  // namespace Table

namespace Polls {

std::string add(Language language) {
    return fixed(language, {"New Poll",
                            "Nieuwe poll",
                            "Neuer Poll",
                            "Nouveau poll",
                            "Nuevo poll"});
}

std::string addHelp(Language language) {
    return fixed(language, {"Another group of datapoints with its own interval (⌘T)",
                            "Nog een groep datapunten met een eigen interval (⌘T)",
                            "Eine weitere Gruppe von Datenpunkten mit eigenem Intervall (⌘T)",
                            "Un autre groupe de points de données avec son propre intervalle (⌘T)",
                            "Otro grupo de puntos de datos con su propio intervalo (⌘T)"});
}

std::string namePlaceholder(Language language) { return fixed(language, Table::nameText); }

std::string interval(Language language) {
    return fixed(language, {"Interval",
                            "Interval",
                            "Intervall",
                            "Intervalle",
                            "Intervalo"});
}

std::string intervalLabel(std::int64_t ms, Language language) {
    if (ms >= 1000) return filled(language, LocalizedText::same("{s} s"), fmt::arg("s", ms / 1000));
    return filled(language, LocalizedText::same("{ms} ms"), fmt::arg("ms", ms));
}

std::string intervalHelp(Language language) {
    return fixed(language, {"How often this poll is read",
                            "Hoe vaak deze poll wordt gelezen",
                            "Wie oft dieser Poll gelesen wird",
                            "Fréquence de lecture de ce poll",
                            "Con qué frecuencia se lee este poll"});
}

std::string active(Language language) {
    return fixed(language, {"Active",
                            "Actief",
                            "Aktiv",
                            "Actif",
                            "Activo"});
}

std::string activeHelp(Language language) {
    return fixed(language, {"Off: this poll is skipped",
                            "Uit: deze poll wordt overgeslagen",
                            "Aus: Dieser Poll wird übersprungen",
                            "Désactivé\u00a0: ce poll est ignoré",
                            "Desactivado: este poll se omite"});
}

std::string removeTitle(Language language) {
    return fixed(language, {"Remove poll?",
                            "Poll verwijderen?",
                            "Poll entfernen?",
                            "Supprimer le poll\u00a0?",
                            "¿Eliminar el poll?"});
}

std::string remove(Language language) {
    return fixed(language, {"Remove",
                            "Verwijderen",
                            "Entfernen",
                            "Supprimer",
                            "Eliminar"});
}

std::string removeMessage(Language language) {
    return fixed(language, {"The datapoints in this poll are removed too.",
                            "De datapunten in deze poll worden ook verwijderd.",
                            "Die Datenpunkte dieses Polls werden ebenfalls entfernt.",
                            "Les points de données de ce poll sont également supprimés.",
                            "También se eliminan los puntos de datos de este poll."});
}

std::string unnamed(Language language) {
    return fixed(language, {"Untitled",
                            "Naamloos",
                            "Ohne Titel",
                            "Sans titre",
                            "Sin título"});
}

std::string duplicate(Language language) { return fixed(language, Table::duplicateText); }

std::string tabHelp(Language language) {
    return fixed(language, {"Right-click to duplicate or remove",
                            "Klik met rechts om te dupliceren of te verwijderen",
                            "Rechtsklick zum Duplizieren oder Entfernen",
                            "Clic droit pour dupliquer ou supprimer",
                            "Clic derecho para duplicar o eliminar"});
}

std::string newName(std::int64_t n, Language language) {
    return filled(language, LocalizedText::same("Poll {n}"), fmt::arg("n", n));
}

std::string copyName(std::string_view name, Language language) {
    return filled(language,
                  {"{name} (copy)",
                   "{name} (kopie)",
                   "{name} (Kopie)",
                   "{name} (copie)",
                   "{name} (copia)"},
                  fmt::arg("name", name));
}

}  // namespace Polls

namespace Write {

std::string help(Language language) {
    return fixed(language, {"Write a new value to the device",
                            "Een nieuwe waarde naar het apparaat schrijven",
                            "Einen neuen Wert in das Gerät schreiben",
                            "Écrire une nouvelle valeur dans l'appareil",
                            "Escribir un valor nuevo en el dispositivo"});
}

std::string title(std::string_view name, Language language) {
    return filled(language,
                  {"Write {name}",
                   "{name} schrijven",
                   "{name} schreiben",
                   "Écrire {name}",
                   "Escribir {name}"},
                  fmt::arg("name", name));
}

std::string off(Language language) {
    return fixed(language, {"Off (0)",
                            "Uit (0)",
                            "Aus (0)",
                            "Arrêt (0)",
                            "Apagado (0)"});
}

std::string on(Language language) {
    return fixed(language, {"On (1)",
                            "Aan (1)",
                            "Ein (1)",
                            "Marche (1)",
                            "Encendido (1)"});
}

std::string placeholder(Language language) {
    return fixed(language, {"New value",
                            "Nieuwe waarde",
                            "Neuer Wert",
                            "Nouvelle valeur",
                            "Valor nuevo"});
}

std::string button(Language language) {
    return fixed(language, {"Write",
                            "Schrijven",
                            "Schreiben",
                            "Écrire",
                            "Escribir"});
}

}  // namespace Write

namespace Pane {

std::string title(Language language) {
    return fixed(language, {"View",
                            "Weergave",
                            "Ansicht",
                            "Affichage",
                            "Vista"});
}

std::string log(Language language) {
    return fixed(language, {"Log",
                            "Log",
                            "Log",
                            "Journal",
                            "Log"});
}

std::string chart(Language language) {
    return fixed(language, {"Chart",
                            "Grafiek",
                            "Diagramm",
                            "Graphique",
                            "Gráfico"});
}

std::string clearHistory(Language language) {
    return fixed(language, {"Clear History",
                            "Wis historie",
                            "Verlauf löschen",
                            "Effacer l'historique",
                            "Borrar historial"});
}

std::string clearHistoryHelp(Language language) {
    return fixed(language, {"Clear all recorded values",
                            "Alle vastgelegde waarden wissen",
                            "Alle aufgezeichneten Werte löschen",
                            "Effacer toutes les valeurs enregistrées",
                            "Borrar todos los valores leídos"});
}

std::string exportHistory(Language language) {
    return fixed(language, {"Export History (CSV)…",
                            "Historie exporteren (CSV)…",
                            "Verlauf exportieren (CSV)…",
                            "Exporter l'historique (CSV)…",
                            "Exportar historial (CSV)…"});
}

std::string exportHistoryHelp(Language language) {
    return fixed(language, {"Save every value read, with its time, for Excel or Numbers",
                            "Elke gelezen waarde met tijdstip opslaan, voor Excel of Numbers",
                            "Jeden gelesenen Wert mit Zeitpunkt speichern, für Excel oder Numbers",
                            "Enregistrer chaque valeur lue, avec son heure, pour Excel ou Numbers",
                            "Guardar cada valor leído, con su hora, para Excel o Numbers"});
}

}  // namespace Pane

namespace Chart {

std::string emptyTitle(Language language) {
    return fixed(language, {"Nothing to show yet",
                            "Nog niets te tonen",
                            "Noch nichts anzuzeigen",
                            "Rien à afficher pour l'instant",
                            "Aún no hay nada que mostrar"});
}

std::string emptyText(Language language) {
    return fixed(language,
                 {"Tick the datapoints you want to follow in the Chart column, and start reading.",
                  "Vink in de kolom Trend de datapunten aan die je wilt volgen, en start het uitlezen.",
                  "Haken Sie in der Spalte Trend die Datenpunkte an, die Sie verfolgen möchten, und "
                  "starten Sie die Abfrage.",
                  "Cochez dans la colonne Tracé les points de données à suivre, puis démarrez la lecture.",
                  "Marque en la columna Traza los puntos de datos que quiere seguir e inicie la lectura."});
}

std::string time(Language language) {
    return fixed(language, {"Time",
                            "Tijd",
                            "Zeit",
                            "Heure",
                            "Hora"});
}

std::string window(Language language) {
    return fixed(language, {"Period",
                            "Periode",
                            "Zeitraum",
                            "Période",
                            "Periodo"});
}

std::string windowHelp(Language language) {
    return fixed(language, {"Which period the chart shows",
                            "Welke periode de grafiek toont",
                            "Welchen Zeitraum das Diagramm zeigt",
                            "Période affichée par le graphique",
                            "Qué periodo muestra el gráfico"});
}

std::string windowLabel(std::int64_t seconds, Language language) {
    if (seconds == 0) {
        return fixed(language, {"All",
                                "Alles",
                                "Alles",
                                "Tout",
                                "Todo"});
    }
    if (seconds >= 3600) return filled(language, LocalizedText::same("{h} h"), fmt::arg("h", seconds / 3600));
    return filled(language, LocalizedText::same("{min} min"), fmt::arg("min", seconds / 60));
}

}  // namespace Chart

namespace Import {

std::string title(std::int64_t count, Language language) {
    if (takesSingular(count, language)) {
        return filled(language,
                      {"{count} datapoint found",
                       "{count} datapunt gevonden",
                       "{count} Datenpunkt gefunden",
                       "{count} point de données trouvé",
                       "{count} punto de datos encontrado"},
                      fmt::arg("count", count));
    }
    return filled(language,
                  {"{count} datapoints found",
                   "{count} datapunten gevonden",
                   "{count} Datenpunkte gefunden",
                   "{count} points de données trouvés",
                   "{count} puntos de datos encontrados"},
                  fmt::arg("count", count));
}

std::string question(Language language) {
    return fixed(language, {"Do you want to add them to the current list, or replace the list?",
                            "Wil je ze aan de huidige lijst toevoegen of de lijst vervangen?",
                            "Möchten Sie sie zur aktuellen Liste hinzufügen oder die Liste ersetzen?",
                            "Voulez-vous les ajouter à la liste actuelle ou remplacer la liste\u00a0?",
                            "¿Quiere añadirlos a la lista actual o reemplazar la lista?"});
}

std::string skipped(std::int64_t count, Language language) {
    if (takesSingular(count, language)) {
        return filled(language,
                      {"{count} line skipped:",
                       "{count} regel overgeslagen:",
                       "{count} Zeile übersprungen:",
                       "{count} ligne ignorée\u00a0:",
                       "{count} línea omitida:"},
                      fmt::arg("count", count));
    }
    return filled(language,
                  {"{count} lines skipped:",
                   "{count} regels overgeslagen:",
                   "{count} Zeilen übersprungen:",
                   "{count} lignes ignorées\u00a0:",
                   "{count} líneas omitidas:"},
                  fmt::arg("count", count));
}

std::string add(Language language) {
    return fixed(language, {"Add",
                            "Toevoegen",
                            "Hinzufügen",
                            "Ajouter",
                            "Añadir"});
}

std::string replace(Language language) {
    return fixed(language, {"Replace",
                            "Vervangen",
                            "Ersetzen",
                            "Remplacer",
                            "Reemplazar"});
}

std::string cancel(Language language) {
    return fixed(language, {"Cancel",
                            "Annuleren",
                            "Abbrechen",
                            "Annuler",
                            "Cancelar"});
}

}  // namespace Import

namespace Project {

std::string menu(Language language) {
    return fixed(language, {"Project",
                            "Project",
                            "Projekt",
                            "Projet",
                            "Proyecto"});
}

std::string menuHelp(Language language) {
    return fixed(language, {"Start a new, empty project, open a project or save the current one",
                            "Een nieuw, leeg project beginnen, een project openen of het huidige opslaan",
                            "Ein neues, leeres Projekt beginnen, ein Projekt öffnen oder das aktuelle "
                            "speichern",
                            "Commencer un nouveau projet vide, ouvrir un projet ou enregistrer le projet "
                            "actuel",
                            "Empezar un proyecto nuevo y vacío, abrir un proyecto o guardar el actual"});
}

std::string replaceTitle(Language language) {
    return fixed(language, {"Save the current project?",
                            "Huidig project opslaan?",
                            "Aktuelles Projekt speichern?",
                            "Enregistrer le projet actuel\u00a0?",
                            "¿Guardar el proyecto actual?"});
}

std::string replaceMessage(Language language) {
    return fixed(language,
                 {"The current datapoint list will be replaced. Save it first if you want to use it later.",
                  "De huidige lijst met datapunten wordt vervangen. Sla hem eerst op als je hem later nog "
                  "wilt gebruiken.",
                  "Die aktuelle Datenpunktliste wird ersetzt. Speichern Sie sie zuerst, wenn Sie sie später "
                  "noch verwenden möchten.",
                  "La liste actuelle de points de données va être remplacée. Enregistrez-la d'abord si vous "
                  "voulez la réutiliser plus tard.",
                  "La lista actual de puntos de datos se reemplazará. Guárdela primero si quiere usarla más "
                  "adelante."});
}

std::string save(Language language) {
    return fixed(language, {"Save…",
                            "Opslaan…",
                            "Speichern…",
                            "Enregistrer…",
                            "Guardar…"});
}

std::string dontSave(Language language) {
    return fixed(language, {"Don't Save",
                            "Niet opslaan",
                            "Nicht speichern",
                            "Ne pas enregistrer",
                            "No guardar"});
}

}  // namespace Project

namespace Example {

std::string pollName(Language language) {
    return fixed(language, {"Example device",
                            "Voorbeeldapparaat",
                            "Beispielgerät",
                            "Appareil d'exemple",
                            "Dispositivo de ejemplo"});
}

std::string meterPollName(Language language) {
    return fixed(language, {"Energy meter",
                            "Energiemeter",
                            "Energiezähler",
                            "Compteur d'énergie",
                            "Contador de energía"});
}

std::string temperature(Language language) {
    return fixed(language, {"Temperature",
                            "Temperatuur",
                            "Temperatur",
                            "Température",
                            "Temperatura"});
}

std::string pressure(Language language) {
    return fixed(language, {"Pressure",
                            "Druk",
                            "Druck",
                            "Pression",
                            "Presión"});
}

std::string runtime(Language language) {
    return fixed(language, {"Run time",
                            "Bedrijfstijd",
                            "Betriebszeit",
                            "Durée de fonctionnement",
                            "Tiempo de funcionamiento"});
}

std::string setpoint(Language language) {
    return fixed(language, {"Setpoint",
                            "Setpoint",
                            "Sollwert",
                            "Consigne",
                            "Consigna"});
}

std::string mode(Language language) {
    return fixed(language, {"Mode",
                            "Modus",
                            "Modus",
                            "Mode",
                            "Modo"});
}

std::string pump(Language language) {
    return fixed(language, {"Pump on",
                            "Pomp aan",
                            "Pumpe ein",
                            "Pompe en marche",
                            "Bomba encendida"});
}

std::string alarm(Language language) {
    return fixed(language, {"Alarm",
                            "Alarm",
                            "Alarm",
                            "Alarme",
                            "Alarma"});
}

std::string energy(Language language) {
    return fixed(language, {"Energy",
                            "Energie",
                            "Energie",
                            "Énergie",
                            "Energía"});
}

}  // namespace Example

}  // namespace tessarin::L10n
// clang-format on
