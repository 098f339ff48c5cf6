#include "ModbusCore/FrameSplitter.hpp"

#include "ModbusCore/PDU.hpp"
#include "ModbusCore/RTUFrame.hpp"
#include "support/ByteAssertions.hpp"

#include <gtest/gtest.h>

#include <fmt/format.h>

#include <random>

namespace tessarin {
namespace {

using test::bytes;
using Kind = FrameSplitter::Frame::Kind;

const char* const request = "01 03 00 00 00 0A C5 CD";
const char* const response = "01 03 14 00 0A 01 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 C8 22";

std::vector<std::uint8_t> concat(std::initializer_list<std::vector<std::uint8_t>> parts) {
    std::vector<std::uint8_t> out;
    for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

// Drains the splitter with the given silences, as a reader does once the line went quiet.
std::vector<FrameSplitter::Frame> drain(FrameSplitter& splitter, bool afterSilence, bool longSilence) {
    std::vector<FrameSplitter::Frame> frames;
    // Each frame removes at least one byte, so more calls than bytes would mean a hang.
    const std::size_t bound = splitter.buffer().size() + 1;
    for (std::size_t i = 0; i < bound; ++i) {
        auto frame = splitter.next(afterSilence, longSilence);
        if (!frame) break;
        frames.push_back(std::move(*frame));
    }
    EXPECT_EQ(splitter.next(afterSilence, longSilence), std::nullopt);
    return frames;
}

TEST(FrameSplitter, RequestThenResponseFedOneByteAtATime) {
    FrameSplitter splitter;
    std::vector<FrameSplitter::Frame> frames;
    for (const std::uint8_t byte : concat({bytes(request), bytes(response)})) {
        splitter.append(std::span(&byte, 1));
        // Mid-stream the line is never quiet, so only complete frames may come out.
        while (auto frame = splitter.next(false, false)) frames.push_back(std::move(*frame));
    }
    ASSERT_EQ(frames.size(), 2U);
    EXPECT_EQ(frames[0].kind, Kind::request);
    EXPECT_BYTES(frames[0].bytes, request);
    EXPECT_EQ(frames[1].kind, Kind::response);
    EXPECT_BYTES(frames[1].bytes, response);
    EXPECT_TRUE(splitter.isEmpty());
}

TEST(FrameSplitter, FramesInOneChunk) {
    FrameSplitter splitter;
    const auto writeRequest =
        RTUFrame::build(7, PDU::writeMultipleRegisters(1, std::vector<std::uint16_t>{10, 258}));
    const auto writeAck = RTUFrame::build(7, bytes("10 00 01 00 02"));
    const auto exception = RTUFrame::build(7, bytes("90 02"));
    splitter.append(concat({writeRequest, writeAck, exception}));
    const auto frames = drain(splitter, false, false);
    ASSERT_EQ(frames.size(), 3U);
    EXPECT_EQ(frames[0], (FrameSplitter::Frame{Kind::request, writeRequest}));
    // The acknowledgement of a write is eight bytes either way; its CRC holds as a request.
    EXPECT_EQ(frames[1].bytes, writeAck);
    EXPECT_EQ(frames[2], (FrameSplitter::Frame{Kind::response, exception}));
}

TEST(FrameSplitter, StrayBytesBecomeGarbageOnlyAfterSilence) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> stream;
        std::vector<FrameSplitter::Frame> afterSilence;
    };
    const Case cases[] = {
        {"one stray byte before a request",
         concat({bytes("FF"), bytes(request)}),
         {{Kind::garbage, bytes("FF")}, {Kind::request, bytes(request)}}},
        {"noise before a response",
         concat({bytes("00 00 7E"), bytes(response)}),
         {{Kind::garbage, bytes("00 00 7E")}, {Kind::response, bytes(response)}}},
        {"a request with a broken CRC before a good one",
         concat({bytes("01 03 00 00 00 0A C5 CC"), bytes(request)}),
         {{Kind::garbage, bytes("01 03 00 00 00 0A C5 CC")}, {Kind::request, bytes(request)}}},
        {"noise that never forms a frame",
         bytes("12 34 56 78 9A"),
         {{Kind::garbage, bytes("12 34 56 78 9A")}}},
        {"one lone byte", bytes("01"), {{Kind::garbage, bytes("01")}}},
        // A frame of an unknown function code is still whole when the line falls quiet.
        {"whole frame of an unknown function",
         RTUFrame::build(1, bytes("41 00 01")),
         {{Kind::request, RTUFrame::build(1, bytes("41 00 01"))}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FrameSplitter splitter;
        splitter.append(c.stream);
        const auto busy = drain(splitter, false, false);
        // Without silence the splitter waits unless a frame is already complete at the front.
        for (const auto& frame : busy) EXPECT_NE(frame.kind, Kind::garbage);
        if (!busy.empty()) continue;
        EXPECT_EQ(drain(splitter, true, false), c.afterSilence);
    }
}

TEST(FrameSplitter, IncompleteRequestWaitsUntilTheSilenceIsLong) {
    FrameSplitter splitter;
    splitter.append(bytes("01 03 00 00"));
    EXPECT_EQ(splitter.next(false, false), std::nullopt);
    EXPECT_EQ(splitter.next(true, false), std::nullopt);
    EXPECT_EQ(splitter.buffer().size(), 4U);
    const auto frame = splitter.next(true, true);
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(*frame, (FrameSplitter::Frame{Kind::garbage, bytes("01 03 00 00")}));
    EXPECT_TRUE(splitter.isEmpty());

    // An unknown function code gets no such patience.
    splitter.append(bytes("01 41 00 00"));
    EXPECT_EQ(splitter.next(true, false), (FrameSplitter::Frame{Kind::garbage, bytes("01 41 00 00")}));
}

TEST(FrameSplitter, OverflowKeepsTheNewestBytes) {
    FrameSplitter splitter;
    std::vector<std::uint8_t> stream(1100);
    for (std::size_t i = 0; i < stream.size(); ++i) stream[i] = static_cast<std::uint8_t>(i * 7);
    splitter.append(std::span(stream).first(1000));
    EXPECT_EQ(splitter.buffer().size(), 1000U);
    splitter.append(std::span(stream).subspan(1000));
    ASSERT_EQ(splitter.buffer().size(), FrameSplitter::keptAfterOverflow);
    EXPECT_TRUE(std::equal(splitter.buffer().begin(), splitter.buffer().end(), stream.end() - 512));

    FrameSplitter exact;
    exact.append(std::span(stream).first(FrameSplitter::maxBuffer));
    EXPECT_EQ(exact.buffer().size(), FrameSplitter::maxBuffer);
}

TEST(FrameSplitter, RandomStreamsLoseAndInventNoBytes) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> chunk(1, 40);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(fmt::format("round {}", round));
        std::vector<std::uint8_t> stream;
        // Real frames between runs of noise, so that both paths of the splitter run.
        for (int part = 0; part < 6; ++part) {
            for (int i = chunk(random) % 5; i > 0; --i)
                stream.push_back(static_cast<std::uint8_t>(byte(random)));
            const std::vector<std::uint8_t> frame = part % 2 == 0 ? bytes(request) : bytes(response);
            stream.insert(stream.end(), frame.begin(), frame.end());
        }
        FrameSplitter splitter;
        std::vector<std::uint8_t> out;
        int frames = 0;
        for (std::size_t at = 0; at < stream.size();) {
            const std::size_t n =
                std::min<std::size_t>(static_cast<std::size_t>(chunk(random)), stream.size() - at);
            splitter.append(std::span(stream).subspan(at, n));
            at += n;
            for (auto& frame : drain(splitter, round % 2 == 0, round % 4 == 0)) {
                EXPECT_FALSE(frame.bytes.empty());
                if (frame.kind != Kind::garbage) {
                    EXPECT_TRUE(RTUFrame::hasValidCRC(frame.bytes));
                    ++frames;
                }
                out.insert(out.end(), frame.bytes.begin(), frame.bytes.end());
            }
        }
        for (auto& frame : drain(splitter, true, true)) {
            if (frame.kind != Kind::garbage) ++frames;
            out.insert(out.end(), frame.bytes.begin(), frame.bytes.end());
        }
        EXPECT_TRUE(splitter.isEmpty());
        EXPECT_EQ(out, stream);
        // Silence claimed while a frame is still arriving may cost that frame; without it,
        // every frame behind the noise comes out, responses included.
        if (round % 2 == 0) {
            EXPECT_GT(frames, 0);
        } else {
            EXPECT_EQ(frames, 6);
        }
    }
}

}  // namespace
}  // namespace tessarin
