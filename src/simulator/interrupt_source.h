#pragma once

#include <cstdint>

namespace corvid {

// The I-maskable interrupt sources in their fixed priority, highest first. A peripheral
// reports the sources it asserts (flag and enable both set) as a mask of these bits.
enum class InterruptSource : uint8_t {
    Irq,
    RealTime,
    Ic1,
    Ic2,
    Ic3,
    Oc1,
    Oc2,
    Oc3,
    Oc4,
    I4O5,
    TimerOverflow,
    PaOverflow,
    PaInput,
    Spi,
    Sci,
    Count
};

constexpr uint32_t InterruptBit(InterruptSource source) {
    return 1u << static_cast<unsigned>(source);
}

uint16_t VectorOf(InterruptSource source);

// The source that HPRIO's PSEL bits raise to the highest I-maskable priority.
InterruptSource PromotedSource(uint8_t psel);

// The source to serve among the asserted ones (not 0): the promoted one when asserted, else
// the first in fixed priority.
InterruptSource SelectInterrupt(uint32_t asserted, uint8_t psel);

} // namespace corvid
