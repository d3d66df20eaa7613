#include "devices/port_pins.h"

#include "foundation/case_fold.h"
#include "simulator/register_map.h"

namespace corvid {

uint8_t PortRegisterOffset(char port) {
    switch (port) {
    case 'A':
        return Reg::PORTA;
    case 'B':
        return Reg::PORTB;
    case 'C':
        return Reg::PORTC;
    case 'D':
        return Reg::PORTD;
    default:
        return Reg::PORTE;
    }
}

char PortOrDefault(std::string_view text, std::string_view allowed, char fallback) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return fallback;
    const size_t last = text.find_last_not_of(' ');
    if (first != last)
        return fallback;
    const char port = UpCase(text[first]);
    return allowed.find(port) == std::string_view::npos ? fallback : port;
}

std::string PinName(char port, int bit) {
    return std::string("P") + port + static_cast<char>('0' + bit);
}

} // namespace corvid
