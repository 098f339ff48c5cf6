#include "DeviceSimulator/RequestStream.hpp"

#include "ModbusCore/MBAPHeader.hpp"
#include "ModbusCore/RTUFrame.hpp"
#include "ModbusTCP/RTUStream.hpp"

namespace tessarin {

namespace {

// Bytes in front of the PDU of a Modbus TCP message: the MBAP header without its unit ID.
constexpr std::size_t lengthFieldEnd = 6;

}  // namespace

void RequestStream::append(std::span<const std::uint8_t> bytes) {
    if (m_start > 0) {
        m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(m_start));
        m_start = 0;
    }
    m_pending.insert(m_pending.end(), bytes.begin(), bytes.end());
}

RequestStream::Status RequestStream::next(Request& request) {
    const std::span<const std::uint8_t> buffered = std::span(m_pending).subspan(m_start);
    if (buffered.empty()) return Status::incomplete;

    if (m_framing == TCPFraming::modbusTCP) {
        if (buffered.size() < MBAPHeader::size) return Status::incomplete;
        const auto header = MBAPHeader::parse(buffered);
        if (!header) return Status::invalid;
        const std::size_t size = lengthFieldEnd + header->length;
        if (buffered.size() < size) return Status::incomplete;
        request.transactionID = header->transactionID;
        request.unit = header->unitID;
        request.pdu.assign(buffered.begin() + MBAPHeader::size,
                           buffered.begin() + static_cast<std::ptrdiff_t>(size));
        m_start += size;
    } else {
        const RTUStream::Next found = RTUStream::nextRequest(buffered);
        if (found.kind == RTUStream::Next::Kind::invalid) return Status::invalid;
        if (found.kind == RTUStream::Next::Kind::incomplete) return Status::incomplete;
        const std::vector<std::uint8_t>& frame = found.bytes;
        request.transactionID = 0;
        request.unit = frame.front();
        request.pdu.assign(frame.begin() + 1, frame.end() - 2);
        m_start += frame.size();
    }
    if (m_start == m_pending.size()) {
        m_pending.clear();
        m_start = 0;
    }
    return Status::request;
}

std::vector<std::uint8_t> RequestStream::frame(const Request& request,
                                               std::span<const std::uint8_t> pdu) const {
    if (m_framing == TCPFraming::modbusTCP)
        return MBAPHeader::message(request.transactionID, request.unit, pdu);
    return RTUFrame::build(request.unit, pdu);
}

}  // namespace tessarin
