#include "simulator/eeprom_programmer.h"

#include <algorithm>

namespace corvid {

namespace {

constexpr uint8_t BYTE = 0x10, ROW = 0x08, ERASE = 0x04, EELAT = 0x02, EPGM = 0x01;
constexpr uint64_t ProtectedCycles = 64; // BPROT bits clear only this long after reset
constexpr size_t RowSize = 16;

// BPROT's four block bits and the EEPROM offsets each protects.
struct Block {
    size_t First, Last;
};
constexpr Block Blocks[4] = {{0x000, 0x01F}, {0x020, 0x05F}, {0x060, 0x0DF}, {0x0E0, 0x1FF}};

} // namespace

void EepromProgrammer::Reset(uint8_t bprot, uint64_t programCycles, uint64_t now) {
    *this = EepromProgrammer();
    Bprot = bprot & 0x1F;
    ProgramCycles = programCycles;
    ResetCycle = now;
}

void EepromProgrammer::WritePprog(uint8_t value, uint64_t now, std::span<uint8_t> cells) {
    const uint8_t previous = Pprog;
    const bool wasProgramming = previous & EPGM;
    // EPGM can be set only once EELAT is set by an earlier write.
    if (!(Pprog & EELAT) || !(value & EELAT))
        value &= static_cast<uint8_t>(~EPGM);
    Pprog = value & (BYTE | ROW | ERASE | EELAT | EPGM);
    const bool programming = Pprog & EPGM;
    if (programming && !wasProgramming)
        ProgramStart = now;
    if (wasProgramming && !programming) {
        if (now - ProgramStart >= ProgramCycles)
            Complete(previous, cells); // in the mode that was programming
        HaveLatch = false;
    }
    if (!(Pprog & EELAT))
        HaveLatch = false;
}

void EepromProgrammer::WriteBprot(uint8_t value, uint64_t now) {
    value &= 0x1F;
    if (now - ResetCycle < ProtectedCycles)
        Bprot = value;
    else
        Bprot |= value; // protection can always be added, never removed
}

void EepromProgrammer::WriteCell(uint16_t offset, uint8_t value) {
    if (!(Pprog & EELAT) || (Pprog & EPGM))
        return;
    HaveLatch = true;
    LatchedOffset = offset;
    LatchedData = value;
}

void EepromProgrammer::Complete(uint8_t mode, std::span<uint8_t> cells) const {
    if (!HaveLatch || LatchedOffset >= cells.size())
        return;
    size_t first = LatchedOffset, last = LatchedOffset;
    if ((mode & ERASE) && !(mode & BYTE)) {
        if (mode & ROW) {
            first = LatchedOffset / RowSize * RowSize;
            last = std::min(first + RowSize, cells.size()) - 1;
        } else {
            first = 0;
            last = cells.size() - 1;
        }
    }
    for (size_t offset = first; offset <= last; ++offset) {
        if (IsProtected(offset))
            continue;
        if (mode & ERASE)
            cells[offset] = 0xFF;
        else
            cells[offset] &= LatchedData;
    }
}

bool EepromProgrammer::IsProtected(size_t offset) const {
    for (int block = 0; block < 4; ++block)
        if ((Bprot & (1 << block)) && offset >= Blocks[block].First && offset <= Blocks[block].Last)
            return true;
    return false;
}

} // namespace corvid
