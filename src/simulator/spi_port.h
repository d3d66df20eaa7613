#pragma once

#include <cstdint>

namespace corvid {

// The synchronous serial peripheral interface as a master with nothing connected: a byte
// written to SPDR shifts out at the selected rate, SPIF rises when it is done, and the byte
// shifted in is $FF (MISO idles high). SPIF and WCOL clear by reading SPSR, then SPDR access.
class SpiPort {
public:
    static constexpr uint64_t Never = ~uint64_t{0};

    void Reset();

    static bool Owns(uint8_t offset);
    uint8_t Read(uint8_t offset);
    uint8_t Peek(uint8_t offset) const;
    void Write(uint8_t offset, uint8_t value, uint64_t now);

    void Advance(uint64_t now);
    uint64_t NextEvent() const { return TransferEnd; }
    bool InterruptAsserted() const;

private:
    void ClearArmedFlags();

    uint8_t Spcr = 0, Spsr = 0, Data = 0;
    uint8_t ArmedFlags = 0;
    uint64_t TransferEnd = Never;
};

} // namespace corvid
