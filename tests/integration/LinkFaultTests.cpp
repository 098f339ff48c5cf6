// The link against a scripted device that misbehaves in every way a real one might: each fault
// ends in the documented error and link state, never in a crash, a hang past the time-out,
// unbounded buffering or another request's data; and the request after it gets its own answer.

#include "ModbusTCP/TCPClientLink.hpp"

#include "support/ByteAssertions.hpp"
#include "support/FakeDevice.hpp"
#include "support/FaultyCalls.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tessarin {
namespace {

using namespace std::chrono_literals;
using test::bytes;
using test::FakeDevice;
using test::FakeFraming;
using test::FakeRequest;
using test::FakeStep;
using test::FaultyCalls;
using Kind = TCPLinkError::Kind;

constexpr double timeout = 0.3;
// The longest frame either framing can carry: MBAP header plus the largest PDU.
constexpr std::size_t longestFrame = 7 + 253;

std::vector<std::uint8_t> readAt(std::uint16_t address) {
    return {0x03, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address & 0xFF), 0x00,
            0x02};
}

std::uint16_t previous(std::uint16_t transactionID) {
    return transactionID == 1 ? std::uint16_t{0xFFFF} : static_cast<std::uint16_t>(transactionID - 1);
}

std::vector<std::uint8_t> garbage(std::size_t count) {
    std::vector<std::uint8_t> out(count);
    for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<std::uint8_t>(i * 7 + 0x55);
    return out;
}

