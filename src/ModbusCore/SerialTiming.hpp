#pragma once

// The Modbus serial-line timing rules, in seconds.
namespace tessarin::SerialTiming {

// Above this baud rate the inter-frame silence is fixed instead of 3.5 character times.
inline constexpr int fixedDelayAboveBaud = 19200;
inline constexpr double fixedInterFrameDelay = 0.00175;

// One start bit, the data bits, a parity bit when there is one, the stop bits: 8, parity and
// 1 stop bit give 11.
[[nodiscard]] int bitsPerCharacter(int dataBits, bool parity, int stopBits);

// The silence that separates two frames: 3.5 character times up to 19200 baud, 1.75 ms above.
// The baud rate and the bits per character must be positive.
[[nodiscard]] double interFrameDelay(int baudRate, int bitsPerCharacter);

// The time the line needs to carry characters.
[[nodiscard]] double transmissionTime(int characters, int baudRate, int bitsPerCharacter);

}  // namespace tessarin::SerialTiming
