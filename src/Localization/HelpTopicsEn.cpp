#include "Localization/HelpTopicTexts.hpp"

#include <fmt/format.h>

namespace tessarin::HelpTopicTexts {

// The texts keep the line breaks a reviewer reads them in.
// clang-format off
std::vector<HelpTopic> english(std::string_view appName) {
    using B = HelpBlock;
    return {
        {"start",
         "Getting started",
         "play.circle",
         {
             B::paragraph(fmt::format(
                 "{} is a Modbus TCP client: it reads values from devices on the network, such as energy "
                 "meters, PLCs and controllers, and can write values to them. Devices behind a Modbus "
                 "gateway to RS-485 are reached the same way.",
                 appName)),
             B::heading("In four steps"),
             B::bullets({
                 "Enter the IP address or name of the device and the TCP port (default `502`) at the top.",
                 "Enter the datapoints in the table: unit ID, table, address and type, as the device's "
                 "manual gives them.",
                 "If needed, choose a longer response timeout with the slider button; through a gateway "
                 "to RS-485, 1 s or more.",
                 "Click **Start** (⌘R). The **Value** column shows the current values, and **Status** "
                 "shows whether reading works.",
             }),
             B::screenshot("overview",
                           "A poll with live values and the status per datapoint, with the communication "
                           "below."),
             B::paragraph(
                 "Polls and datapoints are saved automatically. The **Project** button left of the tabs "
                 "starts a new project, opens a project file or saves the current one; before the current "
                 "project is replaced, the app asks whether to save it first. No device at hand? **Poller** ▸ "
                 "**Demo device** starts a simulated device for the current project and reads from it."),
         }},
        {"polls",
         "Polls",
         "square.stack",
         {
             B::paragraph(
                 "A poll is a group of datapoints with its own interval, shown as a tab: read fast-changing "
                 "values every 250 ms, for example, and counters every minute. **+** (⌘T) adds a poll; "
                 "right-click a tab to duplicate or remove it."),
             B::paragraph(
                 "The dot on a tab is green when everything is read and orange when something fails. Turn "
                 "**Active** off to skip a poll."),
             B::paragraph(
                 "Datapoints next to each other are read in one request (up to 125 registers or 2000 "
                 "bits). Small gaps between addresses can be bridged in the settings: that is faster, but "
                 "some devices then answer with exception 02."),
             B::paragraph(
                 "Only one request is outstanding at a time, and writes go before reads. When the "
                 "connection drops, the app reconnects by itself."),
         }},
        {"datapoints",
         "Datapoints",
         "tablecells",
         {
             B::paragraph(
                 "A datapoint is one value in a device. The app converts its registers into a readable "
                 "value."),
             B::table({
                 {"Unit", "the unit ID of the device (1–247; with Modbus TCP often 1 or 255)"},
                 {"Table",
                  "**Coil** (bit, read and write), **Discrete input** (bit, read only), **Holding "
                  "register** (16 bit, read and write) or **Input register** (16 bit, read only)"},
                 {"Address",
                  "the protocol address, starting at `0`. Manuals often use Modicon notation: holding "
                  "register `40001` is address `0`, input register `30010` is address `9`. Hover over the "
                  "address to see the Modicon notation."},
                 {"Type",
                  "`UInt16`/`Int16` use one register, `UInt32`/`Int32`/`Float32` two and the 64-bit types "
                  "four consecutive registers"},
                 {"Order", "the byte order of values that span several registers, see below"},
                 {"Scale", "value = raw value × scale; with `0.1`, `215` becomes `21.5`"},
                 {"Display", "decimal, hex (`0x00FF`) or binary; hex and binary show the raw register bits"},
             }),
             B::heading("Word order"),
             B::paragraph(
                 "Modbus only knows 16-bit registers, and manufacturers spread 32- and 64-bit values over "
                 "them in different ways. The letters stand for the bytes of the value, most significant "
                 "first."),
             B::table({
                 {"ABCD", "high word first: the Modbus standard"},
                 {"CDAB", "words swapped, common in PLCs and energy meters"},
                 {"BADC", "bytes swapped within each word"},
                 {"DCBA", "fully reversed (little-endian)"},
             }),
             B::tip(
                 "Does a value look odd, for example `0.0000…` with a long row of zeros, or a huge number, "
                 "where `21.5` belongs? Then try another order, usually CDAB."),
         }},
        {"writing",
         "Writing values",
         "pencil",
         {
             B::paragraph(
                 "Coils and holding registers can be written with the pencil in the **Value** column: "
                 "enter the new value and click **Write**, or click **On** or **Off** for a bit. The value "
                 "is converted with the datapoint's type, order and scale."),
             B::paragraph(
                 "The app writes a coil with FC05, one register with FC06 and more registers with FC16. "
                 "For devices that support only FC15 and FC16, choose **Always FC15/16** in the settings."),
             B::tip(
                 "Writing works only while reading runs. When a write fails, a notice shows the reason, "
                 "for example exception 02 (the address does not exist) or 03 (the value is out of "
                 "range)."),
         }},
        {"chart",
         "Chart and export",
         "chart.xyaxis.line",
         {
             B::paragraph(
                 "Tick the datapoints you want to follow in the **Chart** column. The chart is shown at "
                 "the bottom: the menu button at the top left of the pane switches between **Log** and "
                 "**Chart**, and the period is chosen at the top right."),
             B::screenshot("chart", "The temperature over the last minute."),
             B::paragraph(
                 "Every value read is recorded, up to 20,000 per datapoint. **Export History (CSV)…** "
                 "writes one line per measurement, with the time, poll, name, value and unit."),
         }},
        {"csv",
         "Excel and CSV",
         "doc.text",
         {
             B::paragraph(
                 "Datapoint lists can be prepared in a spreadsheet such as Excel or Numbers and imported "
                 "as CSV. **CSV ▸ Export Datapoints** writes a file that the spreadsheet opens directly, "
                 "with the values of that moment."),
             B::paragraph(
                 "The first line holds the column names. Only **Table** and **Address** are required, and "
                 "the order of the columns does not matter."),
             B::table({
                 {"Name", "name of the datapoint"},
                 {"Unit ID", "unit ID, 1 if empty"},
                 {"Table", "`CO`, `DI`, `HR` or `IR` (also `coil`, `holding`, `4x` …)"},
                 {"Address", "address from 0"},
                 {"Data type", "`uint16`, `int16`, `float32` … (also `float`, `real`, `dint`)"},
                 {"Word order", "`ABCD`, `CDAB`, `BADC` or `DCBA`"},
                 {"Scale, Unit, Format, Value, Description", "optional"},
             }),
             B::tip(
                 "The separator follows the locale: a semicolon where decimals are written with a comma. "
                 "On import, comma, semicolon and tab are recognised, and both `21,5` and `21.5`."),
         }},
        {"rtu-over-tcp",
         "RTU over TCP",
         "arrow.left.arrow.right",
         {
             B::paragraph(
                 "Many Ethernet and WiFi to RS-485 converters (such as USR-TCP232, Elfin EW11, Waveshare "
                 "or Moxa NPort in TCP server mode) pass the RTU frame (unit, PDU, CRC) on unchanged, "
                 "without an MBAP header: *RTU over TCP*. Devices with such a converter built in often "
                 "work this way too."),
             B::paragraph(
                 "Choose the protocol with the slider button: **Modbus TCP** or **RTU over TCP**. It can "
                 "be changed only while reading is stopped, and it is saved in the project."),
             B::heading("Differences from Modbus TCP"),
             B::bullets({
                 "The unit ID is the RS-485 slave address (1–247). Unit `0` is a broadcast, which gets no "
                 "answer.",
                 "There is no transaction ID. Before every request the app therefore discards anything "
                 "still arriving, and it skips an answer from another unit or with another function code.",
                 "An answer with a wrong CRC gets the status **CRC error**: check the wiring and the baud "
                 "rate.",
             }),
             B::tip(
                 "The converter's own serial settings are made on the converter itself. A longer response "
                 "timeout (1 s or more) helps with slow devices."),
         }},
        {"log",
         "Status and log",
         "text.alignleft",
         {
             B::table({
                 {"OK · 24 ms", "read, with the response time"},
                 {"No response", "no answer within the response timeout"},
                 {"Exception 02", "the device refuses the request, see below"},
                 {"No connection", "the connection to the device is gone; the app reconnects by itself"},
             }),
             B::paragraph(
                 "After a failure the last good value stays, in grey. Hover over the value to see the raw "
                 "registers, or over the status to see when it was last read."),
             B::heading("Exception codes"),
             B::table({
                 {"01", "the device does not support this function code"},
                 {"02", "this address does not exist (note: addresses start at 0)"},
                 {"03", "invalid value or quantity"},
                 {"04", "failure in the device"},
                 {"06", "device busy, try again later"},
             }),
             B::paragraph(
                 "The log is off by default; **Log** at the bottom (⌘L) shows it. It shows every answer "
                 "(←), every write (✎) and every failure (✕)."),
         }},
        {"troubleshooting",
         "Troubleshooting",
         "wrench.and.screwdriver",
         {
             B::heading("No response"),
             B::bullets({
                 "Check the unit ID: often 1 or 255; behind a gateway it is the RTU slave address.",
                 "Raise the response timeout for slow devices.",
                 "Check the network and the IP address (`ping` in a terminal).",
                 "Modbus TCP uses port `502` by default, but some devices use another port.",
                 // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one sentence over two lines
                 "A firewall on the computer, in the network or on the device may block the port. On the "
                 "first start the system may ask whether the app may accept connections.",
                 "Check the protocol: a converter often speaks *RTU over TCP*.",
             }),
             B::heading("Odd values"),
             B::bullets({
                 "Is everything one address off? Then the manual counts from 1 (or 40001): subtract 1.",
                 "Is a 32-bit value wrong? Try another order, usually CDAB.",
                 "Is the magnitude wrong? Check the scale (0.1 or 0.01).",
             }),
             B::paragraph(
                 "The app uses the network only for Modbus TCP, and opens and saves only the files you "
                 "choose. Nothing is collected or sent."),
         }},
        {"shortcuts",
         "Keyboard shortcuts",
         "keyboard",
         {
             B::table({
                 {"⌘R", "Start / stop reading"},
                 {"⌘T", "New poll"},
                 {"⇧⌘D", "Add datapoint"},
                 {"⌘⌫", "Delete selected datapoints"},
                 {"⇧⌘I / ⇧⌘E", "Import / export datapoints (CSV)"},
                 {"⌘N / ⌘O / ⇧⌘S", "New project / open / save as"},
                 {"⌘L", "Show or hide the log"},
                 {"⌘F", "Find in the log"},
                 {"⌘S", "Save log"},
                 {"⌘K", "Clear log"},
                 {"⌘?", "Open this help"},
             }),
         }},
    };
}
// clang-format on

}  // namespace tessarin::HelpTopicTexts
