#pragma once

#include <cstdint>
#include <span>

namespace corvid {

// The EEPROM's programming logic: PPROG (EELAT, EPGM, ERASE, ROW, BYTE) and the block
// protection of BPROT. The sequence is: set EELAT, write the data (or any byte of the row or
// array to erase) to its EEPROM address, set EPGM, wait 10 ms, clear PPROG. Programming only
// clears bits; erasing sets a byte, a 16-byte row or the whole array to $FF. Clearing EPGM
// before the programming time has passed leaves the cells as they were.
class EepromProgrammer {
public:
    void Reset(uint8_t bprot, uint64_t programCycles, uint64_t now);

    bool Latched() const { return (Pprog & 0x02) != 0; } // EEPROM reads are not valid then
    uint8_t PprogValue() const { return Pprog; }
    uint8_t BprotValue() const { return Bprot; }

    void WritePprog(uint8_t value, uint64_t now, std::span<uint8_t> cells);
    void WriteBprot(uint8_t value, uint64_t now);
    void WriteCell(uint16_t offset, uint8_t value); // a program's write into the EEPROM

private:
    void Complete(uint8_t mode, std::span<uint8_t> cells) const;
    bool IsProtected(size_t offset) const;

    uint8_t Pprog = 0, Bprot = 0;
    uint64_t ResetCycle = 0;
    uint64_t ProgramCycles = 0;
    uint64_t ProgramStart = 0;
    bool HaveLatch = false;
    uint16_t LatchedOffset = 0;
    uint8_t LatchedData = 0xFF;
};

} // namespace corvid
