#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvid {

// The parallel ports A to E of the 68HC11, named by their letter.

// The offset of the port's data register in the register block; the letter is one of A to E.
uint8_t PortRegisterOffset(char port);

// The port that stored text names when it is one of `allowed` (case does not matter, blanks
// around it neither), else `fallback`: a configuration edited by hand must not move a device
// to a port it cannot serve.
char PortOrDefault(std::string_view text, std::string_view allowed, char fallback);

// The name of a pin, "PB0" to "PB7".
std::string PinName(char port, int bit);

} // namespace corvid
