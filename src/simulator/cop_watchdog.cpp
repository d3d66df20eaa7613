#include "simulator/cop_watchdog.h"

namespace corvid {

void CopWatchdog::Reset(bool enabled, uint64_t now) {
    *this = CopWatchdog();
    Enabled = enabled;
    LastService = now;
}

void CopWatchdog::SetRate(uint8_t rateBits) {
    Period = uint64_t{1} << (15 + 2 * (rateBits & 3));
}

void CopWatchdog::WriteCoprst(uint8_t value, uint64_t now) {
    if (value == 0x55) {
        Armed = true;
    } else if (value == 0xAA && Armed) {
        Armed = false;
        LastService = now;
    }
}

} // namespace corvid
