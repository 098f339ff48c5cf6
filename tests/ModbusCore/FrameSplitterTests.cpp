#include "ModbusCore/FrameSplitter.hpp"

#include "ModbusCore/Bytes.hpp"
#include "ModbusCore/RTUFrame.hpp"
#include "support/ByteAssertions.hpp"

#include <gtest/gtest.h>

#include <fmt/format.h>

#include <random>

namespace tessarin {
namespace {

using test::bytes;

const std::string request = "01 03 00 00 00 0A C5 CD";
const std::string response = "01 03 14 00 0A 01 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 C8 22";

std::string describe(const FrameSplitter::Frame& frame) {
    static constexpr const char* kinds[] = {"request", "response", "garbage"};
    return fmt::format("{} {}", kinds[static_cast<int>(frame.kind)], hexString(frame.bytes));
}

// Every frame the splitter gives with these silences. Each frame removes at least one byte,
// so more frames than bytes would mean it never stops.
std::vector<std::string> drain(FrameSplitter& splitter, bool afterSilence, bool longSilence) {
    std::vector<std::string> frames;
    for (std::size_t bound = splitter.buffer().size() + 1; bound > 0; --bound) {
        const auto frame = splitter.next(afterSilence, longSilence);
        if (!frame) return frames;
        frames.push_back(describe(*frame));
    }
    ADD_FAILURE() << "the splitter keeps giving frames";
    return frames;
}

TEST(FrameSplitter, StrayBytesBecomeGarbageOnlyAfterSilence) {
    struct Case {
        std::string stream;
        std::vector<std::string> frames;  // after silence
    };
    const Case cases[] = {
        {"FF " + request, {"garbage FF", "request " + request}},
        {"00 00 7E " + response, {"garbage 00 00 7E", "response " + response}},
        {"01 03 00 00 00 0A C5 CC " + request, {"garbage 01 03 00 00 00 0A C5 CC", "request " + request}},
        {"12 34 56 78 9A", {"garbage 12 34 56 78 9A"}},
        // A whole frame of an unknown function code is recognised by its CRC once the line is quiet.
        {"01 41 00 01 90 0C", {"request 01 41 00 01 90 0C"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stream);
        FrameSplitter splitter;
        splitter.append(bytes(c.stream));
        EXPECT_EQ(drain(splitter, false, false), std::vector<std::string>{});
        EXPECT_EQ(drain(splitter, true, false), c.frames);
    }
}

TEST(FrameSplitter, IncompleteRequestWaitsUntilTheSilenceIsLong) {
    FrameSplitter splitter;
    splitter.append(bytes("01 03 00 00"));
    EXPECT_EQ(drain(splitter, true, false), std::vector<std::string>{});
    EXPECT_EQ(drain(splitter, true, true), std::vector<std::string>{"garbage 01 03 00 00"});
    // An unknown function code gets no such patience.
    splitter.append(bytes("01 41 00 00"));
    EXPECT_EQ(drain(splitter, true, false), std::vector<std::string>{"garbage 01 41 00 00"});
}

TEST(FrameSplitter, OverflowKeepsTheNewestBytes) {
    std::vector<std::uint8_t> stream(1100);
    for (std::size_t i = 0; i < stream.size(); ++i) stream[i] = static_cast<std::uint8_t>(i * 7);
    FrameSplitter splitter;
    splitter.append(std::span(stream).first(FrameSplitter::maxBuffer));
    EXPECT_EQ(splitter.buffer().size(), FrameSplitter::maxBuffer);
    splitter.append(std::span(stream).subspan(FrameSplitter::maxBuffer));
    EXPECT_EQ(splitter.buffer(), std::vector<std::uint8_t>(stream.end() - 512, stream.end()));
}

TEST(FrameSplitter, RandomChunksLoseAndInventNoBytes) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> noise(0, 255);
    std::uniform_int_distribution<std::size_t> chunk(1, 40);
    for (int round = 0; round < 100; ++round) {
        SCOPED_TRACE(fmt::format("round {}", round));
        std::string stream;
        for (int part = 0; part < 6; ++part) {
            for (std::size_t i = chunk(random) % 5; i > 0; --i)
                stream += fmt::format("{:02X} ", noise(random));
            stream += (part % 2 == 0 ? request : response) + " ";
        }
        const std::vector<std::uint8_t> in = bytes(stream);
        // Claiming silence while a frame still arrives may cost that frame; without it, every
        // frame behind the noise must come out, responses included.
        const bool quietMidStream = round % 2 == 0;
        FrameSplitter splitter;
        std::string out;
        int frames = 0;
        const auto collect = [&](bool afterSilence, bool longSilence) {
            for (const std::string& frame : drain(splitter, afterSilence, longSilence)) {
                frames += frame.starts_with("garbage") ? 0 : 1;
                out += frame.substr(frame.find(' ') + 1) + " ";
            }
        };
        for (std::size_t at = 0; at < in.size();) {
            const std::size_t n = std::min(chunk(random), in.size() - at);
            splitter.append(std::span(in).subspan(at, n));
            at += n;
            collect(quietMidStream, round % 4 == 0);
        }
        collect(true, true);
        EXPECT_EQ(out, hexString(in) + " ");
        if (!quietMidStream) {
            EXPECT_EQ(frames, 6);
        }
    }
}

}  // namespace
}  // namespace tessarin
