#include "ModbusCore/FrameSplitter.hpp"

#include "ModbusCore/FunctionCode.hpp"
#include "ModbusCore/RTUFrame.hpp"

namespace tessarin {

namespace {

constexpr std::size_t minFrame = 4;

// The length a frame at the front of bytes would have when it is complete and its CRC holds.
std::optional<std::size_t> completeFrame(std::span<const std::uint8_t> bytes,
                                         std::optional<std::size_t> length) {
    if (!length || *length > bytes.size() || !RTUFrame::hasValidCRC(bytes.first(*length)))
        return std::nullopt;
    return length;
}

// Whether a whole frame with a valid CRC starts at the front of bytes, as a request or as a
// response. Both readings are tried: the function codes of reads give a request length too,
// and judging by that alone would throw away every read response that follows noise.
bool frameStartsAt(std::span<const std::uint8_t> bytes) {
    const auto fits = [&](std::optional<std::size_t> length) {
        return length && *length >= minFrame && completeFrame(bytes, length).has_value();
    };
    return fits(RTUFrame::expectedRequestLength(bytes)) || fits(RTUFrame::expectedResponseLength(bytes));
}

}  // namespace

void FrameSplitter::append(std::span<const std::uint8_t> bytes) {
    m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
    if (m_buffer.size() > maxBuffer) {
        m_buffer.erase(m_buffer.begin(), m_buffer.end() - static_cast<std::ptrdiff_t>(keptAfterOverflow));
    }
}

std::optional<FrameSplitter::Frame> FrameSplitter::next(bool afterSilence, bool longSilence) {
    if (m_buffer.empty()) return std::nullopt;
    const std::span<const std::uint8_t> bytes(m_buffer);

    const std::optional<std::size_t> requestLength = RTUFrame::expectedRequestLength(bytes);
    if (const auto length = completeFrame(bytes, requestLength)) return take(Frame::Kind::request, *length);
    if (const auto length = completeFrame(bytes, RTUFrame::expectedResponseLength(bytes))) {
        return take(Frame::Kind::response, *length);
    }
    if (!afterSilence) return std::nullopt;
    // After a short gap a known request that is still arriving is worth waiting for.
    if (!longSilence && requestLength && *requestLength > bytes.size() && bytes.size() >= 2 &&
        functionCodeFromRawValue(bytes[1]).has_value()) {
        return std::nullopt;
    }

    if (RTUFrame::hasValidCRC(bytes)) return take(Frame::Kind::request, bytes.size());
    std::size_t start = 1;
    while (start < bytes.size() && !frameStartsAt(bytes.subspan(start))) ++start;
    return take(Frame::Kind::garbage, start);
}

FrameSplitter::Frame FrameSplitter::take(Frame::Kind kind, std::size_t count) {
    const auto end = m_buffer.begin() + static_cast<std::ptrdiff_t>(count);
    Frame frame{kind, std::vector<std::uint8_t>(m_buffer.begin(), end)};
    m_buffer.erase(m_buffer.begin(), end);
    return frame;
}

}  // namespace tessarin
