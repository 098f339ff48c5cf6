#pragma once

#include "ModbusCore/Datapoint.hpp"
#include "ModbusCore/Uuid.hpp"
#include "PollerCore/Poll.hpp"

#include <functional>
#include <optional>
#include <set>
#include <vector>

// The edits of polls and datapoints, as plain functions over a copy of the poll list that the
// model then writes back in one piece (so its change handling runs once per edit). An id that
// does not exist (any more) leaves everything unchanged.
namespace tessarin::PollEditing {

// The poll whose id is the selected one; none when there is no such poll.
[[nodiscard]] Poll* selectedPoll(std::vector<Poll>& polls, const std::optional<Uuid>& selectedPollID);
[[nodiscard]] const Poll* selectedPoll(const std::vector<Poll>& polls,
                                       const std::optional<Uuid>& selectedPollID);

// A new datapoint shaped after the template (the defaults of a fresh datapoint without one),
// at the next free address behind it, named after its table and address ("HR 12"). When the
// new datapoint would not fit between there and 65535 it goes to address 0.
[[nodiscard]] Datapoint newDatapoint(const Datapoint* shapedAfter);

// Adds a new datapoint after the datapoint `after` (inserted right behind it), or after the
// poll's last datapoint when `after` is none or not in the poll (appended). Gives its id.
Uuid addDatapoint(Poll& poll, const std::optional<Uuid>& after);

// Copies every datapoint of the poll named in ids with a new id, right behind its source and,
// when the copy fits there, at the address after the source's last one.
void duplicateDatapoints(Poll& poll, const std::set<Uuid>& ids);

// Removes the datapoints and their entries in the plotted set; the others keep their order.
void deleteDatapoints(Poll& poll, const std::set<Uuid>& ids);

// Applies one table cell's change to a datapoint. A change of table applies the table rule
// afterwards as Datapoint::setTable does (bool in a bit table, bool turned into uint16 in a
// register table); any other edit keeps a register's type, bool included, and a bit table's
// datapoint stays bool. False when the poll holds no such datapoint.
bool editDatapoint(Poll& poll, const Uuid& pointID, const std::function<void(Datapoint&)>& edit);

// Shows or hides a datapoint of the poll in the chart.
void setPlotted(Poll& poll, bool on, const Uuid& pointID);

// Appends an empty poll named "Poll {n}" (n = number of polls + 1); gives its id to select.
Uuid addPoll(std::vector<Poll>& polls);

// Inserts a copy of the poll right behind it, named "{name} (copy)", whose datapoints have new
// ids and whose plotted set names the copies (entries naming no datapoint are dropped). Gives
// the copy's id to select.
std::optional<Uuid> duplicatePoll(std::vector<Poll>& polls, const Uuid& pollID);

// Removes the poll unless it is the last one. Gives the poll to select afterwards: unchanged,
// unless the removed poll was selected; then the poll before it, or the new first poll.
std::optional<Uuid> removePoll(std::vector<Poll>& polls, const std::optional<Uuid>& selectedPollID,
                               const Uuid& pollID);

}  // namespace tessarin::PollEditing
