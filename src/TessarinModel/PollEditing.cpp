#include "TessarinModel/PollEditing.hpp"

#include "Localization/L10n.hpp"
#include "ModbusCore/RegisterTable.hpp"

#include <algorithm>
#include <iterator>
#include <map>

namespace tessarin::PollEditing {
namespace {

constexpr int lastProtocolAddress = 65535;

// The address right behind source when a datapoint of the same size still fits there.
std::optional<std::uint16_t> addressBehind(const Datapoint& source) {
    const int count = source.count();
    const int next = source.address + count;
    if (next + count - 1 > lastProtocolAddress) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(next);
}

std::vector<Datapoint>::iterator findPoint(Poll& poll, const Uuid& pointID) {
    return std::ranges::find(poll.datapoints, pointID, &Datapoint::id);
}

}  // namespace

Poll* selectedPoll(std::vector<Poll>& polls, const std::optional<Uuid>& selectedPollID) {
    if (!selectedPollID) {
        return nullptr;
    }
    const auto found = std::ranges::find(polls, *selectedPollID, &Poll::id);
    return found == polls.end() ? nullptr : &*found;
}

const Poll* selectedPoll(const std::vector<Poll>& polls, const std::optional<Uuid>& selectedPollID) {
    return selectedPoll(const_cast<std::vector<Poll>&>(polls), selectedPollID);
}

Datapoint newDatapoint(const Datapoint* shapedAfter) {
    Datapoint point;
    if (shapedAfter != nullptr) {
        point.unitID = shapedAfter->unitID;
        point.table = shapedAfter->table;
        point.dataType = shapedAfter->dataType;
        point.wordOrder = shapedAfter->wordOrder;
        point.address = addressBehind(*shapedAfter).value_or(0);
    }
    point = Datapoint::make(std::move(point));
    point.name = L10n::Table::newName(code(point.table), point.address);
    return point;
}

Uuid addDatapoint(Poll& poll, const std::optional<Uuid>& after) {
    auto position = after ? findPoint(poll, *after) : poll.datapoints.end();
    const bool behindChosen = position != poll.datapoints.end();
    const Datapoint* shapedAfter =
        behindChosen ? &*position : (poll.datapoints.empty() ? nullptr : &poll.datapoints.back());
    Datapoint point = newDatapoint(shapedAfter);
    const Uuid id = point.id;
    poll.datapoints.insert(behindChosen ? std::next(position) : poll.datapoints.end(), std::move(point));
    return id;
}

void duplicateDatapoints(Poll& poll, const std::set<Uuid>& ids) {
    for (const Uuid& id : ids) {
        const auto source = findPoint(poll, id);
        if (source == poll.datapoints.end()) {
            continue;
        }
        Datapoint copy = *source;
        copy.id = Uuid::random();
        copy.address = addressBehind(*source).value_or(source->address);
        poll.datapoints.insert(std::next(source), std::move(copy));
    }
}

void deleteDatapoints(Poll& poll, const std::set<Uuid>& ids) {
    std::erase_if(poll.datapoints, [&](const Datapoint& point) { return ids.contains(point.id); });
    for (const Uuid& id : ids) {
        poll.plotted.erase(id);
    }
}

bool editDatapoint(Poll& poll, const Uuid& pointID, const std::function<void(Datapoint&)>& edit) {
    const auto point = findPoint(poll, pointID);
    if (point == poll.datapoints.end()) {
        return false;
    }
    const RegisterTable before = point->table;
    edit(*point);
    // Only a new table re-applies the table rule: a register may hold a bit, so a bool holding
    // or input register that is merely renamed keeps its type (and with it its status and
    // history). A bit table never holds anything but bool, whichever field changed.
    if (point->table != before || isBit(point->table)) {
        point->setTable(point->table);
    }
    return true;
}

void setPlotted(Poll& poll, bool on, const Uuid& pointID) {
    if (!on) {
        poll.plotted.erase(pointID);
    } else if (findPoint(poll, pointID) != poll.datapoints.end()) {
        poll.plotted.insert(pointID);
    }
}

Uuid addPoll(std::vector<Poll>& polls) {
    Poll poll;
    poll.name = L10n::Polls::newName(static_cast<std::int64_t>(polls.size()) + 1);
    poll.intervalMs = 1000;
    poll.enabled = true;
    polls.push_back(std::move(poll));
    return polls.back().id;
}

std::optional<Uuid> duplicatePoll(std::vector<Poll>& polls, const Uuid& pollID) {
    const auto source = std::ranges::find(polls, pollID, &Poll::id);
    if (source == polls.end()) {
        return std::nullopt;
    }
    Poll copy = *source;
    copy.id = Uuid::random();
    copy.name = L10n::Polls::copyName(source->name);
    std::map<Uuid, Uuid> renamed;
    for (Datapoint& point : copy.datapoints) {
        const Uuid fresh = Uuid::random();
        renamed.emplace(point.id, fresh);
        point.id = fresh;
    }
    copy.plotted.clear();
    for (const Uuid& plotted : source->plotted) {
        if (const auto found = renamed.find(plotted); found != renamed.end()) {
            copy.plotted.insert(found->second);
        }
    }
    const Uuid id = copy.id;
    polls.insert(std::next(source), std::move(copy));
    return id;
}

std::optional<Uuid> removePoll(std::vector<Poll>& polls, const std::optional<Uuid>& selectedPollID,
                               const Uuid& pollID) {
    const auto found = std::ranges::find(polls, pollID, &Poll::id);
    if (polls.size() <= 1 || found == polls.end()) {
        return selectedPollID;
    }
    const auto index = static_cast<std::size_t>(std::distance(polls.begin(), found));
    polls.erase(found);
    if (selectedPollID != pollID) {
        return selectedPollID;
    }
    return polls[index == 0 ? 0 : index - 1].id;
}

}  // namespace tessarin::PollEditing
