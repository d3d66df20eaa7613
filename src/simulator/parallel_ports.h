#pragma once

#include <cstdint>

namespace corvid {

// Ports B, C and D with their data direction registers, and PIOC. Port B is output only;
// a port C or D pin reads its output latch where its DDR bit is 1 and the level the outside
// world puts on it where the bit is 0. Unconnected inputs read 0, except PD0 (RxD), which
// idles high. The strobe handshake is not modelled: STAF never rises.
class ParallelPorts {
public:
    enum class Port : uint8_t { C, D };

    void Reset();

    static bool Owns(uint8_t offset);
    uint8_t Peek(uint8_t offset) const;
    void Write(uint8_t offset, uint8_t value);

    void SetInputs(Port port, uint8_t levels);

private:
    uint8_t PortB = 0, PortC = 0, Ddrc = 0, PortD = 0, Ddrd = 0, Pioc = 0;
    uint8_t InputsC = 0, InputsD = 0x01;
};

} // namespace corvid
