#include "simulator/timer_system.h"

#include "simulator/interrupt_source.h"
#include "simulator/register_map.h"

#include <algorithm>
#include <iterator>

namespace corvid {

namespace {

constexpr uint64_t ProtectedCycles = 64;      // PR1:PR0 are writable only this long after reset
constexpr uint64_t RealTimeBasePeriod = 8192; // E / 2^13
constexpr unsigned AccumulatorClockShift = 6; // gated accumulation counts E / 64

constexpr uint8_t PA7 = 0x80, PA3 = 0x08, PA2 = 0x04, PA1 = 0x02, PA0 = 0x01;
constexpr uint8_t AlwaysOutputs = 0x70; // PA4-PA6

// PACTL bits
constexpr uint8_t DDRA7 = 0x80, PAEN = 0x40, PAMOD = 0x20, PEDGE = 0x10, DDRA3 = 0x08;

// TFLG2 / TMSK2 bits
constexpr uint8_t TOF = 0x80, RTIF = 0x40, PAOVF = 0x20, PAIF = 0x10;

uint8_t HighByte(uint16_t value) {
    return static_cast<uint8_t>(value >> 8);
}
uint8_t LowByte(uint16_t value) {
    return static_cast<uint8_t>(value);
}

void SetByte(uint16_t& word, bool high, uint8_t value) {
    word = high ? static_cast<uint16_t>(value << 8 | (word & 0xFF))
                : static_cast<uint16_t>((word & 0xFF00) | value);
}

// Which edges an edge-select field (00 off, 01 rising, 10 falling, 11 both) reacts to.
bool EdgeSelected(unsigned select, bool before, bool after) {
    const bool rising = !before && after;
    const bool falling = before && !after;
    return ((select & 1) && rising) || ((select & 2) && falling);
}

} // namespace

void TimerSystem::Reset(uint64_t now) {
    *this = TimerSystem();
    ResetCycle = BaseCycle = now;
    GateCountedUntil = now;
    std::fill(std::begin(Compare), std::end(Compare), 0xFFFF);
    Reschedule(now);
}

bool TimerSystem::Owns(uint8_t offset) {
    return offset == Reg::PORTA || (offset >= Reg::CFORC && offset <= Reg::PACNT);
}

uint8_t TimerSystem::Read(uint8_t offset, uint64_t now) {
    if (offset == Reg::TCNT) {
        LatchedLow = LowByte(Counter(now));
        LowByteLatched = true;
    } else if (offset == Reg::TCNT + 1) {
        const uint8_t low = Peek(offset, now);
        LowByteLatched = false;
        return low;
    } else if (offset == Reg::PACNT) {
        UpdateGatedCount(now);
    }
    return Peek(offset, now);
}

uint8_t TimerSystem::Peek(uint8_t offset, uint64_t now) const {
    if (offset >= Reg::TIC1 && offset < Reg::TOC1) {
        const uint16_t capture = Capture[(offset - Reg::TIC1) / 2];
        return (offset & 1) ? LowByte(capture) : HighByte(capture);
    }
    if (offset >= Reg::TOC1 && offset < Reg::TCTL1) {
        const uint16_t compare = Compare[(offset - Reg::TOC1) / 2];
        return (offset & 1) ? LowByte(compare) : HighByte(compare);
    }
    switch (offset) {
    case Reg::PORTA:
        return Pins();
    case Reg::OC1M:
        return Oc1m;
    case Reg::OC1D:
        return Oc1d;
    case Reg::TCNT:
        return HighByte(Counter(now));
    case Reg::TCNT + 1:
        return LowByteLatched ? LatchedLow : LowByte(Counter(now));
    case Reg::TCTL1:
        return Tctl1;
    case Reg::TCTL2:
        return Tctl2;
    case Reg::TMSK1:
        return Tmsk1;
    case Reg::TFLG1:
        return Tflg1;
    case Reg::TMSK2:
        return Tmsk2;
    case Reg::TFLG2:
        return Tflg2;
    case Reg::PACTL:
        return Pactl;
    case Reg::PACNT: {
        const bool counting = GateActive();
        const uint64_t pending =
            counting ? (now >> AccumulatorClockShift) - (GateCountedUntil >> AccumulatorClockShift)
                     : 0;
        return static_cast<uint8_t>(Pacnt + pending);
    }
    default: // CFORC reads as zero
        return 0;
    }
}

void TimerSystem::Write(uint8_t offset, uint8_t value, uint64_t now) {
    UpdateGatedCount(now); // the count so far follows the gate as it was before this write
    if (offset >= Reg::TOC1 && offset < Reg::TCTL1) {
        SetByte(Compare[(offset - Reg::TOC1) / 2], (offset & 1) == 0, value);
        Reschedule(now);
        return;
    }
    const uint8_t pinsBefore = Pins();
    switch (offset) {
    case Reg::PORTA: {
        const uint8_t writable = OutputPins() & ~Oc2To5ControlledPins();
        Latch = static_cast<uint8_t>((Latch & ~writable) | (value & writable));
        break;
    }
    case Reg::CFORC:
        for (int index = 1; index < 5; ++index)
            if (value & (0x80 >> index))
                ApplyCompareAction(index);
        if (value & 0x80)
            ApplyOc1Action();
        break;
    case Reg::OC1M:
        Oc1m = value & 0xF8;
        break;
    case Reg::OC1D:
        Oc1d = value & 0xF8;
        break;
    case Reg::TCTL1:
        Tctl1 = value;
        break;
    case Reg::TCTL2:
        Tctl2 = value;
        break;
    case Reg::TMSK1:
        Tmsk1 = value;
        break;
    case Reg::TFLG1:
        Tflg1 &= static_cast<uint8_t>(~value);
        break;
    case Reg::TMSK2:
        if (now - ResetCycle < ProtectedCycles) {
            BaseTicks = Ticks(now);
            BaseCycle = now;
            constexpr uint32_t prescales[4] = {1, 4, 8, 16};
            Prescale = prescales[value & 0x03];
            Tmsk2 = value & 0xF3;
        } else {
            Tmsk2 = static_cast<uint8_t>((Tmsk2 & 0x03) | (value & 0xF0));
        }
        break;
    case Reg::TFLG2:
        Tflg2 &= static_cast<uint8_t>(~(value & 0xF0));
        break;
    case Reg::PACTL:
        Pactl = value;
        break;
    case Reg::PACNT:
        Pacnt = value;
        break;
    default: // TCNT and the input captures are read-only
        break;
    }
    if (offset != Reg::PORTA && Pins() != pinsBefore)
        PinChanged = true;
    CaptureEdges(pinsBefore, Pins(), now);
    Reschedule(now);
}

void TimerSystem::Advance(uint64_t now) {
    while (Next <= now)
        FireEventsAt(Next);
}

uint32_t TimerSystem::AssertedInterrupts() const {
    const uint8_t active1 = Tflg1 & Tmsk1;
    const uint8_t active2 = Tflg2 & Tmsk2 & 0xF0;
    uint32_t asserted = 0;
    constexpr InterruptSource sources1[8] = {
        InterruptSource::Ic3, InterruptSource::Ic2, InterruptSource::Ic1, InterruptSource::I4O5,
        InterruptSource::Oc4, InterruptSource::Oc3, InterruptSource::Oc2, InterruptSource::Oc1};
    for (int bit = 0; bit < 8; ++bit)
        if (active1 & (1 << bit))
            asserted |= InterruptBit(sources1[bit]);
    if (active2 & TOF)
        asserted |= InterruptBit(InterruptSource::TimerOverflow);
    if (active2 & RTIF)
        asserted |= InterruptBit(InterruptSource::RealTime);
    if (active2 & PAOVF)
        asserted |= InterruptBit(InterruptSource::PaOverflow);
    if (active2 & PAIF)
        asserted |= InterruptBit(InterruptSource::PaInput);
    return asserted;
}

void TimerSystem::SetInputs(uint8_t levels, uint64_t now) {
    UpdateGatedCount(now);
    const uint8_t before = Pins();
    Inputs = levels;
    CaptureEdges(before, Pins(), now);
    Reschedule(now);
}

uint8_t TimerSystem::Pins() const {
    const uint8_t outputs = OutputPins();
    return static_cast<uint8_t>((Latch & outputs) | (Inputs & ~outputs));
}

bool TimerSystem::PA3IsOutput() const {
    const bool oc5Drives = Oc5Active() && (Tctl1 & 0x03) != 0;
    return (Pactl & DDRA3) || oc5Drives;
}

bool TimerSystem::TakePinChange() {
    const bool changed = PinChanged;
    PinChanged = false;
    return changed;
}

uint64_t TimerSystem::NextMatch(uint16_t compare, uint64_t now) const {
    const uint64_t ticks = Ticks(now);
    uint64_t delta = static_cast<uint16_t>(compare - static_cast<uint16_t>(ticks));
    if (delta == 0)
        delta = 0x10000;
    return CycleOfTick(ticks + delta);
}

void TimerSystem::Reschedule(uint64_t now) {
    for (int index = 0; index < 5; ++index)
        NextCompare[index] = NextMatch(Compare[index], now);
    if (!Oc5Active())
        NextCompare[4] = Never;
    NextOverflow = CycleOfTick((Ticks(now) | 0xFFFF) + 1);
    const uint64_t period = RealTimeBasePeriod << (Pactl & 0x03);
    NextRealTime = ResetCycle + ((now - ResetCycle) / period + 1) * period;
    NextAccumulatorOverflow = Never;
    if (GateActive()) {
        const uint64_t clock = GateCountedUntil >> AccumulatorClockShift;
        NextAccumulatorOverflow = (clock + 0x100 - Pacnt) << AccumulatorClockShift;
    }
    Next = std::min({NextCompare[0], NextCompare[1], NextCompare[2], NextCompare[3], NextCompare[4],
                     NextOverflow, NextRealTime, NextAccumulatorOverflow});
}

void TimerSystem::FireEventsAt(uint64_t cycle) {
    UpdateGatedCount(cycle); // also notes an accumulator overflow due now
    const uint8_t pinsBefore = Pins();
    // OC1 acts last: where it and another compare drive the same pin at once, OC1 wins.
    for (int index = 1; index < 5; ++index)
        if (NextCompare[index] == cycle)
            CompareMatched(index);
    if (NextCompare[0] == cycle)
        CompareMatched(0);
    if (NextOverflow == cycle)
        Tflg2 |= TOF;
    if (NextRealTime == cycle)
        Tflg2 |= RTIF;
    if (Pins() != pinsBefore) {
        PinChanged = true;
        CaptureEdges(pinsBefore, Pins(), cycle);
    }
    Reschedule(cycle);
}

void TimerSystem::CompareMatched(int index) {
    Tflg1 |= static_cast<uint8_t>(0x80 >> index);
    if (index == 0)
        ApplyOc1Action();
    else
        ApplyCompareAction(index);
}

void TimerSystem::ApplyCompareAction(int index) {
    if (index == 4 && !Oc5Active())
        return;
    const unsigned action = (Tctl1 >> ((4 - index) * 2)) & 0x03;
    const uint8_t pin = static_cast<uint8_t>(0x80 >> index);
    switch (action) {
    case 1:
        Latch ^= pin;
        break;
    case 2:
        Latch &= static_cast<uint8_t>(~pin);
        break;
    case 3:
        Latch |= pin;
        break;
    default:
        break;
    }
}

void TimerSystem::ApplyOc1Action() {
    Latch = static_cast<uint8_t>((Latch & ~Oc1m) | (Oc1d & Oc1m));
}

uint8_t TimerSystem::Oc2To5ControlledPins() const {
    uint8_t pins = 0;
    for (int index = 1; index < 5; ++index)
        if ((Tctl1 >> ((4 - index) * 2)) & 0x03)
            pins |= static_cast<uint8_t>(0x80 >> index);
    if (!Oc5Active())
        pins &= static_cast<uint8_t>(~PA3);
    return pins;
}

uint8_t TimerSystem::OutputPins() const {
    uint8_t outputs = AlwaysOutputs;
    if (Pactl & DDRA7)
        outputs |= PA7;
    if (PA3IsOutput())
        outputs |= PA3;
    return outputs;
}

void TimerSystem::CaptureEdges(uint8_t before, uint8_t after, uint64_t now) {
    if (before == after)
        return;
    struct CapturePin {
        uint8_t Pin;
        unsigned Shift; // of the edge-select field in TCTL2
        uint8_t Flag;
    };
    constexpr CapturePin captures[3] = {{PA2, 4, 0x04}, {PA1, 2, 0x02}, {PA0, 0, 0x01}};
    for (int index = 0; index < 3; ++index) {
        const CapturePin& capture = captures[index];
        if (EdgeSelected(Tctl2 >> capture.Shift, before & capture.Pin, after & capture.Pin)) {
            Capture[index] = Counter(now);
            Tflg1 |= capture.Flag;
        }
    }
    if (!Oc5Active() && EdgeSelected(Tctl2 >> 6, before & PA3, after & PA3)) {
        Compare[4] = Counter(now);
        Tflg1 |= 0x08;
    }
    AccumulatorEdge(before & PA7, after & PA7);
}

void TimerSystem::AccumulatorEdge(bool before, bool after) {
    if (before == after || !(Pactl & PAEN))
        return;
    const bool risingActive = (Pactl & PEDGE) != 0;
    if (Pactl & PAMOD) {
        // The count so far was taken before the pin changed. The gate is open while PA7 is high
        // (PEDGE 0) or low (PEDGE 1); PAIF marks its end.
        const bool gateClosed = risingActive ? after : !after;
        if (gateClosed)
            Tflg2 |= PAIF;
        return;
    }
    if (after == risingActive) {
        Tflg2 |= PAIF;
        CountPulse();
    }
}

bool TimerSystem::GateActive() const {
    if ((Pactl & (PAEN | PAMOD)) != (PAEN | PAMOD))
        return false;
    const bool high = (Pins() & PA7) != 0;
    return (Pactl & PEDGE) ? !high : high;
}

void TimerSystem::UpdateGatedCount(uint64_t now) {
    if (GateActive()) {
        const uint64_t clocks =
            (now >> AccumulatorClockShift) - (GateCountedUntil >> AccumulatorClockShift);
        if (Pacnt + clocks > 0xFF)
            Tflg2 |= PAOVF;
        Pacnt = static_cast<uint8_t>(Pacnt + clocks);
    }
    GateCountedUntil = now;
}

void TimerSystem::CountPulse() {
    if (++Pacnt == 0)
        Tflg2 |= PAOVF;
}

} // namespace corvid
