#pragma once

#include <cstdint>

namespace corvid {

enum class ExternalMemory : uint8_t {
    Ram,  // every address without on-chip memory is RAM, as a board with a full RAM map
    None, // nothing answers there: the program's use of such an address is an error
};

// How the simulated chip and its board are built. The defaults are an evaluation board with
// a 68HC11E9 in single-chip mode and RAM everywhere else, with the registers that a monitor
// program sets up at start already set up (EEPROM not block-protected).
struct MachineConfig {
    double EClockHz = 2'000'000;
    uint8_t Config = 0x0F; // CONFIG register: NOSEC, NOCOP (COP off), ROMON, EEON
    uint16_t RamSize = 512;
    uint16_t EepromStart = 0xB600;
    uint16_t EepromSize = 512;
    uint16_t RomStart = 0xD000; // the ROM reaches to $FFFF when CONFIG's ROMON is set
    ExternalMemory External = ExternalMemory::Ram;
    uint8_t BprotAtReset = 0x00; // the chip resets to $1F; a monitor clears it at start
    bool Oc5DrivesXirq = false;  // the board wires PA3 (OC5) to XIRQ, for a monitor's trace
    bool EnforceEepromProgramTime = true; // programming shorter than 10 ms changes nothing
};

} // namespace corvid
