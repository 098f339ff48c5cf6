#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "Localization/Language.hpp"
#include "ModbusCore/DataType.hpp"
#include "ModbusCore/DatapointCSV.hpp"
#include "ModbusCore/DisplayFormat.hpp"
#include "ModbusCore/FunctionCode.hpp"
#include "ModbusCore/PollFailure.hpp"
#include "ModbusCore/RegisterTable.hpp"

// Every user-visible text of the application, in the current language. Fixed keys are
// functions without values; template keys take the values they embed, in the order named.
// Each key also takes an explicit language, defaulting to currentLanguage(), so that tests
// and tools can ask for any of the five.
namespace tessarin::L10n {

// The product name, the same in every language.
[[nodiscard]] std::string appName(Language language = currentLanguage());

// The connection bar.
namespace Header {
[[nodiscard]] std::string start(Language language = currentLanguage());
[[nodiscard]] std::string stop(Language language = currentLanguage());
[[nodiscard]] std::string startHelp(Language language = currentLanguage());
[[nodiscard]] std::string stopHelp(Language language = currentLanguage());
[[nodiscard]] std::string frameSettingsHelp(Language language = currentLanguage());
[[nodiscard]] std::string lockedWhileRunning(Language language = currentLanguage());
}  // namespace Header

// Device address and protocol.
namespace TCP {
[[nodiscard]] std::string host(Language language = currentLanguage());
[[nodiscard]] std::string hostPlaceholder(Language language = currentLanguage());
[[nodiscard]] std::string hostHelp(Language language = currentLanguage());
[[nodiscard]] std::string port(Language language = currentLanguage());
[[nodiscard]] std::string portHelp(Language language = currentLanguage());
[[nodiscard]] std::string portInvalid(Language language = currentLanguage());
[[nodiscard]] std::string framing(Language language = currentLanguage());
// The protocol's own name, the same in every language.
[[nodiscard]] std::string modbusTCP(Language language = currentLanguage());
[[nodiscard]] std::string rtuOverTCP(Language language = currentLanguage());
[[nodiscard]] std::string framingHelp(Language language = currentLanguage());
}  // namespace TCP

// The connection-settings popover.
namespace Settings {
[[nodiscard]] std::string requests(Language language = currentLanguage());
[[nodiscard]] std::string responseTimeout(Language language = currentLanguage());
[[nodiscard]] std::string timeoutHelp(Language language = currentLanguage());
[[nodiscard]] std::string milliseconds(std::int64_t ms, Language language = currentLanguage());
[[nodiscard]] std::string combine(Language language = currentLanguage());
// 0 means that only adjacent addresses are combined.
[[nodiscard]] std::string gapLabel(std::int64_t gap, Language language = currentLanguage());
[[nodiscard]] std::string combineHelp(Language language = currentLanguage());
[[nodiscard]] std::string writeMode(Language language = currentLanguage());
[[nodiscard]] std::string writeSingle(Language language = currentLanguage());
[[nodiscard]] std::string writeMultiple(Language language = currentLanguage());
[[nodiscard]] std::string writeModeHelp(Language language = currentLanguage());
}  // namespace Settings

// The reading state.
namespace State {
[[nodiscard]] std::string running(Language language = currentLanguage());
[[nodiscard]] std::string connecting(Language language = currentLanguage());
[[nodiscard]] std::string stopped(Language language = currentLanguage());
}  // namespace State

// Banners and the empty-state prompt.
namespace Notice {
[[nodiscard]] std::string emptyTitle(Language language = currentLanguage());
[[nodiscard]] std::string emptySteps(Language language = currentLanguage());
[[nodiscard]] std::string startPolling(Language language = currentLanguage());
[[nodiscard]] std::string noResponse(Language language = currentLanguage());
// problem: a whole sentence, usually a connection error text.
[[nodiscard]] std::string connectionProblem(std::string_view problem, Language language = currentLanguage());
[[nodiscard]] std::string dismiss(Language language = currentLanguage());
[[nodiscard]] std::string writeFailed(std::string_view name, std::string_view reason,
                                      Language language = currentLanguage());
[[nodiscard]] std::string startFirst(Language language = currentLanguage());
}  // namespace Notice

// The bar below the table: log options and statistics.
namespace Footer {
[[nodiscard]] std::string showLog(Language language = currentLanguage());
[[nodiscard]] std::string showLogHelp(Language language = currentLanguage());
[[nodiscard]] std::string showLogMenu(Language language = currentLanguage());
[[nodiscard]] std::string options(Language language = currentLanguage());
[[nodiscard]] std::string optionsHelp(Language language = currentLanguage());
[[nodiscard]] std::string autoscroll(Language language = currentLanguage());
[[nodiscard]] std::string timestamps(Language language = currentLanguage());
[[nodiscard]] std::string rawFrames(Language language = currentLanguage());
[[nodiscard]] std::string rawFramesHelp(Language language = currentLanguage());
[[nodiscard]] std::string onlyProblems(Language language = currentLanguage());
[[nodiscard]] std::string onlyProblemsHelp(Language language = currentLanguage());
[[nodiscard]] std::string save(Language language = currentLanguage());
[[nodiscard]] std::string saveHelp(Language language = currentLanguage());
[[nodiscard]] std::string clear(Language language = currentLanguage());
[[nodiscard]] std::string clearHelp(Language language = currentLanguage());
[[nodiscard]] std::string outputAccessibility(Language language = currentLanguage());
[[nodiscard]] std::string statistics(std::int64_t requests, std::int64_t responses, std::int64_t timeouts,
                                     std::int64_t exceptions, std::int64_t errors,
                                     Language language = currentLanguage());
}  // namespace Footer

// Menu commands.
namespace Menu {
[[nodiscard]] std::string file(Language language = currentLanguage());
[[nodiscard]] std::string poller(Language language = currentLanguage());
[[nodiscard]] std::string help(Language language = currentLanguage());
[[nodiscard]] std::string quit(Language language = currentLanguage());
// The buttons of the error alert and of confirmations.
[[nodiscard]] std::string ok(Language language = currentLanguage());
[[nodiscard]] std::string cancel(Language language = currentLanguage());
[[nodiscard]] std::string saveLog(Language language = currentLanguage());
[[nodiscard]] std::string clearLog(Language language = currentLanguage());
[[nodiscard]] std::string newProject(Language language = currentLanguage());
[[nodiscard]] std::string openProject(Language language = currentLanguage());
[[nodiscard]] std::string saveProject(Language language = currentLanguage());
[[nodiscard]] std::string importCSV(Language language = currentLanguage());
[[nodiscard]] std::string exportCSV(Language language = currentLanguage());
// Starts a simulated device for the current project and reads from it.
[[nodiscard]] std::string demoDevice(Language language = currentLanguage());
}  // namespace Menu

// The datapoint table.
namespace Table {
[[nodiscard]] std::string name(Language language = currentLanguage());
[[nodiscard]] std::string namePlaceholder(Language language = currentLanguage());
[[nodiscard]] std::string unitID(Language language = currentLanguage());
[[nodiscard]] std::string table(Language language = currentLanguage());
[[nodiscard]] std::string address(Language language = currentLanguage());
[[nodiscard]] std::string dataType(Language language = currentLanguage());
[[nodiscard]] std::string wordOrder(Language language = currentLanguage());
[[nodiscard]] std::string scale(Language language = currentLanguage());
[[nodiscard]] std::string value(Language language = currentLanguage());
// The engineering unit, unlike unitID.
[[nodiscard]] std::string unit(Language language = currentLanguage());
[[nodiscard]] std::string format(Language language = currentLanguage());
[[nodiscard]] std::string description(Language language = currentLanguage());
[[nodiscard]] std::string status(Language language = currentLanguage());
[[nodiscard]] std::string plot(Language language = currentLanguage());
[[nodiscard]] std::string add(Language language = currentLanguage());
[[nodiscard]] std::string addHelp(Language language = currentLanguage());
[[nodiscard]] std::string duplicate(Language language = currentLanguage());
// "delete" is a C++ keyword.
[[nodiscard]] std::string delete_(Language language = currentLanguage());
[[nodiscard]] std::string csv(Language language = currentLanguage());
[[nodiscard]] std::string csvHelp(Language language = currentLanguage());
[[nodiscard]] std::string unitIDHelp(Language language = currentLanguage());
// modicon: the address in Modicon notation, e.g. "40001".
[[nodiscard]] std::string addressHelp(std::string_view modicon, Language language = currentLanguage());
[[nodiscard]] std::string wordOrderHelp(Language language = currentLanguage());
[[nodiscard]] std::string scaleHelp(Language language = currentLanguage());
[[nodiscard]] std::string plotHelp(Language language = currentLanguage());
[[nodiscard]] std::string valueHelp(Language language = currentLanguage());
// Names the type as dataTypeName does: "This value does not fit in Int16."
[[nodiscard]] std::string valueInvalid(DataType type, Language language = currentLanguage());
// The registers as four upper-case hexadecimal digits each, separated by single spaces.
[[nodiscard]] std::string rawHelp(std::span<const std::uint16_t> registers,
                                  Language language = currentLanguage());
// time: already formatted for the user's locale.
[[nodiscard]] std::string updatedHelp(std::string_view time, Language language = currentLanguage());
[[nodiscard]] std::string waiting(Language language = currentLanguage());
[[nodiscard]] std::string ok(std::int64_t ms, Language language = currentLanguage());
// base: the table code ("HR"), n: the address.
[[nodiscard]] std::string newName(std::string_view base, std::int64_t n,
                                  Language language = currentLanguage());
[[nodiscard]] std::string emptyTitle(Language language = currentLanguage());
[[nodiscard]] std::string emptyText(Language language = currentLanguage());
[[nodiscard]] std::string tableName(RegisterTable table, Language language = currentLanguage());
// The same technical names in every language ("Bit", "UInt16", …).
[[nodiscard]] std::string dataTypeName(DataType type, Language language = currentLanguage());
[[nodiscard]] std::string formatName(DisplayFormat format, Language language = currentLanguage());
}  // namespace Table

// Poll tabs.
namespace Polls {
[[nodiscard]] std::string add(Language language = currentLanguage());
[[nodiscard]] std::string addHelp(Language language = currentLanguage());
[[nodiscard]] std::string namePlaceholder(Language language = currentLanguage());
[[nodiscard]] std::string interval(Language language = currentLanguage());
// Whole seconds (rounded down) from 1000 ms on, milliseconds below.
[[nodiscard]] std::string intervalLabel(std::int64_t ms, Language language = currentLanguage());
[[nodiscard]] std::string intervalHelp(Language language = currentLanguage());
[[nodiscard]] std::string active(Language language = currentLanguage());
[[nodiscard]] std::string activeHelp(Language language = currentLanguage());
[[nodiscard]] std::string removeTitle(Language language = currentLanguage());
[[nodiscard]] std::string remove(Language language = currentLanguage());
[[nodiscard]] std::string removeMessage(Language language = currentLanguage());
[[nodiscard]] std::string unnamed(Language language = currentLanguage());
[[nodiscard]] std::string duplicate(Language language = currentLanguage());
[[nodiscard]] std::string tabHelp(Language language = currentLanguage());
[[nodiscard]] std::string newName(std::int64_t n, Language language = currentLanguage());
[[nodiscard]] std::string copyName(std::string_view name, Language language = currentLanguage());
}  // namespace Polls

// The write editor.
namespace Write {
[[nodiscard]] std::string help(Language language = currentLanguage());
[[nodiscard]] std::string title(std::string_view name, Language language = currentLanguage());
[[nodiscard]] std::string off(Language language = currentLanguage());
[[nodiscard]] std::string on(Language language = currentLanguage());
[[nodiscard]] std::string placeholder(Language language = currentLanguage());
[[nodiscard]] std::string button(Language language = currentLanguage());
}  // namespace Write

// The bottom pane.
namespace Pane {
[[nodiscard]] std::string title(Language language = currentLanguage());
[[nodiscard]] std::string log(Language language = currentLanguage());
[[nodiscard]] std::string chart(Language language = currentLanguage());
[[nodiscard]] std::string clearHistory(Language language = currentLanguage());
[[nodiscard]] std::string clearHistoryHelp(Language language = currentLanguage());
[[nodiscard]] std::string exportHistory(Language language = currentLanguage());
[[nodiscard]] std::string exportHistoryHelp(Language language = currentLanguage());
}  // namespace Pane

namespace Chart {
[[nodiscard]] std::string emptyTitle(Language language = currentLanguage());
[[nodiscard]] std::string emptyText(Language language = currentLanguage());
[[nodiscard]] std::string time(Language language = currentLanguage());
[[nodiscard]] std::string window(Language language = currentLanguage());
[[nodiscard]] std::string windowHelp(Language language = currentLanguage());
// seconds: the period shown, 0 meaning everything; whole hours from 3600 on, else whole minutes.
[[nodiscard]] std::string windowLabel(std::int64_t seconds, Language language = currentLanguage());
}  // namespace Chart

// Pieces of communication-log lines and status texts.
namespace Log {
// address: host and port as the connection bar shows them.
[[nodiscard]] std::string connecting(std::string_view address, Language language = currentLanguage());
[[nodiscard]] std::string connected(std::string_view address, Language language = currentLanguage());
[[nodiscard]] std::string disconnected(Language language = currentLanguage());
[[nodiscard]] std::string stopped(Language language = currentLanguage());
[[nodiscard]] std::string unit(std::uint8_t unit, Language language = currentLanguage());
[[nodiscard]] std::string unitFunction(std::uint8_t unit, std::uint8_t function,
                                       Language language = currentLanguage());
// name: the table code or label before the addresses; a count of 1 shows one address,
// any other count the range start–(start + count − 1).
[[nodiscard]] std::string range(std::string_view name, std::uint16_t start, std::int64_t count,
                                Language language = currentLanguage());
// The sentence the communication log gives for a failed request; timeoutMs is the response
// timeout that a timeout failure names.
[[nodiscard]] std::string failure(const PollFailure& failure, std::int64_t timeoutMs,
                                  Language language = currentLanguage());
// The short label of the status column.
[[nodiscard]] std::string shortFailure(const PollFailure& failure, Language language = currentLanguage());
[[nodiscard]] std::string writeFailed(std::string_view name, Language language = currentLanguage());
// Frames the link dropped because they came after their request had failed, or were not asked
// for; the log shows the first of them after this text.
[[nodiscard]] std::string framesDropped(std::int64_t count, Language language = currentLanguage());
}  // namespace Log

// The datapoint CSV import dialog.
namespace Import {
[[nodiscard]] std::string title(std::int64_t count, Language language = currentLanguage());
[[nodiscard]] std::string question(Language language = currentLanguage());
[[nodiscard]] std::string skipped(std::int64_t count, Language language = currentLanguage());
[[nodiscard]] std::string add(Language language = currentLanguage());
[[nodiscard]] std::string replace(Language language = currentLanguage());
[[nodiscard]] std::string cancel(Language language = currentLanguage());
}  // namespace Import

namespace Project {
[[nodiscard]] std::string menu(Language language = currentLanguage());
[[nodiscard]] std::string menuHelp(Language language = currentLanguage());
[[nodiscard]] std::string replaceTitle(Language language = currentLanguage());
[[nodiscard]] std::string replaceMessage(Language language = currentLanguage());
[[nodiscard]] std::string save(Language language = currentLanguage());
[[nodiscard]] std::string dontSave(Language language = currentLanguage());
}  // namespace Project

// Names of Modbus functions and exceptions, by their wire byte, so that codes the protocol
// layer has no case for still get a text.
namespace Modbus {
// "Function" for a code without a name.
[[nodiscard]] std::string functionName(std::uint8_t code, Language language = currentLanguage());
[[nodiscard]] std::string functionName(FunctionCode code, Language language = currentLanguage());
// The exception's name and its code in hexadecimal: "Illegal data address (02)".
[[nodiscard]] std::string exceptionName(std::uint8_t code, Language language = currentLanguage());
}  // namespace Modbus

namespace Errors {
[[nodiscard]] std::string alertTitle(Language language = currentLanguage());
[[nodiscard]] std::string enterHost(Language language = currentLanguage());
[[nodiscard]] std::string invalidTCPPort(Language language = currentLanguage());
[[nodiscard]] std::string saveFailed(std::string_view reason, Language language = currentLanguage());
[[nodiscard]] std::string fileOpenFailed(std::string_view file, Language language = currentLanguage());
// details: usually the first import issue's text; may be empty.
[[nodiscard]] std::string importNothing(std::string_view details, Language language = currentLanguage());
// "Line {line}: " and the problem's text.
[[nodiscard]] std::string importIssue(const DatapointCSV::ImportIssue& issue,
                                      Language language = currentLanguage());
// The text of one CSV problem, quoting the offending cell.
[[nodiscard]] std::string csvProblem(const DatapointCSV::Problem& problem,
                                     Language language = currentLanguage());
[[nodiscard]] std::string csvMissingColumns(Language language = currentLanguage());
[[nodiscard]] std::string csvInvalidTable(std::string_view text, Language language = currentLanguage());
[[nodiscard]] std::string csvInvalidAddress(std::string_view text, Language language = currentLanguage());
[[nodiscard]] std::string csvInvalidUnit(std::string_view text, Language language = currentLanguage());
[[nodiscard]] std::string csvInvalidDataType(std::string_view text, Language language = currentLanguage());
[[nodiscard]] std::string csvInvalidNumber(std::string_view text, Language language = currentLanguage());
// The connection errors of the TCP link.
[[nodiscard]] std::string timeout(Language language = currentLanguage());
[[nodiscard]] std::string resolveFailed(std::string_view host, Language language = currentLanguage());
// The reason a connection attempt failed, for the error numbers met when commissioning
// (refused, host or network unreachable, timed out, reset by the peer). No value for any other
// number: the caller then names the system's own text.
[[nodiscard]] std::optional<std::string> connectReason(int errorNumber,
                                                       Language language = currentLanguage());
// reason: connectReason's text, or the system's text for the error number (strerror).
[[nodiscard]] std::string connectFailed(std::string_view host, std::uint16_t port, std::string_view reason,
                                        Language language = currentLanguage());
[[nodiscard]] std::string connectTimeout(std::string_view host, std::uint16_t port,
                                         Language language = currentLanguage());
[[nodiscard]] std::string connectionClosed(Language language = currentLanguage());
[[nodiscard]] std::string invalidResponse(Language language = currentLanguage());
}  // namespace Errors

// The help window's own texts; the topics live beside it.
namespace Help {
[[nodiscard]] std::string menuItem(Language language = currentLanguage());
[[nodiscard]] std::string windowTitle(Language language = currentLanguage());
[[nodiscard]] std::string searchPrompt(Language language = currentLanguage());
[[nodiscard]] std::string noResults(Language language = currentLanguage());
[[nodiscard]] std::string tipLabel(Language language = currentLanguage());
}  // namespace Help

// The command-line device simulator and its log.
namespace Simulator {
[[nodiscard]] std::string usage(Language language = currentLanguage());
[[nodiscard]] std::string unknownOption(std::string_view option, Language language = currentLanguage());
[[nodiscard]] std::string missingValue(std::string_view option, Language language = currentLanguage());
[[nodiscard]] std::string invalidValue(std::string_view option, std::string_view value,
                                       Language language = currentLanguage());
[[nodiscard]] std::string oneProjectOnly(std::string_view file, Language language = currentLanguage());
// address: host and port as "127.0.0.1:502"; reason: the system's text.
[[nodiscard]] std::string listenFailed(std::string_view address, std::string_view reason,
                                       Language language = currentLanguage());
[[nodiscard]] std::string portFallback(std::int64_t port, std::int64_t fallback,
                                       Language language = currentLanguage());
// project: a file name or the example project's poll name; framing: its raw value.
[[nodiscard]] std::string serving(std::string_view project, std::string_view address, std::string_view framing,
                                  Language language = currentLanguage());
// client: the peer's address and port.
[[nodiscard]] std::string clientConnected(std::string_view client, Language language = currentLanguage());
[[nodiscard]] std::string clientDisconnected(std::string_view client, Language language = currentLanguage());
[[nodiscard]] std::string clientDropped(std::string_view client, Language language = currentLanguage());
[[nodiscard]] std::string stopped(Language language = currentLanguage());
}  // namespace Simulator

// Names in the example project.
namespace Example {
[[nodiscard]] std::string pollName(Language language = currentLanguage());
[[nodiscard]] std::string meterPollName(Language language = currentLanguage());
[[nodiscard]] std::string temperature(Language language = currentLanguage());
[[nodiscard]] std::string pressure(Language language = currentLanguage());
[[nodiscard]] std::string runtime(Language language = currentLanguage());
[[nodiscard]] std::string setpoint(Language language = currentLanguage());
[[nodiscard]] std::string mode(Language language = currentLanguage());
[[nodiscard]] std::string pump(Language language = currentLanguage());
[[nodiscard]] std::string alarm(Language language = currentLanguage());
[[nodiscard]] std::string energy(Language language = currentLanguage());
}  // namespace Example

}  // namespace tessarin::L10n
