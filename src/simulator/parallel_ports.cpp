#include "simulator/parallel_ports.h"

#include "simulator/register_map.h"

namespace corvid {

namespace {

constexpr uint8_t PortDPins = 0x3F;

uint8_t Mixed(uint8_t latch, uint8_t inputs, uint8_t outputs) {
    return static_cast<uint8_t>((latch & outputs) | (inputs & ~outputs));
}

} // namespace

void ParallelPorts::Reset() {
    const uint8_t inputsC = InputsC, inputsD = InputsD;
    *this = ParallelPorts();
    InputsC = inputsC; // the outside world keeps its levels across a reset of the chip
    InputsD = inputsD;
    Pioc = 0x03; // EGA, INVB
}

bool ParallelPorts::Owns(uint8_t offset) {
    switch (offset) {
    case Reg::PIOC:
    case Reg::PORTC:
    case Reg::PORTB:
    case Reg::PORTCL:
    case Reg::DDRC:
    case Reg::PORTD:
    case Reg::DDRD:
        return true;
    default:
        return false;
    }
}

uint8_t ParallelPorts::Peek(uint8_t offset) const {
    switch (offset) {
    case Reg::PIOC:
        return Pioc;
    case Reg::PORTC:
    case Reg::PORTCL:
        return Mixed(PortC, InputsC, Ddrc);
    case Reg::PORTB:
        return PortB;
    case Reg::DDRC:
        return Ddrc;
    case Reg::PORTD:
        return Mixed(PortD, InputsD, Ddrd) & PortDPins;
    case Reg::DDRD:
        return Ddrd;
    default:
        return 0;
    }
}

void ParallelPorts::Write(uint8_t offset, uint8_t value) {
    switch (offset) {
    case Reg::PIOC:
        Pioc = value & 0x7F; // STAF is read-only
        break;
    case Reg::PORTC:
    case Reg::PORTCL:
        PortC = value;
        break;
    case Reg::PORTB:
        PortB = value;
        break;
    case Reg::DDRC:
        Ddrc = value;
        break;
    case Reg::PORTD:
        PortD = value & PortDPins;
        break;
    case Reg::DDRD:
        Ddrd = value & PortDPins;
        break;
    default:
        break;
    }
}

void ParallelPorts::SetInputs(Port port, uint8_t levels) {
    if (port == Port::C)
        InputsC = levels;
    else
        InputsD = levels & PortDPins;
}

} // namespace corvid
