#include "simulator/spi_port.h"

#include "simulator/register_map.h"

namespace corvid {

namespace {

constexpr uint8_t SPIE = 0x80, SPE = 0x40, MSTR = 0x10;
constexpr uint8_t SPIF = 0x80, WCOL = 0x40;
constexpr uint8_t NothingConnected = 0xFF;

} // namespace

void SpiPort::Reset() {
    *this = SpiPort();
    Spcr = 0x04; // CPHA
}

bool SpiPort::Owns(uint8_t offset) {
    return offset >= Reg::SPCR && offset <= Reg::SPDR;
}

uint8_t SpiPort::Read(uint8_t offset) {
    if (offset == Reg::SPSR)
        ArmedFlags = Spsr & (SPIF | WCOL);
    else if (offset == Reg::SPDR)
        ClearArmedFlags();
    return Peek(offset);
}

uint8_t SpiPort::Peek(uint8_t offset) const {
    switch (offset) {
    case Reg::SPCR:
        return Spcr;
    case Reg::SPSR:
        return Spsr;
    default:
        return Data;
    }
}

void SpiPort::Write(uint8_t offset, uint8_t value, uint64_t now) {
    if (offset == Reg::SPCR) {
        Spcr = value;
        return;
    }
    if (offset != Reg::SPDR)
        return;
    ClearArmedFlags();
    if ((Spcr & (SPE | MSTR)) != (SPE | MSTR))
        return;
    if (TransferEnd != Never) {
        Spsr |= WCOL;
        return;
    }
    constexpr uint64_t cyclesPerBit[4] = {2, 4, 16, 32};
    TransferEnd = now + 8 * cyclesPerBit[Spcr & 0x03];
}

void SpiPort::Advance(uint64_t now) {
    if (TransferEnd > now)
        return;
    TransferEnd = Never;
    Data = NothingConnected;
    Spsr |= SPIF;
}

bool SpiPort::InterruptAsserted() const {
    return (Spcr & SPIE) && (Spsr & SPIF);
}

void SpiPort::ClearArmedFlags() {
    Spsr &= static_cast<uint8_t>(~ArmedFlags);
    ArmedFlags = 0;
}

} // namespace corvid
