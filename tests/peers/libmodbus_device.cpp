// A Modbus TCP device for the integration tests, built on libmodbus's server side.
//
//   libmodbus_device [--port P] [--unit U] [--delay-ms D] [--size N]
//
// Listens on 127.0.0.1:P (0, the default, picks a free port), prints the bound port as one
// line on stdout, and serves the four tables of DeviceContents.hpp to any number of clients.
// --unit U answers only requests for unit U and ignores the others (no answer, as a gateway
// without that unit would); --delay-ms D waits D milliseconds before every answer; --size N
// gives every table N addresses, so that reads beyond them get exception 02. The device ends
// when its stdin reaches end of file (the test that started it has gone) or on SIGTERM.
//
// libmodbus 3.1.6 reads requests by function code rather than by the MBAP length, sleeps half
// a second before some exception answers to damp floods, and loses its framing on function
// codes it does not know. None of that belongs in a test suite, so this program cuts frames
// by the MBAP length itself, answers every exception itself, and hands only requests that
// libmodbus will serve without complaint to modbus_reply.

#include "DeviceContents.hpp"

#include <modbus.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <string_view>
#include <vector>

namespace {

using tessarin::test::DeviceContents::defaultSize;

struct Options {
    int port = 0;
    std::optional<int> unit;
    int delayMs = 0;
    int size = defaultSize;
};

struct Client {
    int fd = -1;
    std::vector<std::uint8_t> pending;
};

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "libmodbus_device: %s: %s\n", what, std::strerror(errno));
    std::exit(1);
}

[[noreturn]] void usage() {
    std::fprintf(stderr, "usage: libmodbus_device [--port P] [--unit U] [--delay-ms D] [--size N]\n");
    std::exit(2);
}

int number(const char* text, int low, int high) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < low || value > high) usage();
    return static_cast<int>(value);
}

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view flag = argv[i];
        if (i + 1 >= argc) usage();
        const char* value = argv[++i];
        if (flag == "--port")
            options.port = number(value, 0, 65535);
        else if (flag == "--unit")
            options.unit = number(value, 0, 255);
        else if (flag == "--delay-ms")
            options.delayMs = number(value, 0, 600000);
        else if (flag == "--size")
            options.size = number(value, 1, defaultSize);
        else
            usage();
    }
    return options;
}

modbus_mapping_t* makeTables(int size) {
    modbus_mapping_t* map =
        modbus_mapping_new_start_address(0, static_cast<unsigned>(size), 0, static_cast<unsigned>(size), 0,
                                         static_cast<unsigned>(size), 0, static_cast<unsigned>(size));
    if (map == nullptr) fail("modbus_mapping_new_start_address");
    using namespace tessarin::test::DeviceContents;
    for (int a = 0; a < size; ++a) {
        const auto address = static_cast<std::uint16_t>(a);
        map->tab_bits[a] = coil(address) ? 1 : 0;
        map->tab_input_bits[a] = discreteInput(address) ? 1 : 0;
        map->tab_registers[a] = holdingRegister(address);
        map->tab_input_registers[a] = inputRegister(address);
    }
    return map;
}

int listenOn(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) fail("socket");
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) fail("bind");
    if (::listen(fd, 16) != 0) fail("listen");
    socklen_t length = sizeof address;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) fail("getsockname");
    std::printf("%u\n", static_cast<unsigned>(ntohs(address.sin_port)));
    std::fflush(stdout);
    return fd;
}