std::vector<std::uint8_t> concat(std::vector<std::vector<std::uint8_t>> parts) {
    std::vector<std::uint8_t> out;
    for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

using Script = std::function<std::vector<FakeStep>(const FakeRequest&)>;
using Frame = std::function<std::vector<std::uint8_t>(const FakeRequest&)>;

// The device answers with the bytes frame makes, in one write.
Script sending(Frame frame) {
    return [frame](const FakeRequest& r) { return std::vector{FakeStep::send(frame(r))}; };
}

// The correct answer cut after count bytes, then the connection closed (FIN) or reset (RST).
Script cutAfter(std::size_t count, bool reset) {
    return [count, reset](const FakeRequest& r) {
        auto frame = test::correctAnswer(r);
        frame.resize(count);
        if (!reset) return std::vector{FakeStep::send(frame), FakeStep::close()};
        return std::vector{FakeStep::send(frame), FakeStep::pause(20ms), FakeStep::reset()};
    };
}

// 2000 frames the client did not ask for, then the answer.
Script floodThenAnswer(Frame unsolicited) {
    return sending([unsolicited](const FakeRequest& r) {
        std::vector<std::vector<std::uint8_t>> parts;
        for (int i = 0; i < 2000; ++i) parts.push_back(unsolicited(r));
        parts.push_back(test::correctAnswer(r));
        return concat(parts);
    });
}

const Script dribbled = [](const FakeRequest& r) {
    return std::vector{FakeStep::dribble(test::correctAnswer(r))};
};
// The correct answer once the client's time-out has passed. The next request has the same unit,
// function and length: only the transaction identifier (Modbus TCP) or the settle wait (RTU)
// keeps the late answer from being taken for it.
const Script afterTheTimeout = [](const FakeRequest& r) {
    return std::vector{FakeStep::pause(400ms), FakeStep::send(test::correctAnswer(r))};
};

TCPFraming linkFraming(FakeFraming framing) {
    return framing == FakeFraming::modbusTCP ? TCPFraming::modbusTCP : TCPFraming::rtuOverTCP;
}
const Frame garbage300 = [](const FakeRequest&) { return garbage(300); };
// Register values no request of the tests reads: taking such a frame shows at once.
const std::vector<std::uint8_t> bogus = bytes("03 04 DE AD DE AD");

struct Fault {
    std::string name;
    FakeFraming framing;
    Script firstAnswer;         // how the device answers the first request
    std::optional<Kind> error;  // none: the first request returns an answer
    bool openAfter = true;
    std::string pdu = "03 04 00 10 00 11";  // the answer's PDU when one is returned
    std::uint8_t unit = 1;                  // the answer's unit when one is returned
};

// Header faults other than a length the link would wait on (protocol identifier, lengths 0
// and 1) end on the same path as the garbage row; the header's own tests name them.
std::vector<Fault> modbusTCPFaults() {
    const auto tcp = FakeFraming::modbusTCP;
    int unsolicited = 1000;
    return {
        {"LateAnswerToThePreviousRequestThenItsOwn", tcp, sending([](const FakeRequest& r) {
             return concat({test::mbapFrame(previous(r.transactionID), r.unit, bytes("03 04 00 99 00 99")),
                            test::correctAnswer(r)});
         }),
         std::nullopt},
        {"OnlyAnOldTransactionIdentifier", tcp, sending([](const FakeRequest& r) {
             return test::mbapFrame(previous(r.transactionID), r.unit, bytes("03 04 00 10 00 11"));
         }),
         Kind::timeout},
        {"LengthField255", tcp, sending([](const FakeRequest& r) {
             auto frame = test::correctAnswer(r);
             frame[5] = 0xFF;
             return concat({frame, garbage(300)});
         }),
         Kind::invalidResponse, false},
        // The link does not judge the PDU: unit, function and byte count are the caller's.
        {"AnotherUnit", tcp, sending([](const FakeRequest& r) {
             return test::mbapFrame(r.transactionID, 2, bytes("03 04 00 10 00 11"));
         }),
         std::nullopt, true, "03 04 00 10 00 11", 2},
        {"AnswerDribbledOneByteAtATime", tcp, dribbled, std::nullopt},
        {"Garbage", tcp, sending(garbage300), Kind::invalidResponse, false},
        {"FloodOfUnsolicitedFramesBeforeTheAnswer", tcp,
         floodThenAnswer([unsolicited](const FakeRequest& r) mutable {
             return test::mbapFrame(static_cast<std::uint16_t>(r.transactionID + unsolicited++), r.unit,
                                    bytes("03 04 00 99 00 99"));
         }),
         std::nullopt},
        {"ResetInTheMiddleOfAFrame", tcp, cutAfter(9, true), Kind::disconnected, false},
        {"AnswerAfterTheTimeout", tcp, afterTheTimeout, Kind::timeout},
        // A gateway that repeats frames with the identifier the next request will get: it is
        // buffered before that request is sent, so it cannot be its answer.
        {"FrameWithTheNextIdentifierBehindTheAnswer", tcp, sending([](const FakeRequest& r) {
             const auto next = static_cast<std::uint16_t>(r.transactionID + 1);
             return concat({test::correctAnswer(r), test::mbapFrame(next, r.unit, bogus)});
         }),
         std::nullopt},
        // Invented frames with identifiers near the one that timed out, arriving while the next
        // request waits for its answer.
        {"StormOfNearbyIdentifiersAfterTheTimeout", tcp,
         [](const FakeRequest& r) {
             const std::uint16_t t = r.transactionID;
             std::vector<std::vector<std::uint8_t>> storm;
             for (const int id : {t - 1, t + 1, 0, t ^ 0x8000}) {
                 storm.push_back(test::mbapFrame(static_cast<std::uint16_t>(id), r.unit, bogus));
             }
             return std::vector{FakeStep::pause(400ms), FakeStep::send(concat(storm))};
         },
         Kind::timeout},
    };
}

std::vector<Fault> rtuFaults() {
    const auto rtu = FakeFraming::rtuOverTCP;
    const auto answerWith = [](std::string pdu, std::uint8_t unit = 1) {
        return sending([pdu, unit](const FakeRequest&) { return test::rtuFrame(unit, bytes(pdu)); });
    };
    int unsolicited = 0;
    return {
        {"OnlyAnotherUnit", rtu, answerWith("03 04 00 10 00 11", 2), Kind::timeout},
        {"OnlyAnotherFunctionCode", rtu, answerWith("04 04 00 10 00 11"), Kind::timeout},
        // A byte count smaller than the data ends here too: the CRC is read too early.
        {"WrongCRC", rtu, sending([](const FakeRequest& r) {
             auto frame = test::correctAnswer(r);
             frame.back() ^= 0x5A;
             return frame;
         }),
         Kind::invalidResponse},
        {"ExceptionWithAnUnknownCode", rtu, answerWith("83 0C"), std::nullopt, true, "83 0C"},
        {"ByteCountLargerThanTheData", rtu, answerWith("03 06 00 10 00 11"), Kind::timeout},
        {"AnswerDribbledOneByteAtATime", rtu, dribbled, std::nullopt},
        {"Garbage", rtu, sending(garbage300), Kind::invalidResponse},
        {"FloodOfOtherUnitsFramesBeforeTheAnswer", rtu,
         floodThenAnswer([unsolicited](const FakeRequest&) mutable {
             return test::rtuFrame(static_cast<std::uint8_t>(2 + unsolicited++ % 200),
                                   bytes("03 04 00 99 00 99"));
         }),
         std::nullopt},
        {"CloseInTheMiddleOfAFrame", rtu, cutAfter(4, false), Kind::disconnected, false},
        {"AnswerAfterTheTimeout", rtu, afterTheTimeout, Kind::timeout},
    };
}

class LinkFault : public ::testing::TestWithParam<Fault> {};

TEST_P(LinkFault, endsAsDocumentedAndTheNextRequestGetsItsOwnAnswer) {
    const Fault& fault = GetParam();
    FakeDevice device(fault.framing, [&fault](const FakeRequest& request) {
        return request.index == 0 ? fault.firstAnswer(request) : test::answerCorrectly(request);
    });
    FaultyCalls calls;
    TCPClientLink link("127.0.0.1", device.port(), linkFraming(fault.framing), calls);
    std::size_t mostPendingBeforeReceive = 0;
    calls.beforeRecv = [&] {
        mostPendingBeforeReceive = std::max(mostPendingBeforeReceive, link.pendingSize());
    };
    ASSERT_TRUE(link.open(timeout).has_value());

    const auto result = link.transact(1, readAt(0x10), timeout);
    if (fault.error) {
        ASSERT_FALSE(result.has_value()) << "answered with " << test::hex(result->response);
        EXPECT_EQ(name(result.error().kind), name(*fault.error));
    } else {
        ASSERT_TRUE(result.has_value()) << result.error().localizedDescription(Language::en);
        EXPECT_BYTES(result->pdu, fault.pdu);
        EXPECT_EQ(result->unit, fault.unit);
    }
    EXPECT_EQ(link.isOpen(), fault.openAfter);
    // Bounded memory: the link receives only while a frame is incomplete.
    EXPECT_LT(mostPendingBeforeReceive, longestFrame);
    EXPECT_LE(link.pendingSize(), longestFrame + TCPClientLink::receiveSize);

    if (!link.isOpen()) {
        ASSERT_TRUE(link.open(timeout).has_value());
    }
    const auto next = link.transact(1, readAt(0x20), 2.0);
    ASSERT_TRUE(next.has_value()) << next.error().localizedDescription(Language::en);
    EXPECT_BYTES(next->pdu, "03 04 00 20 00 21");
}

INSTANTIATE_TEST_SUITE_P(ModbusTCP, LinkFault, ::testing::ValuesIn(modbusTCPFaults()),
                         [](const auto& row) { return row.param.name; });
INSTANTIATE_TEST_SUITE_P(RTUOverTCP, LinkFault, ::testing::ValuesIn(rtuFaults()),
                         [](const auto& row) { return row.param.name; });

TEST(LateAnswers, aDeviceThatAlwaysAnswersAfterTheTimeoutNeverDeliversAnotherRequestsData) {
    for (const FakeFraming framing : {FakeFraming::modbusTCP, FakeFraming::rtuOverTCP}) {
        SCOPED_TRACE(rawValue(linkFraming(framing)));
        FakeDevice device(framing, afterTheTimeout);
        TCPClientLink link("127.0.0.1", device.port(), linkFraming(framing));
        ASSERT_TRUE(link.open(timeout).has_value());
        constexpr int requests = 5;
        for (std::uint16_t i = 1; i <= requests; ++i) {
            const auto request = readAt(static_cast<std::uint16_t>(0x10 * i));
            const auto result = link.transact(1, request, timeout);
            if (result) {
                EXPECT_BYTES(result->pdu, test::hex(test::answerPDU(request)));
            } else {
                EXPECT_EQ(result.error(), TCPLinkError::timeout());
            }
            EXPECT_TRUE(link.isOpen());
        }
        // The link kept asking: it did not give up sending.
        EXPECT_TRUE(device.waitForRequests(requests));
    }
}

// A device behind a slow gateway: every answer comes 700 ms after its request, well after the
// 300 ms time-out, and consecutive requests differ only in their address. No request may show
// another one's registers, and the late answers are reported as dropped.
TEST(RTULateAnswers, answersLaterThanTwiceTheTimeoutAreNeverTakenForTheNextRequest) {
    FakeDevice device(FakeFraming::rtuOverTCP, [](const FakeRequest& request) {
        return std::vector{FakeStep::pause(700ms), FakeStep::send(test::correctAnswer(request))};
    });
    TCPClientLink link("127.0.0.1", device.port(), TCPFraming::rtuOverTCP);
    ASSERT_TRUE(link.open(timeout).has_value());
    ASSERT_GE(TCPClientLink::lateAnswerReach(timeout), 700ms);
    std::size_t dropped = 0;
    for (int i = 0; i < 4; ++i) {
        const auto request = readAt(i % 2 == 0 ? 0 : 10);
        SCOPED_TRACE(test::hex(request));
        const auto result = link.transact(1, request, timeout);
        if (result) {
            EXPECT_BYTES(result->pdu, test::hex(test::answerPDU(request)));
        } else {
            EXPECT_EQ(result.error(), TCPLinkError::timeout());
        }
        dropped += link.takeDroppedFrames().count;
    }
    EXPECT_GE(dropped, 3U);
}

// Behind a gateway other masters and units keep talking. Their frames are not the awaited
// answer: after a failed request the next ones still go out and get their own answers.
TEST(RTULateAnswers, otherUnitsTalkingAfterAFailureHoldNoRequestBack) {
    FakeDevice device(FakeFraming::rtuOverTCP, [](const FakeRequest& request) {
        if (request.index == 0) return std::vector<FakeStep>{};
        return test::answerCorrectly(request);
    });
    device.chatter(test::rtuFrame(9, bytes("03 02 00 00")), 100ms);
    TCPClientLink link("127.0.0.1", device.port(), TCPFraming::rtuOverTCP);
    ASSERT_TRUE(link.open(timeout).has_value());
    EXPECT_EQ(link.transact(1, readAt(0x10), timeout).error(), TCPLinkError::timeout());
    for (const std::uint16_t address : {std::uint16_t{0x20}, std::uint16_t{0x30}, std::uint16_t{0x40}}) {
        const auto result = link.transact(1, readAt(address), timeout);
        ASSERT_TRUE(result.has_value()) << result.error().localizedDescription(Language::en);
        EXPECT_BYTES(result->pdu, test::hex(test::answerPDU(readAt(address))));
    }
    EXPECT_EQ(device.requests(), 4);
    // Another unit's traffic is normal on a shared line, not a late answer.
    EXPECT_EQ(link.takeDroppedFrames().count, 0U);
}

// A time-out shorter than any quiet period a line could be asked for: after a failure on a
// silent line the next request is still sent.
TEST(RTULateAnswers, aRequestAfterAFailureIsSentEvenWithATinyTimeout) {
    constexpr double tiny = 0.01;
    FakeDevice device(FakeFraming::rtuOverTCP, [](const FakeRequest& request) {
        if (request.index == 0) return std::vector<FakeStep>{};
        return test::answerCorrectly(request);
    });
    TCPClientLink link("127.0.0.1", device.port(), TCPFraming::rtuOverTCP);
    ASSERT_TRUE(link.open(timeout).has_value());
    EXPECT_EQ(link.transact(1, readAt(0x10), tiny).error(), TCPLinkError::timeout());
    // Whether the answer beats 10 ms depends on the machine; that the request left does not.
    const auto result = link.transact(1, readAt(0x20), tiny);
    EXPECT_TRUE(result || result.error() == TCPLinkError::timeout());
    EXPECT_TRUE(device.waitForRequests(2));
}

}  // namespace
}  // namespace tessarin
