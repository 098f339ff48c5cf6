#include "PollerCore/ReadBlock.hpp"

#include "ModbusCore/Datapoint.hpp"
#include "ModbusCore/PDU.hpp"

namespace tessarin {

std::vector<std::uint8_t> ReadBlock::pdu() const {
    return PDU::read(table, address, count);
}

bool ReadBlock::contains(const Datapoint& datapoint) const {
    const AddressRange own = range();
    return datapoint.unitID == unit && datapoint.table == table && datapoint.address >= own.lower &&
           datapoint.address + datapoint.count() - 1 <= own.upper;
}

}  // namespace tessarin
