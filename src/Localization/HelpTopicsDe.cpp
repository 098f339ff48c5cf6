#include "Localization/HelpTopicTexts.hpp"

#include <fmt/format.h>

namespace tessarin::HelpTopicTexts {

// The texts keep the line breaks a reviewer reads them in.
// clang-format off
std::vector<HelpTopic> german(std::string_view appName) {
    using B = HelpBlock;
    return {
        {"start",
         "Erste Schritte",
         "play.circle",
         {
             B::paragraph(fmt::format(
                 "{} ist ein Modbus-TCP-Client: Das Programm liest Werte aus Geräten im Netzwerk, etwa "
                 "Energiezählern, SPS und Reglern, und kann auch Werte in die Geräte schreiben. Geräte "
                 "hinter einem Modbus-Gateway auf RS-485 erreichen Sie auf dieselbe Weise.",
                 appName)),
             B::heading("In vier Schritten"),
             B::bullets({
                 "Geben Sie oben die IP-Adresse oder den Namen des Geräts und den TCP-Port ein (Standard "
                 "`502`).",
                 "Tragen Sie die Datenpunkte in die Tabelle ein: Unit-ID, Tabelle, Adresse und Typ, so wie "
                 "sie im Handbuch des Geräts stehen.",
                 "Wählen Sie bei Bedarf mit der Schaltfläche mit den Schiebereglern ein längeres "
                 "Antwort-Timeout; über ein Gateway auf RS-485 1 s oder mehr.",
                 "Klicken Sie auf **Start** (⌘R). Die Spalte **Wert** zeigt die aktuellen Werte, **Status** "
                 "zeigt, ob die Abfrage funktioniert.",
             }),
             B::screenshot("overview",
                           "Ein Poll mit Live-Werten und dem Status je Datenpunkt, darunter die "
                           "Kommunikation."),
             B::paragraph(
                 "Polls und Datenpunkte werden automatisch gespeichert. Mit der Schaltfläche **Projekt** "
                 "links neben den Tabs beginnen Sie ein neues Projekt, öffnen eine Projektdatei oder "
                 "speichern das aktuelle Projekt; bevor das aktuelle Projekt ersetzt wird, fragt die App, ob "
                 "Sie es zuerst speichern möchten. Kein Gerät zur Hand? **Abfrage** ▸ **Demo-Gerät** startet "
                 "ein simuliertes Gerät für das aktuelle Projekt und fragt es ab."),
         }},
        {"polls",
         "Polls",
         "square.stack",
         {
             B::paragraph(
                 "Ein Poll ist eine Gruppe von Datenpunkten mit eigenem Intervall, dargestellt als Tab: "
                 "Lesen Sie zum Beispiel schnell veränderliche Werte alle 250 ms und Zählerstände jede "
                 "Minute. **+** (⌘T) legt einen neuen Poll an; mit einem Rechtsklick auf einen Tab können "
                 "Sie ihn duplizieren oder entfernen."),
             B::paragraph(
                 "Der Punkt auf einem Tab ist grün, wenn alles gelesen wird, und orange, wenn etwas "
                 "fehlschlägt. Schalten Sie **Aktiv** aus, um einen Poll zu überspringen."),
             B::paragraph(
                 "Benachbarte Datenpunkte werden in einer Anfrage gelesen (bis zu 125 Register oder 2000 "
                 "Bits). In den Einstellungen lassen sich auch kleine Adresslücken überbrücken: Das ist "
                 "schneller, manche Geräte antworten dann aber mit Ausnahme 02."),
             B::paragraph(
                 "Es ist immer nur eine Anfrage gleichzeitig offen, und Schreibvorgänge haben Vorrang vor "
                 "Lesevorgängen. Bricht die Verbindung ab, verbindet sich die App von selbst neu."),
         }},
        {"datapoints",
         "Datenpunkte",
         "tablecells",
         {
             B::paragraph(
                 "Ein Datenpunkt ist ein Wert in einem Gerät. Die App wandelt seine Register in einen "
                 "lesbaren Wert um."),
             B::table({
                 {"Unit", "die Unit-ID des Geräts (1–247; bei Modbus TCP oft 1 oder 255)"},
                 {"Tabelle",
                  "**Coil** (Bit, Lesen und Schreiben), **Discrete Input** (Bit, nur Lesen), "
                  "**Holding-Register** (16 Bit, Lesen und Schreiben) oder **Input-Register** (16 Bit, nur "
                  "Lesen)"},
                 {"Adresse",
                  "die Protokolladresse, beginnend bei `0`. Handbücher verwenden oft die "
                  "Modicon-Notation: Holding-Register `40001` ist Adresse `0`, Input-Register `30010` ist "
                  "Adresse `9`. Zeigen Sie mit der Maus auf die Adresse, um die Modicon-Notation zu sehen."},
                 {"Typ",
                  "`UInt16`/`Int16` belegen ein Register, `UInt32`/`Int32`/`Float32` zwei und die "
                  "64-Bit-Typen vier aufeinanderfolgende Register"},
                 {"Reihenfolge",
                  "die Byte-Reihenfolge von Werten, die mehrere Register belegen, siehe unten"},
                 {"Faktor", "Wert = Rohwert × Faktor; mit `0,1` wird aus `215` der Wert `21,5`"},
                 {"Anzeige",
                  "dezimal, hexadezimal (`0x00FF`) oder binär; hexadezimal und binär zeigen die rohen "
                  "Registerbits"},
             }),
             B::heading("Wortreihenfolge"),
             B::paragraph(
                 "Modbus kennt nur 16-Bit-Register, und Hersteller verteilen 32- und 64-Bit-Werte "
                 "unterschiedlich darauf. Die Buchstaben stehen für die Bytes des Werts, das höchstwertige "
                 "zuerst."),
             B::table({
                 {"ABCD", "höherwertiges Wort zuerst: der Modbus-Standard"},
                 {"CDAB", "Wörter vertauscht, verbreitet bei SPS und Energiezählern"},
                 {"BADC", "Bytes innerhalb jedes Worts vertauscht"},
                 {"DCBA", "vollständig umgekehrt (Little-Endian)"},
             }),
             B::tip(
                 "Sieht ein Wert seltsam aus, etwa `0,0000…` mit einer langen Reihe Nullen oder eine riesige "
                 "Zahl, wo `21,5` stehen sollte? Dann probieren Sie eine andere Reihenfolge, meist CDAB."),
         }},
        {"writing",
         "Werte schreiben",
         "pencil",
         {
             B::paragraph(
                 "Coils und Holding-Register schreiben Sie mit dem Stift in der Spalte **Wert**: Geben Sie "
                 "den neuen Wert ein und klicken Sie auf **Schreiben**, oder klicken Sie bei einem Bit auf "
                 "**Ein** oder **Aus**. Der Wert wird mit Typ, Reihenfolge und Faktor des Datenpunkts "
                 "umgerechnet."),
             B::paragraph(
                 "Die App schreibt eine Coil mit FC05, ein einzelnes Register mit FC06 und mehrere Register "
                 "mit FC16. Für Geräte, die nur FC15 und FC16 unterstützen, wählen Sie in den Einstellungen "
                 "**Immer FC15/16**."),
             B::tip(
                 "Schreiben ist nur möglich, während die Abfrage läuft. Schlägt ein Schreibvorgang fehl, "
                 "nennt ein Hinweis den Grund, zum Beispiel Ausnahme 02 (Adresse existiert nicht) oder 03 "
                 "(Wert außerhalb des Bereichs)."),
         }},
        {"chart",
         "Diagramm und Export",
         "chart.xyaxis.line",
         {
             B::paragraph(
                 "Haken Sie in der Spalte **Trend** die Datenpunkte an, die Sie verfolgen möchten. Das "
                 "Diagramm erscheint unten: Mit der Menütaste oben links im Bereich wechseln Sie zwischen "
                 "**Log** und **Diagramm**, oben rechts wählen Sie den Zeitraum."),
             B::screenshot("chart", "Die Temperatur der letzten Minute."),
             B::paragraph(
                 "Jeder gelesene Wert wird aufgezeichnet, bis zu 20.000 je Datenpunkt. **Verlauf exportieren "
                 "(CSV)…** schreibt eine Zeile je Messung, mit Zeit, Poll, Name, Wert und Einheit."),
         }},
        {"csv",
         "Excel und CSV",
         "doc.text",
         {
             B::paragraph(
                 "Datenpunktlisten lassen sich in einer Tabellenkalkulation wie Excel oder Numbers erstellen "
                 "und als CSV importieren. **CSV ▸ Datenpunkte exportieren** schreibt eine Datei, die die "
                 "Tabellenkalkulation direkt öffnet, mit den Werten dieses Moments."),
             B::paragraph(
                 "Die erste Zeile enthält die Spaltennamen. Nur **Table** und **Address** (oder **Tabelle** "
                 "und **Adresse**) sind Pflicht, die Reihenfolge der Spalten spielt keine Rolle."),
             B::table({
                 {"Name", "Name des Datenpunkts"},
                 {"Unit ID", "Unit-ID, 1 wenn leer"},
                 {"Table", "`CO`, `DI`, `HR` oder `IR` (auch `coil`, `holding`, `4x` …)"},
                 {"Address", "Adresse ab 0"},
                 {"Data type", "`uint16`, `int16`, `float32` … (auch `float`, `real`, `dint`)"},
                 {"Word order", "`ABCD`, `CDAB`, `BADC` oder `DCBA`"},
                 {"Scale, Unit, Format, Value, Description", "optional"},
             }),
             B::tip(
                 "Das Trennzeichen richtet sich nach der Region: ein Semikolon, wo Dezimalzahlen mit Komma "
                 "geschrieben werden. Beim Import werden Komma, Semikolon und Tabulator erkannt, und sowohl "
                 "`21,5` als auch `21.5`."),
         }},
        {"rtu-over-tcp",
         "RTU über TCP",
         "arrow.left.arrow.right",
         {
             B::paragraph(
                 "Viele Ethernet- und WLAN-Umsetzer auf RS-485 (etwa USR-TCP232, Elfin EW11, Waveshare oder "
                 "Moxa NPort im Modus TCP-Server) reichen den RTU-Frame (Unit, PDU, CRC) unverändert weiter, "
                 "ohne MBAP-Header: *RTU über TCP*. Geräte mit eingebautem Umsetzer dieser Art arbeiten oft "
                 "ebenso."),
             B::paragraph(
                 "Das Protokoll wählen Sie mit der Schaltfläche mit den Schiebereglern: **Modbus TCP** oder "
                 "**RTU über TCP**. Es lässt sich nur ändern, solange die Abfrage gestoppt ist, und wird im "
                 "Projekt gespeichert."),
             B::heading("Unterschiede zu Modbus TCP"),
             B::bullets({
                 "Die Unit-ID ist die RS-485-Slave-Adresse (1–247). Unit `0` ist ein Broadcast, auf den "
                 "keine Antwort kommt.",
                 "Es gibt keine Transaktions-ID. Deshalb verwirft die App vor jeder Anfrage alles, was noch "
                 "eintrifft, und überspringt Antworten einer anderen Unit oder mit einem anderen "
                 "Funktionscode.",
                 "Eine Antwort mit falscher CRC erhält den Status **CRC-Fehler**: Prüfen Sie Verkabelung und "
                 "Baudrate.",
             }),
             B::tip(
                 "Die seriellen Einstellungen des Umsetzers nehmen Sie am Umsetzer selbst vor. Ein längeres "
                 "Antwort-Timeout (1 s oder mehr) hilft bei langsamen Geräten."),
         }},
        {"log",
         "Status und Log",
         "text.alignleft",
         {
             B::table({
                 {"OK · 24 ms", "gelesen, mit der Antwortzeit"},
                 {"Keine Antwort", "keine Antwort innerhalb des Antwort-Timeouts"},
                 {"Ausnahme 02", "das Gerät lehnt die Anfrage ab, siehe unten"},
                 {"Keine Verbindung",
                  "die Verbindung zum Gerät ist abgebrochen; die App verbindet sich von selbst neu"},
             }),
             B::paragraph(
                 "Nach einem Fehler bleibt der letzte gute Wert grau stehen. Zeigen Sie mit der Maus auf den "
                 "Wert, um die Rohregister zu sehen, oder auf den Status, um zu sehen, wann zuletzt gelesen "
                 "wurde."),
             B::heading("Ausnahmecodes"),
             B::table({
                 {"01", "das Gerät unterstützt diesen Funktionscode nicht"},
                 {"02", "diese Adresse existiert nicht (Achtung: Adressen beginnen bei 0)"},
                 {"03", "ungültiger Wert oder ungültige Anzahl"},
                 {"04", "Fehler im Gerät"},
                 {"06", "Gerät beschäftigt, später erneut versuchen"},
             }),
             B::paragraph(
                 "Das Log ist standardmäßig ausgeblendet; **Log** unten (⌘L) blendet es ein. Es zeigt jede "
                 "Antwort (←), jeden Schreibvorgang (✎) und jeden Fehler (✕)."),
         }},
        {"troubleshooting",
         "Fehlersuche",
         "wrench.and.screwdriver",
         {
             B::heading("Keine Antwort"),
             B::bullets({
                 "Prüfen Sie die Unit-ID: oft 1 oder 255; hinter einem Gateway ist es die RTU-Slave-Adresse.",
                 "Erhöhen Sie das Antwort-Timeout für langsame Geräte.",
                 "Prüfen Sie Netzwerk und IP-Adresse (`ping` in einem Terminal).",
                 "Modbus TCP verwendet standardmäßig Port `502`, manche Geräte aber einen anderen.",
                 // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one sentence over two lines
                 "Eine Firewall auf dem Computer, im Netzwerk oder auf dem Gerät kann den Port sperren. Beim "
                 "ersten Start fragt das System unter Umständen, ob die App Verbindungen annehmen darf.",
                 "Prüfen Sie das Protokoll: Ein Umsetzer spricht oft *RTU über TCP*.",
             }),
             B::heading("Seltsame Werte"),
             B::bullets({
                 "Liegt alles um eine Adresse daneben? Dann zählt das Handbuch ab 1 (oder 40001): Ziehen Sie "
                 "1 ab.",
                 "Stimmt ein 32-Bit-Wert nicht? Probieren Sie eine andere Reihenfolge, meist CDAB.",
                 "Stimmt die Größenordnung nicht? Prüfen Sie den Faktor (0,1 oder 0,01).",
             }),
             B::paragraph(
                 "Die App nutzt das Netzwerk nur für Modbus TCP und öffnet und speichert nur Dateien, die "
                 "Sie auswählen. Es werden keine Daten gesammelt oder gesendet."),
         }},
        {"shortcuts",
         "Tastaturkurzbefehle",
         "keyboard",
         {
             B::table({
                 {"⌘R", "Abfrage starten / stoppen"},
                 {"⌘T", "Neuer Poll"},
                 {"⇧⌘D", "Datenpunkt hinzufügen"},
                 {"⌘⌫", "Ausgewählte Datenpunkte löschen"},
                 {"⇧⌘I / ⇧⌘E", "Datenpunkte importieren / exportieren (CSV)"},
                 {"⌘N / ⌘O / ⇧⌘S", "Neues Projekt / öffnen / speichern unter"},
                 {"⌘L", "Log ein- oder ausblenden"},
                 {"⌘F", "Im Log suchen"},
                 {"⌘S", "Log speichern"},
                 {"⌘K", "Log leeren"},
                 {"⌘?", "Diese Hilfe öffnen"},
             }),
         }},
    };
}
// clang-format on

}  // namespace tessarin::HelpTopicTexts