std::uint16_t word(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

// The exception code this device answers with, or 0 when libmodbus may serve the request.
// `pdu` is the function code and its data; the checks follow the Modbus application
// protocol's order: function, quantity and framing, then the address range.
int exceptionFor(const std::uint8_t* pdu, std::size_t length, int size) {
    constexpr int illegalFunction = 1, illegalAddress = 2, illegalValue = 3;
    const auto fits = [size](int address, int count) { return address + count <= size; };
    switch (pdu[0]) {
        case MODBUS_FC_READ_COILS:
        case MODBUS_FC_READ_DISCRETE_INPUTS:
        case MODBUS_FC_READ_HOLDING_REGISTERS:
        case MODBUS_FC_READ_INPUT_REGISTERS: {
            if (length != 5) return illegalValue;
            const bool bits = pdu[0] <= MODBUS_FC_READ_DISCRETE_INPUTS;
            const int count = word(pdu + 3);
            if (count < 1 || count > (bits ? MODBUS_MAX_READ_BITS : MODBUS_MAX_READ_REGISTERS))
                return illegalValue;
            return fits(word(pdu + 1), count) ? 0 : illegalAddress;
        }
        case MODBUS_FC_WRITE_SINGLE_COIL: {
            if (length != 5) return illegalValue;
            const int value = word(pdu + 3);
            if (value != 0x0000 && value != 0xFF00) return illegalValue;
            return fits(word(pdu + 1), 1) ? 0 : illegalAddress;
        }
        case MODBUS_FC_WRITE_SINGLE_REGISTER:
            if (length != 5) return illegalValue;
            return fits(word(pdu + 1), 1) ? 0 : illegalAddress;
        case MODBUS_FC_WRITE_MULTIPLE_COILS:
        case MODBUS_FC_WRITE_MULTIPLE_REGISTERS: {
            if (length < 6) return illegalValue;
            const bool bits = pdu[0] == MODBUS_FC_WRITE_MULTIPLE_COILS;
            const int count = word(pdu + 3);
            const int byteCount = pdu[5];
            if (count < 1 || count > (bits ? MODBUS_MAX_WRITE_BITS : MODBUS_MAX_WRITE_REGISTERS))
                return illegalValue;
            if (byteCount != (bits ? (count + 7) / 8 : count * 2) ||
                length != 6U + static_cast<unsigned>(byteCount)) {
                return illegalValue;
            }
            return fits(word(pdu + 1), count) ? 0 : illegalAddress;
        }
        default:
            return illegalFunction;
    }
}

void pause(int milliseconds) {
    timespec left{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
    while (::nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

// Serves every complete frame at the front of the client's buffer. False when the client
// sent something that is not Modbus TCP, which a device answers by dropping the connection.
bool serveFrames(Client& client, modbus_t* ctx, modbus_mapping_t* map, const Options& options) {
    constexpr std::size_t headerLength = 7;
    auto& pending = client.pending;
    while (pending.size() >= headerLength) {
        const int protocol = word(pending.data() + 2);
        const std::size_t length = word(pending.data() + 4);
        if (protocol != 0 || length < 2 || length > 254) return false;
        const std::size_t total = 6 + length;
        if (pending.size() < total) return true;
        const std::vector<std::uint8_t> frame(pending.begin(),
                                              pending.begin() + static_cast<std::ptrdiff_t>(total));
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(total));

        if (options.unit && frame[6] != *options.unit) continue;
        if (options.delayMs > 0) pause(options.delayMs);
        modbus_set_socket(ctx, client.fd);
        const int code = exceptionFor(frame.data() + headerLength, total - headerLength, options.size);
        if (code != 0) {
            modbus_reply_exception(ctx, frame.data(), static_cast<unsigned>(code));
        } else {
            modbus_reply(ctx, frame.data(), static_cast<int>(total), map);
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parse(argc, argv);
    modbus_mapping_t* map = makeTables(options.size);
    modbus_t* ctx = modbus_new_tcp("127.0.0.1", options.port);
    if (ctx == nullptr) fail("modbus_new_tcp");
    const int listener = listenOn(options.port);

    std::vector<Client> clients;
    std::vector<pollfd> watched;
    std::uint8_t chunk[1024];
    for (;;) {
        watched.clear();
        watched.push_back({STDIN_FILENO, POLLIN, 0});
        watched.push_back({listener, POLLIN, 0});
        for (const Client& client : clients) watched.push_back({client.fd, POLLIN, 0});
        if (::poll(watched.data(), watched.size(), -1) < 0) {
            if (errno == EINTR) continue;
            fail("poll");
        }
        if (watched[0].revents != 0) {
            const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
            if (n <= 0) break;
        }
        if ((watched[1].revents & POLLIN) != 0) {
            const int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0) {
                const int one = 1;
                ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
                clients.push_back({fd, {}});
            }
        }
        // Clients accepted in this pass have no entry in `watched` yet.
        for (std::size_t i = 2; i < watched.size(); ++i) {
            if (watched[i].revents == 0) continue;
            Client& client = clients[i - 2];
            const ssize_t n = ::recv(client.fd, chunk, sizeof chunk, 0);
            bool keep = n > 0 || (n < 0 && (errno == EINTR || errno == EAGAIN));
            if (n > 0) {
                client.pending.insert(client.pending.end(), chunk, chunk + n);
                keep = serveFrames(client, ctx, map, options);
            }
            if (!keep) {
                ::close(client.fd);
                client.fd = -1;
            }
        }
        std::erase_if(clients, [](const Client& client) { return client.fd < 0; });
    }

    for (const Client& client : clients) ::close(client.fd);
    ::close(listener);
    modbus_free(ctx);
    modbus_mapping_free(map);
    return 0;
}
