#include "PollerCore/ReadPlanner.hpp"

#include "ModbusCore/Datapoint.hpp"
#include "ModbusCore/RTUFrame.hpp"
#include "ModbusCore/ValueCodec.hpp"

#include <algorithm>
#include <cstddef>
#include <map>

namespace tessarin::ReadPlanner {

namespace {

constexpr int lastAddress = 0xFFFF;

using Range = AddressRange;

void emitRun(std::vector<ReadBlock>& out, const GroupKey& key, Range run) {
    const int limit = maxReadCount(key.table);
    for (int start = run.lower; start <= run.upper;) {
        const int count = std::min(limit, run.upper - start + 1);
        out.push_back({key.unit, key.table, static_cast<std::uint16_t>(start), count});
        start += count;
    }
}

void appendGroupBlocks(std::vector<ReadBlock>& out, const GroupKey& key, std::vector<Range>& ranges,
                       int maxGap) {
    std::ranges::stable_sort(ranges, {}, &Range::lower);
    const long long limit = maxReadCount(key.table);
    Range run = ranges.front();
    for (std::size_t i = 1; i < ranges.size(); ++i) {
        const Range next = ranges[i];
        const int newEnd = std::max(run.upper, next.upper);
        // 64-bit sums: a huge maxGap must not wrap around and split what it should join.
        const bool nearEnough =
            static_cast<long long>(next.lower) <= static_cast<long long>(run.upper) + 1 + maxGap;
        const bool fits = static_cast<long long>(newEnd) - run.lower + 1 <= limit;
        if (nearEnough && fits) {
            run.upper = newEnd;
        } else {
            emitRun(out, key, run);
            run = next;
        }
    }
    emitRun(out, key, run);
}

}  // namespace

bool readsUnit(std::uint8_t unit, TCPFraming framing) {
    if (framing == TCPFraming::modbusTCP) return true;
    return RTUFrame::isUnitInRange(unit);
}

std::vector<ReadBlock> blocks(std::span<const Datapoint> datapoints, int maxGap, TCPFraming framing) {
    std::map<GroupKey, std::vector<Range>> groups;
    for (const Datapoint& point : datapoints) {
        const int last = point.address + point.count() - 1;
        if (!readsUnit(point.unitID, framing) || last > lastAddress) continue;
        groups[GroupKey{point.unitID, point.table}].push_back({point.address, last});
    }
    std::vector<ReadBlock> out;
    for (auto& [key, ranges] : groups) appendGroupBlocks(out, key, ranges, std::max(maxGap, 0));
    return out;
}

std::optional<DecodedValue> value(const Datapoint& datapoint, const ReadBlock& block,
                                  const PDU::ReadData& data) {
    if (!block.contains(datapoint)) return std::nullopt;
    const auto offset = static_cast<std::size_t>(datapoint.address - block.address);
    if (const auto* bits = data.bitValues()) {
        if (offset >= bits->size()) return std::nullopt;
        const bool on = (*bits)[offset];
        return DecodedValue{on ? 1.0 : 0.0, RawWords{static_cast<std::uint16_t>(on ? 1 : 0)}};
    }
    const auto& registers = *data.registerValues();
    const auto count = static_cast<std::size_t>(datapoint.count());
    if (registers.size() < offset + count) return std::nullopt;
    const std::span<const std::uint16_t> raw(registers.data() + offset, count);
    return DecodedValue{
        ValueCodec::valueFromRegisters(raw, datapoint.dataType, datapoint.wordOrder, datapoint.scale),
        RawWords(raw)};
}

}  // namespace tessarin::ReadPlanner
