#include "simulator/interrupt_source.h"

#include "simulator/register_map.h"

#include <bit>
#include <iterator>

namespace corvid {

uint16_t VectorOf(InterruptSource source) {
    constexpr uint16_t vectors[] = {
        Vector::IRQ,
        Vector::RealTimeInterrupt,
        Vector::TIC1,
        Vector::TIC2,
        Vector::TIC3,
        Vector::TOC1,
        Vector::TOC2,
        Vector::TOC3,
        Vector::TOC4,
        Vector::TI4O5,
        Vector::TimerOverflow,
        Vector::PulseAccumulatorOverflow,
        Vector::PulseAccumulatorInput,
        Vector::SPI,
        Vector::SCI,
    };
    static_assert(std::size(vectors) == static_cast<size_t>(InterruptSource::Count));
    return vectors[static_cast<int>(source)];
}

InterruptSource PromotedSource(uint8_t psel) {
    // PSEL 5 is reserved and leaves IRQ on top, where it already is.
    constexpr InterruptSource sources[16] = {
        InterruptSource::TimerOverflow, InterruptSource::PaOverflow, InterruptSource::PaInput,
        InterruptSource::Spi,           InterruptSource::Sci,        InterruptSource::Irq,
        InterruptSource::Irq,           InterruptSource::RealTime,   InterruptSource::Ic1,
        InterruptSource::Ic2,           InterruptSource::Ic3,        InterruptSource::Oc1,
        InterruptSource::Oc2,           InterruptSource::Oc3,        InterruptSource::Oc4,
        InterruptSource::I4O5,
    };
    return sources[psel & 0x0F];
}

InterruptSource SelectInterrupt(uint32_t asserted, uint8_t psel) {
    const InterruptSource promoted = PromotedSource(psel);
    if (asserted & InterruptBit(promoted))
        return promoted;
    return static_cast<InterruptSource>(std::countr_zero(asserted));
}

} // namespace corvid
