#include "ModbusCore/SerialTiming.hpp"

#include "ModbusCore/Require.hpp"

namespace tessarin::SerialTiming {

int bitsPerCharacter(int dataBits, bool parity, int stopBits) {
    return 1 + dataBits + (parity ? 1 : 0) + stopBits;
}

double interFrameDelay(int baudRate, int bitsPerCharacter) {
    TESSARIN_REQUIRE(baudRate > 0 && bitsPerCharacter > 0, "a line that carries characters");
    if (baudRate > fixedDelayAboveBaud) return fixedInterFrameDelay;
    return transmissionTime(1, baudRate, bitsPerCharacter) * 3.5;
}

double transmissionTime(int characters, int baudRate, int bitsPerCharacter) {
    TESSARIN_REQUIRE(baudRate > 0, "a baud rate to divide by");
    return static_cast<double>(characters) * bitsPerCharacter / baudRate;
}

}  // namespace tessarin::SerialTiming
