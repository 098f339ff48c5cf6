#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tessarin {

// Cuts a captured RTU byte stream that holds both requests and responses into frames. RTU
// frames carry no length and no direction, so frames are recognised by the length their
// function code implies and a valid CRC; what cannot start a frame is handed back as garbage.
class FrameSplitter {
public:
    struct Frame {
        enum class Kind : std::uint8_t { request, response, garbage };
        Kind kind = Kind::garbage;
        // Whole frame bytes (unit ID and CRC included), or the discarded bytes.
        std::vector<std::uint8_t> bytes;

        bool operator==(const Frame&) const = default;
    };

    // Past this the buffer is cut to its newest keptAfterOverflow bytes: a line that never
    // yields a frame must not grow without bound.
    static constexpr std::size_t maxBuffer = 1024;
    static constexpr std::size_t keptAfterOverflow = 512;

    void append(std::span<const std::uint8_t> bytes);

    [[nodiscard]] bool isEmpty() const { return m_buffer.empty(); }
    [[nodiscard]] const std::vector<std::uint8_t>& buffer() const { return m_buffer; }

    // The next frame at the front of the buffer, or no value to wait for more bytes.
    // afterSilence: the line has been quiet since the last byte (an inter-frame gap), so an
    // incomplete frame will not be completed; longSilence: quiet for long enough that even a
    // frame that still looks plausible is given up. Every frame returned is removed from the
    // buffer, so calling next until it gives no value always ends.
    [[nodiscard]] std::optional<Frame> next(bool afterSilence, bool longSilence);

    bool operator==(const FrameSplitter&) const = default;

private:
    [[nodiscard]] Frame take(Frame::Kind kind, std::size_t count);

    std::vector<std::uint8_t> m_buffer;
};

}  // namespace tessarin
