#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

namespace tessarin::test {

enum class FakeFraming { modbusTCP, rtuOverTCP };

// One request as the fake device cut it from its stream.
struct FakeRequest {
    FakeFraming framing = FakeFraming::modbusTCP;
    std::vector<std::uint8_t> frame;  // as received, framing included
    std::uint16_t transactionID = 0;  // Modbus TCP only
    std::uint8_t unit = 0;
    std::vector<std::uint8_t> pdu;
    int index = 0;  // 0-based, counted over the device's whole life
};

// One thing the fake device does, in the order its script lists them.
struct FakeStep {
    enum class Kind { send, dribble, pause, close, reset };
    Kind kind = Kind::send;
    std::vector<std::uint8_t> bytes;
    std::chrono::milliseconds duration{0};

    // All bytes in one write.
    [[nodiscard]] static FakeStep send(std::vector<std::uint8_t> bytes) {
        return {Kind::send, std::move(bytes), {}};
    }
    // One write per byte, a short pause between them, so the client sees every partial state.
    [[nodiscard]] static FakeStep dribble(std::vector<std::uint8_t> bytes) {
        return {Kind::dribble, std::move(bytes), std::chrono::milliseconds(2)};
    }
    // The device's own slowness (not a test waiting): ends early when the device stops.
    [[nodiscard]] static FakeStep pause(std::chrono::milliseconds duration) {
        return {Kind::pause, {}, duration};
    }
    // An orderly close (FIN) of this connection.
    [[nodiscard]] static FakeStep close() { return {Kind::close, {}, {}}; }
    // An abortive close (RST), as a device that reboots or drops its table does.
    [[nodiscard]] static FakeStep reset() { return {Kind::reset, {}, {}}; }
};

// A scripted Modbus device on a free loopback port, for what real devices will not do on
// demand: wrong identifiers, broken lengths, garbage, floods, silence, closes and resets at
// chosen moments. It cuts requests from the stream by the framing's own rules and asks the
// script what to do about each; a script runs on the device's thread, so whatever it shares
// with the test must be safe to touch from both.
class FakeDevice {
public:
    using Framing = FakeFraming;
    using Script = std::function<std::vector<FakeStep>(const FakeRequest&)>;
    // What to do right after accepting connection number n (0-based), before any request.
    using ConnectScript = std::function<std::vector<FakeStep>(int connection)>;

    FakeDevice(Framing framing, Script script, ConnectScript onConnect = {});
    FakeDevice(const FakeDevice&) = delete;
    FakeDevice& operator=(const FakeDevice&) = delete;
    // Stops the device thread and closes every socket.
    ~FakeDevice();

    // From the next request on, sends frame to every connected client every `every` while no
    // script runs, as other units on a shared line do. An empty frame stops it.
    void chatter(std::vector<std::uint8_t> frame, std::chrono::milliseconds every);

    [[nodiscard]] std::uint16_t port() const { return m_port; }
    [[nodiscard]] int connections() const { return m_connections.load(); }
    [[nodiscard]] int requests() const { return m_requests.load(); }

    // Wait until the counts reach n; false when the cap passes first.
    bool waitForConnections(int n, std::chrono::milliseconds cap = std::chrono::seconds(10));
    bool waitForRequests(int n, std::chrono::milliseconds cap = std::chrono::seconds(10));

private:
    struct Client {
        int fd = -1;
        int number = 0;
        std::vector<std::uint8_t> pending;
    };

    void run();
    // Sends the chatter frame when it is due; the poll time-out until the next one (-1: none).
    int chatterNow();
    void accept();
    // False when the connection is gone (closed by either side).
    bool serve(Client& client);
    bool perform(Client& client, const std::vector<FakeStep>& steps);
    bool sendAll(int fd, std::span<const std::uint8_t> bytes);
    // False when the device is stopping.
    bool pauseFor(std::chrono::milliseconds duration);
    void noteEvent(std::atomic<int>& counter);
    bool waitFor(const std::atomic<int>& counter, int n, std::chrono::milliseconds cap);

    Framing m_framing;
    Script m_script;
    ConnectScript m_onConnect;
    int m_listener = -1;
    int m_wake[2] = {-1, -1};
    std::uint16_t m_port = 0;
    std::vector<Client> m_clients;  // device thread only
    std::atomic<int> m_connections{0};
    std::atomic<int> m_requests{0};
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::uint8_t> m_chatter;                  // guarded by m_mutex
    std::chrono::milliseconds m_chatterEvery{0};          // guarded by m_mutex
    std::chrono::steady_clock::time_point m_chatterNext;  // device thread only
    std::thread m_thread;
};

// Builders for scripts.
[[nodiscard]] std::vector<std::uint8_t> mbapFrame(std::uint16_t transactionID, std::uint8_t unit,
                                                  std::span<const std::uint8_t> pdu);
[[nodiscard]] std::vector<std::uint8_t> rtuFrame(std::uint8_t unit, std::span<const std::uint8_t> pdu);
// The answer PDU of a correct device to a request PDU, with the tables of
// peers/DeviceContents.hpp: read data, a write echo, or exception 01.
[[nodiscard]] std::vector<std::uint8_t> answerPDU(std::span<const std::uint8_t> requestPDU);
// A correct device's whole answer frame to request.
[[nodiscard]] std::vector<std::uint8_t> correctAnswer(const FakeRequest& request);
// The script of a correct device.
[[nodiscard]] std::vector<FakeStep> answerCorrectly(const FakeRequest& request);

}  // namespace tessarin::test
