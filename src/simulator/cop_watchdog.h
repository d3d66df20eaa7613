#pragma once

#include <cstdint>

namespace corvid {

// The computer-operating-properly watchdog: when enabled (CONFIG's NOCOP clear) the program
// must write $55 and then $AA to COPRST within each timeout period (2^15 E cycles times 1, 4,
// 16 or 64 by OPTION's CR bits), or the chip resets through the COP vector.
class CopWatchdog {
public:
    static constexpr uint64_t Never = ~uint64_t{0};

    void Reset(bool enabled, uint64_t now);
    void SetRate(uint8_t rateBits);
    void WriteCoprst(uint8_t value, uint64_t now);
    uint64_t Timeout() const { return Enabled ? LastService + Period : Never; }

private:
    bool Enabled = false;
    bool Armed = false; // $55 seen, waiting for $AA
    uint64_t Period = 1 << 15;
    uint64_t LastService = 0;
};

} // namespace corvid
