#include "Localization/HelpTopicTexts.hpp"

#include <fmt/format.h>

namespace tessarin::HelpTopicTexts {

// The texts keep the line breaks a reviewer reads them in.
// clang-format off
std::vector<HelpTopic> dutch(std::string_view appName) {
    using B = HelpBlock;
    return {
        {"start",
         "Aan de slag",
         "play.circle",
         {
             B::paragraph(fmt::format(
                 "{} is een Modbus TCP-client: het programma leest waarden uit apparaten in het netwerk, "
                 "zoals energiemeters, PLC's en regelaars, en kan er ook waarden naar schrijven. Apparaten "
                 "achter een Modbus-gateway naar RS-485 bereik je op dezelfde manier.",
                 appName)),
             B::heading("In vier stappen"),
             B::bullets({
                 "Vul bovenaan het IP-adres of de naam van het apparaat in, en de TCP-poort (standaard "
                 "`502`).",
                 "Voer de datapunten in de tabel in: unit-ID, tabel, adres en type, zoals ze in de "
                 "handleiding van het apparaat staan.",
                 "Kies zo nodig met de knop met de schuifregelaars een langere antwoordtime-out; via een "
                 "gateway naar RS-485 1 s of meer.",
                 "Klik op **Start** (⌘R). De kolom **Waarde** toont de actuele waarden, en **Status** of het "
                 "uitlezen lukt.",
             }),
             B::screenshot("overview",
                           "Een poll met live waarden en de status per datapunt, met daaronder de "
                           "communicatie."),
             B::paragraph(
                 "Polls en datapunten worden automatisch opgeslagen. Met de knop **Project** links van de "
                 "tabbladen begin je een nieuw project, open je een projectbestand of sla je het huidige "
                 "project op; voordat het huidige project wordt vervangen, vraagt de app of je het eerst "
                 "wilt opslaan. Geen apparaat bij de hand? **Uitlezen** ▸ **Demo-apparaat** start een "
                 "gesimuleerd apparaat voor het huidige project en leest het uit."),
         }},
        {"polls",
         "Polls",
         "square.stack",
         {
             B::paragraph(
                 "Een poll is een groep datapunten met een eigen interval, getoond als tabblad: lees "
                 "bijvoorbeeld snel veranderende waarden elke 250 ms en tellerstanden elke minuut. Met **+** "
                 "(⌘T) maak je een nieuwe poll; klik met de rechtermuisknop op een tabblad om het te "
                 "dupliceren of te verwijderen."),
             B::paragraph(
                 "De stip op een tabblad is groen als alles wordt gelezen, en oranje als er iets misgaat. "
                 "Zet **Actief** uit om een poll over te slaan."),
             B::paragraph(
                 "Datapunten die naast elkaar liggen, worden in één verzoek gelezen (tot 125 registers of "
                 "2000 bits). In de instellingen kun je ook kleine gaten tussen adressen laten overbruggen: "
                 "dat is sneller, maar sommige apparaten antwoorden dan met uitzondering 02."),
             B::paragraph(
                 "Er staat steeds maar één verzoek tegelijk uit, en schrijfacties gaan voor leesacties. Valt "
                 "de verbinding weg, dan maakt de app vanzelf opnieuw verbinding."),
         }},
        {"datapoints",
         "Datapunten",
         "tablecells",
         {
             B::paragraph(
                 "Een datapunt is één waarde in een apparaat. De app zet de registers ervan om in een "
                 "leesbare waarde."),
             B::table({
                 {"Unit", "de unit-ID van het apparaat (1–247; bij Modbus TCP vaak 1 of 255)"},
                 {"Tabel",
                  "**Coil** (bit, lezen en schrijven), **Discrete input** (bit, alleen lezen), "
                  "**Holdingregister** (16 bit, lezen en schrijven) of **Inputregister** (16 bit, alleen "
                  "lezen)"},
                 {"Adres",
                  "het protocoladres, vanaf `0`. Handleidingen gebruiken vaak de Modicon-notatie: "
                  "holdingregister `40001` is adres `0`, inputregister `30010` is adres `9`. Houd de "
                  "aanwijzer boven het adres om de Modicon-notatie te zien."},
                 {"Type",
                  "`UInt16`/`Int16` gebruiken één register, `UInt32`/`Int32`/`Float32` twee en de "
                  "64-bittypen vier opeenvolgende registers"},
                 {"Volgorde", "de bytevolgorde van waarden die meer dan één register beslaan, zie hieronder"},
                 {"Schaal", "waarde = ruwe waarde × schaal; met `0,1` wordt `215` dus `21,5`"},
                 {"Weergave",
                  "decimaal, hex (`0x00FF`) of binair; hex en binair tonen de ruwe bits van het register"},
             }),
             B::heading("Woordvolgorde"),
             B::paragraph(
                 "Modbus kent alleen registers van 16 bit, en fabrikanten verdelen waarden van 32 en 64 bit "
                 "op verschillende manieren over die registers. De letters staan voor de bytes van de "
                 "waarde, de meest significante eerst."),
             B::table({
                 {"ABCD", "hoogste woord eerst: de Modbus-standaard"},
                 {"CDAB", "woorden verwisseld, gebruikelijk bij PLC's en energiemeters"},
                 {"BADC", "bytes binnen elk woord verwisseld"},
                 {"DCBA", "volledig omgekeerd (little-endian)"},
             }),
             B::tip(
                 "Ziet een waarde er vreemd uit, bijvoorbeeld `0,0000…` met een lange rij nullen, of een "
                 "enorm getal, waar `21,5` hoort? Probeer dan een andere volgorde, meestal CDAB."),
         }},
        {"writing",
         "Waarden schrijven",
         "pencil",
         {
             B::paragraph(
                 "Coils en holdingregisters kun je schrijven met het potlood in de kolom **Waarde**: voer de "
                 "nieuwe waarde in en klik op **Schrijven**, of klik bij een bit op **Aan** of **Uit**. De "
                 "waarde wordt omgerekend met het type, de volgorde en de schaal van het datapunt."),
             B::paragraph(
                 "De app schrijft een coil met FC05, één register met FC06 en meerdere registers met FC16. "
                 "Kies voor apparaten die alleen FC15 en FC16 ondersteunen **Altijd FC15/16** in de "
                 "instellingen."),
             B::tip(
                 "Schrijven werkt alleen terwijl er wordt uitgelezen. Mislukt het schrijven, dan toont een "
                 "melding de reden, bijvoorbeeld uitzondering 02 (het adres bestaat niet) of 03 (de waarde "
                 "valt buiten het bereik)."),
         }},
        {"chart",
         "Grafiek en export",
         "chart.xyaxis.line",
         {
             B::paragraph(
                 "Vink in de kolom **Trend** de datapunten aan die je wilt volgen. De grafiek verschijnt "
                 "onderaan: met de menuknop linksboven in het paneel wissel je tussen **Log** en "
                 "**Grafiek**, en rechtsboven kies je de periode."),
             B::screenshot("chart", "De temperatuur over de laatste minuut."),
             B::paragraph(
                 "Elke gelezen waarde wordt vastgelegd, tot 20.000 per datapunt. **Historie exporteren "
                 "(CSV)…** schrijft één regel per meting, met tijd, poll, naam, waarde en eenheid."),
         }},
        {"csv",
         "Excel en CSV",
         "doc.text",
         {
             B::paragraph(
                 "Lijsten met datapunten kun je in een spreadsheet zoals Excel of Numbers opstellen en als "
                 "CSV importeren. **CSV ▸ Datapunten exporteren** schrijft een bestand dat de spreadsheet "
                 "direct opent, met de waarden van dat moment."),
             B::paragraph(
                 "De eerste regel bevat de kolomnamen. Alleen **Table** en **Address** (of **Tabel** en "
                 "**Adres**) zijn verplicht, en de volgorde van de kolommen maakt niet uit."),
             B::table({
                 {"Name", "naam van het datapunt"},
                 {"Unit ID", "unit-ID, 1 als de cel leeg is"},
                 {"Table", "`CO`, `DI`, `HR` of `IR` (ook `coil`, `holding`, `4x` …)"},
                 {"Address", "adres vanaf 0"},
                 {"Data type", "`uint16`, `int16`, `float32` … (ook `float`, `real`, `dint`)"},
                 {"Word order", "`ABCD`, `CDAB`, `BADC` of `DCBA`"},
                 {"Scale, Unit, Format, Value, Description", "optioneel"},
             }),
             B::tip(
                 "Het scheidingsteken volgt de landinstelling: een puntkomma waar decimalen met een komma "
                 "worden geschreven. Bij het importeren worden komma, puntkomma en tab herkend, en zowel "
                 "`21,5` als `21.5`."),
         }},
        {"rtu-over-tcp",
         "RTU over TCP",
         "arrow.left.arrow.right",
         {
             B::paragraph(
                 "Veel ethernet- en wifi-converters naar RS-485 (zoals USR-TCP232, Elfin EW11, Waveshare of "
                 "Moxa NPort in de modus TCP-server) geven het RTU-frame (unit, PDU, CRC) ongewijzigd door, "
                 "zonder MBAP-header: *RTU over TCP*. Apparaten met zo'n ingebouwde converter werken vaak "
                 "ook zo."),
             B::paragraph(
                 "Kies het protocol met de knop met de schuifregelaars: **Modbus TCP** of **RTU over TCP**. "
                 "Dat kan alleen als het uitlezen is gestopt, en de keuze wordt in het project opgeslagen."),
             B::heading("Verschillen met Modbus TCP"),
             B::bullets({
                 "De unit-ID is het slave-adres op de RS-485-bus (1–247). Unit `0` is een broadcast, waarop "
                 "geen antwoord komt.",
                 "Er is geen transactie-ID. Daarom gooit de app vóór elk verzoek alles weg wat nog "
                 "binnenkomt, en worden antwoorden van een andere unit of met een andere functiecode "
                 "overgeslagen.",
                 "Een antwoord met een verkeerde CRC krijgt de status **CRC-fout**: controleer de bedrading "
                 "en de baudrate.",
             }),
             B::tip(
                 "De seriële instellingen van de converter stel je op de converter zelf in. Een langere "
                 "antwoordtime-out (1 s of meer) helpt bij trage apparaten."),
         }},
        {"log",
         "Status en log",
         "text.alignleft",
         {
             B::table({
                 {"OK · 24 ms", "gelezen, met de antwoordtijd"},
                 {"Geen antwoord", "geen antwoord binnen de antwoordtime-out"},
                 {"Uitzondering 02", "het apparaat weigert het verzoek, zie hieronder"},
                 {"Geen verbinding",
                  "de verbinding met het apparaat is weggevallen; de app maakt vanzelf opnieuw verbinding"},
             }),
             B::paragraph(
                 "Na een fout blijft de laatste goede waarde staan, in grijs. Houd de aanwijzer boven de "
                 "waarde om de ruwe registers te zien, of boven de status om te zien wanneer er het laatst "
                 "is gelezen."),
             B::heading("Uitzonderingscodes"),
             B::table({
                 {"01", "het apparaat ondersteunt deze functiecode niet"},
                 {"02", "dit adres bestaat niet (let op: adressen beginnen bij 0)"},
                 {"03", "ongeldige waarde of ongeldig aantal"},
                 {"04", "storing in het apparaat"},
                 {"06", "apparaat bezet, probeer het later opnieuw"},
             }),
             B::paragraph(
                 "Het log staat standaard uit; **Log** onderaan (⌘L) toont het. Je ziet er elk antwoord (←), "
                 "elke schrijfactie (✎) en elke fout (✕) in."),
         }},
        {"troubleshooting",
         "Problemen oplossen",
         "wrench.and.screwdriver",
         {
             B::heading("Geen antwoord"),
             B::bullets({
                 "Controleer de unit-ID: vaak 1 of 255; achter een gateway is het het RTU-slave-adres.",
                 "Verhoog de antwoordtime-out voor trage apparaten.",
                 "Controleer het netwerk en het IP-adres (`ping` in een terminal).",
                 // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one sentence over two lines
                 "Modbus TCP gebruikt standaard poort `502`, maar sommige apparaten gebruiken een andere "
                 "poort.",
                 "Een firewall op de computer, in het netwerk of op het apparaat kan de poort blokkeren. Bij "
                 "de eerste start kan het systeem vragen of de app verbindingen mag accepteren.",
                 "Controleer het protocol: een converter spreekt vaak *RTU over TCP*.",
             }),
             B::heading("Vreemde waarden"),
             B::bullets({
                 "Zit alles één adres ernaast? Dan telt de handleiding vanaf 1 (of 40001): trek er 1 af.",
                 "Klopt een waarde van 32 bit niet? Probeer een andere volgorde, meestal CDAB.",
                 "Klopt de grootte-orde niet? Controleer de schaal (0,1 of 0,01).",
             }),
             B::paragraph(
                 "De app gebruikt het netwerk alleen voor Modbus TCP, en opent en bewaart alleen de "
                 "bestanden die je kiest. Er wordt niets verzameld of verstuurd."),
         }},
        {"shortcuts",
         "Toetscombinaties",
         "keyboard",
         {
             B::table({
                 {"⌘R", "Uitlezen starten / stoppen"},
                 {"⌘T", "Nieuwe poll"},
                 {"⇧⌘D", "Datapunt toevoegen"},
                 {"⌘⌫", "Geselecteerde datapunten verwijderen"},
                 {"⇧⌘I / ⇧⌘E", "Datapunten importeren / exporteren (CSV)"},
                 {"⌘N / ⌘O / ⇧⌘S", "Nieuw project / openen / opslaan als"},
                 {"⌘L", "Log tonen of verbergen"},
                 {"⌘F", "Zoeken in het log"},
                 {"⌘S", "Log opslaan"},
                 {"⌘K", "Log wissen"},
                 {"⌘?", "Deze help openen"},
             }),
         }},
    };
}
// clang-format on

}  // namespace tessarin::HelpTopicTexts
