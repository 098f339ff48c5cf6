#pragma once

#include "ModbusCore/Datapoint.hpp"
#include "PollerCore/PollerProject.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tessarin {

// The four tables of a device made up of a project's datapoints. Each datapoint is served at
// its unit, table and address, encoded with its type, word order and scale exactly as the
// client decodes it; its value is its simulation's value at the time of the request, or its
// stored value when the simulation is none. A write freezes the datapoint's registers (or bit)
// as written until the device is destroyed. Where two datapoints claim the same address, the
// first in project order serves it.
//
// Not thread-safe: one server thread asks it.
class SimulatedDevice {
public:
    explicit SimulatedDevice(std::span<const Datapoint> datapoints);
    // Every datapoint of every poll, enabled or not.
    explicit SimulatedDevice(const PollerProject& project);

    // The response PDU to a request PDU for unit at time t (seconds on the simulator's clock).
    // Answers functions 1 to 6, 15 and 16; exception 01 for any other function, 03 for a
    // quantity or a length that does not fit the function, 02 for an address no datapoint
    // covers. Never fails otherwise.
    [[nodiscard]] std::vector<std::uint8_t> respond(std::uint8_t unit, std::span<const std::uint8_t> pdu,
                                                    double t);

    // The number of datapoints served.
    [[nodiscard]] std::size_t size() const { return m_points.size(); }

private:
    // One address of one table of one unit, served by word `offset` of datapoint `index`.
    struct Cell {
        std::uint16_t address;
        std::uint8_t offset;
        std::uint32_t index;
    };
    struct Served {
        Datapoint point;
        // The stored value encoded once, for a datapoint without a simulation: most of a
        // register map holds still, and need not be encoded again for every request.
        std::vector<std::uint16_t> stored;
        std::optional<std::vector<std::uint16_t>> written;  // frozen registers, or {0 or 1} for a bit
    };

    [[nodiscard]] static std::size_t key(std::uint8_t unit, RegisterTable table);
    // The consecutive cells for address ... address + count − 1, or an empty span when one is
    // not covered.
    [[nodiscard]] std::span<Cell> cells(std::uint8_t unit, RegisterTable table, int address, int count);
    // The words the datapoint shows at t: written, or generated, or stored; one word for a bit.
    // Valid until the next call.
    [[nodiscard]] std::span<const std::uint16_t> wordsOf(const Served& served, double t);
    [[nodiscard]] static std::vector<std::uint16_t> encode(const Datapoint& point, double value);

    [[nodiscard]] std::vector<std::uint8_t> read(std::uint8_t unit, RegisterTable table,
                                                 std::span<const std::uint8_t> pdu, double t);
    // Sets the addresses from address on to values (one per address), freezing each datapoint
    // touched; the other words of a multi-register datapoint keep their value at t.
    void write(std::uint8_t unit, RegisterTable table, int address, std::span<const std::uint16_t> values,
               double t);

    std::vector<Served> m_points;
    std::vector<std::uint16_t> m_generated;                       // wordsOf's words for a simulated datapoint
    std::array<std::vector<Cell>, std::size_t{256} * 4> m_cells;  // by unit and table, sorted by address
};

}  // namespace tessarin
