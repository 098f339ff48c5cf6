#include "DeviceSimulator/SimulatedDevice.hpp"

#include "ModbusCore/Bytes.hpp"
#include "ModbusCore/ExceptionPDU.hpp"
#include "ModbusCore/FunctionCode.hpp"

#include <algorithm>
#include <utility>

namespace tessarin {

namespace {

constexpr std::size_t addressSpace = 65536;
constexpr std::uint16_t coilOn = 0xFF00;
constexpr std::uint16_t coilOff = 0x0000;
// Function code, address and quantity (or value) of every request this device answers.
constexpr std::size_t fixedRequestSize = 5;
// Function code, address, quantity and byte count in front of the values of 15 and 16.
constexpr std::size_t writeHeaderSize = 6;

std::vector<std::uint8_t> exceptionFor(std::uint8_t function, ModbusException code) {
    return ExceptionPDU::make(function, code);
}

std::size_t packedSize(int bits) {
    return (static_cast<std::size_t>(bits) + 7) / 8;
}

bool fitsAddressSpace(int address, int count) {
    return static_cast<std::size_t>(address) + static_cast<std::size_t>(count) <= addressSpace;
}

}  // namespace

SimulatedDevice::SimulatedDevice(std::span<const Datapoint> datapoints) {
    m_points.reserve(datapoints.size());
    for (const Datapoint& point : datapoints) {
        const auto index = static_cast<std::uint32_t>(m_points.size());
        m_points.push_back(
            {point, point.simulation.isActive() ? std::vector<std::uint16_t>{} : encode(point, point.value),
             std::nullopt});
        std::vector<Cell>& cells = m_cells[key(point.unitID, point.table)];
        for (int offset = 0; offset < point.count(); ++offset) {
            const int address = point.address + offset;
            // A datapoint that runs past the last address is served as far as addresses go.
            if (address >= static_cast<int>(addressSpace)) break;
            cells.push_back({static_cast<std::uint16_t>(address), static_cast<std::uint8_t>(offset), index});
        }
    }
    for (std::vector<Cell>& cells : m_cells) {
        // Stable, and unique keeps the first of equal addresses: the earlier datapoint wins.
        std::ranges::stable_sort(cells, {}, &Cell::address);
        const auto duplicates = std::ranges::unique(cells, {}, &Cell::address);
        cells.erase(duplicates.begin(), duplicates.end());
        cells.shrink_to_fit();
    }
}

SimulatedDevice::SimulatedDevice(const PollerProject& project)
    : SimulatedDevice([&project] {
          std::vector<Datapoint> points;
          for (const Poll& poll : project.polls) {
              points.insert(points.end(), poll.datapoints.begin(), poll.datapoints.end());
          }
          return points;
      }()) {}

std::size_t SimulatedDevice::key(std::uint8_t unit, RegisterTable table) {
    return std::size_t{unit} * 4 + std::to_underlying(table);
}

std::span<SimulatedDevice::Cell> SimulatedDevice::cells(std::uint8_t unit, RegisterTable table, int address,
                                                        int count) {
    std::vector<Cell>& all = m_cells[key(unit, table)];
    const auto first = std::ranges::lower_bound(all, address, {}, &Cell::address);
    const auto available = all.end() - first;
    if (available < count) return {};
    // Sorted and unique, so the run is gap-free exactly when its last address is where it should be.
    if (first->address != address || first[count - 1].address != address + count - 1) return {};
    return {first, static_cast<std::size_t>(count)};
}

std::vector<std::uint16_t> SimulatedDevice::encode(const Datapoint& point, double value) {
    if (isBit(point.table)) return {static_cast<std::uint16_t>(value != 0 ? 1 : 0)};
    return point.registersFor(value);
}

std::span<const std::uint16_t> SimulatedDevice::wordsOf(const Served& served, double t) {
    if (served.written) return *served.written;
    const Datapoint& point = served.point;
    if (!point.simulation.isActive()) return served.stored;
    m_generated = encode(point, point.simulation.valueAt(t).value_or(point.value));
    return m_generated;
}

std::vector<std::uint8_t> SimulatedDevice::respond(std::uint8_t unit, std::span<const std::uint8_t> pdu,
                                                   double t) {
    if (pdu.empty()) return exceptionFor(0, ModbusException::illegalFunction);
    const std::uint8_t function = pdu[0];
    const auto code = functionCodeFromRawValue(function);
    const auto illegalValue = [function] {
        return exceptionFor(function, ModbusException::illegalDataValue);
    };
    const auto illegalAddress = [function] {
        return exceptionFor(function, ModbusException::illegalDataAddress);
    };
    if (!code) return exceptionFor(function, ModbusException::illegalFunction);

    switch (*code) {
        case FunctionCode::readCoils:
            return read(unit, RegisterTable::coil, pdu, t);
        case FunctionCode::readDiscreteInputs:
            return read(unit, RegisterTable::discreteInput, pdu, t);
        case FunctionCode::readHoldingRegisters:
            return read(unit, RegisterTable::holdingRegister, pdu, t);
        case FunctionCode::readInputRegisters:
            return read(unit, RegisterTable::inputRegister, pdu, t);
        case FunctionCode::writeSingleCoil: {
            if (pdu.size() != fixedRequestSize) return illegalValue();
            const std::uint16_t state = uint16At(pdu, 3);
            if (state != coilOn && state != coilOff) return illegalValue();
            const std::uint16_t address = uint16At(pdu, 1);
            if (cells(unit, RegisterTable::coil, address, 1).empty()) return illegalAddress();
            const std::uint16_t bit = state == coilOn ? 1 : 0;
            write(unit, RegisterTable::coil, address, {&bit, 1}, t);
            return {pdu.begin(), pdu.end()};
        }
        case FunctionCode::writeSingleRegister: {
            if (pdu.size() != fixedRequestSize) return illegalValue();
            const std::uint16_t address = uint16At(pdu, 1);
            if (cells(unit, RegisterTable::holdingRegister, address, 1).empty()) return illegalAddress();
            const std::uint16_t value = uint16At(pdu, 3);
            write(unit, RegisterTable::holdingRegister, address, {&value, 1}, t);
            return {pdu.begin(), pdu.end()};
        }
        case FunctionCode::writeMultipleCoils:
        case FunctionCode::writeMultipleRegisters: {
            const bool coils = *code == FunctionCode::writeMultipleCoils;
            if (pdu.size() < writeHeaderSize) return illegalValue();
            const int quantity = uint16At(pdu, 3);
            const std::size_t byteCount = pdu[5];
            const int limit = coils ? maxWriteBits : maxWriteRegisters;
            const std::size_t expectedBytes =
                coils ? packedSize(quantity) : static_cast<std::size_t>(quantity) * 2;
            if (quantity < 1 || quantity > limit || byteCount != expectedBytes ||
                pdu.size() != writeHeaderSize + byteCount) {
                return illegalValue();
            }
            const int address = uint16At(pdu, 1);
            const RegisterTable table = coils ? RegisterTable::coil : RegisterTable::holdingRegister;
            if (!fitsAddressSpace(address, quantity) || cells(unit, table, address, quantity).empty()) {
                return illegalAddress();
            }
            const auto data = pdu.subspan(writeHeaderSize);
            std::vector<std::uint16_t> values(static_cast<std::size_t>(quantity));
            if (coils) {
                const std::vector<bool> bits = unpackBits(data, values.size());
                for (std::size_t i = 0; i < values.size(); ++i) values[i] = bits[i] ? 1 : 0;
            } else {
                for (std::size_t i = 0; i < values.size(); ++i) values[i] = uint16At(data, 2 * i);
            }
            write(unit, table, address, values, t);
            return {pdu.begin(), pdu.begin() + fixedRequestSize};
        }
        case FunctionCode::diagnostics:
        case FunctionCode::maskWriteRegister:
        case FunctionCode::readWriteMultipleRegisters:
            break;
    }
    return exceptionFor(function, ModbusException::illegalFunction);
}

std::vector<std::uint8_t> SimulatedDevice::read(std::uint8_t unit, RegisterTable table,
                                                std::span<const std::uint8_t> pdu, double t) {
    const std::uint8_t function = pdu[0];
    if (pdu.size() != fixedRequestSize) return exceptionFor(function, ModbusException::illegalDataValue);
    const int address = uint16At(pdu, 1);
    const int quantity = uint16At(pdu, 3);
    if (quantity < 1 || quantity > maxReadCount(table)) {
        return exceptionFor(function, ModbusException::illegalDataValue);
    }
    const std::span<Cell> run =
        fitsAddressSpace(address, quantity) ? cells(unit, table, address, quantity) : std::span<Cell>{};
    if (run.empty()) return exceptionFor(function, ModbusException::illegalDataAddress);

    // A multi-register datapoint is encoded once per request, not once per register.
    std::span<const std::uint16_t> words;
    std::uint32_t wordsOfIndex = 0;
    bool haveWords = false;
    const auto wordAt = [&](const Cell& cell) {
        if (!haveWords || wordsOfIndex != cell.index) {
            words = wordsOf(m_points[cell.index], t);
            wordsOfIndex = cell.index;
            haveWords = true;
        }
        return cell.offset < words.size() ? words[cell.offset] : std::uint16_t{0};
    };

    std::vector<std::uint8_t> response;
    response.reserve(2 + (isBit(table) ? packedSize(static_cast<int>(run.size())) : 2 * run.size()));
    response.push_back(function);
    if (isBit(table)) {
        std::vector<bool> bits;
        bits.reserve(run.size());
        for (const Cell& cell : run) bits.push_back(wordAt(cell) != 0);
        const std::vector<std::uint8_t> packed = packBits(bits);
        response.push_back(static_cast<std::uint8_t>(packed.size()));
        response.insert(response.end(), packed.begin(), packed.end());
    } else {
        response.push_back(static_cast<std::uint8_t>(2 * run.size()));
        for (const Cell& cell : run) appendUInt16(response, wordAt(cell));
    }
    return response;
}

void SimulatedDevice::write(std::uint8_t unit, RegisterTable table, int address,
                            std::span<const std::uint16_t> values, double t) {
    const std::span<Cell> run = cells(unit, table, address, static_cast<int>(values.size()));
    for (std::size_t i = 0; i < run.size(); ++i) {
        Served& served = m_points[run[i].index];
        if (!served.written) {
            const std::span<const std::uint16_t> now = wordsOf(served, t);
            served.written.emplace(now.begin(), now.end());
        }
        std::vector<std::uint16_t>& words = *served.written;
        if (run[i].offset < words.size()) words[run[i].offset] = values[i];
    }
}

}  // namespace tessarin
