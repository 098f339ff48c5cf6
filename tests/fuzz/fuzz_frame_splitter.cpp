// The RTU stream splitter fed arbitrary bytes in arbitrary chunks with arbitrary silences.
// Input: records of one control byte (chunk length in the low six bits, the two silences in the
// top bits) followed by the chunk. Nothing may be lost or invented while the buffer never
// overflowed, every frame must carry a valid CRC, and draining must end.
#include "ModbusCore/FrameSplitter.hpp"
#include "ModbusCore/RTUFrame.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

using namespace tessarin;

namespace {

void drain(FrameSplitter& splitter, bool afterSilence, bool longSilence, std::vector<std::uint8_t>& out) {
    std::size_t calls = splitter.buffer().size() + 1;
    while (auto frame = splitter.next(afterSilence, longSilence)) {
        if (frame->bytes.empty() || calls-- == 0) __builtin_trap();
        if (frame->kind != FrameSplitter::Frame::Kind::garbage && !RTUFrame::hasValidCRC(frame->bytes)) {
            __builtin_trap();
        }
        out.insert(out.end(), frame->bytes.begin(), frame->bytes.end());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    FrameSplitter splitter;
    std::vector<std::uint8_t> in;
    std::vector<std::uint8_t> out;
    bool overflowed = false;
    for (std::size_t at = 0; at < input.size();) {
        const std::uint8_t control = input[at++];
        const std::size_t n = std::min<std::size_t>(control & 0x3F, input.size() - at);
        const auto chunk = input.subspan(at, n);
        at += n;
        overflowed = overflowed || splitter.buffer().size() + n > FrameSplitter::maxBuffer;
        splitter.append(chunk);
        in.insert(in.end(), chunk.begin(), chunk.end());
        if (splitter.buffer().size() > FrameSplitter::maxBuffer) __builtin_trap();
        drain(splitter, (control & 0x80) != 0, (control & 0x40) != 0, out);
    }
    drain(splitter, true, true, out);
    if (!splitter.isEmpty()) __builtin_trap();
    if (!overflowed && out != in) __builtin_trap();
    return 0;
}
