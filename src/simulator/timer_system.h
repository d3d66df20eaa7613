#pragma once

#include <cstdint>

namespace corvid {

// The main timer with port A: the free-running counter TCNT behind its prescaler, output
// compares OC1-OC5 with their pin actions, input captures IC1-IC3 (and IC4 in place of OC5),
// the overflow flag, the real-time interrupt and the pulse accumulator on PA7. Time is the
// machine's E-clock cycle count; events (compares, overflow, RTI, accumulator overflow) are
// scheduled at the cycle they fall on, so nothing is polled cycle by cycle.
class TimerSystem {
public:
    static constexpr uint64_t Never = ~uint64_t{0};

    void Reset(uint64_t now);

    // Register offsets of the timer and PORTA (Reg::PORTA, Reg::CFORC .. Reg::PACNT).
    static bool Owns(uint8_t offset);
    uint8_t Read(uint8_t offset, uint64_t now);       // TCNT's high byte latches the low byte
    uint8_t Peek(uint8_t offset, uint64_t now) const; // no side effects
    void Write(uint8_t offset, uint8_t value, uint64_t now);

    void Advance(uint64_t now); // performs every event due up to now
    uint64_t NextEvent() const { return Next; }
    uint32_t AssertedInterrupts() const;

    // The levels the outside world puts on port A's pins; edges trigger captures and the
    // pulse accumulator.
    void SetInputs(uint8_t levels, uint64_t now);
    uint8_t Pins() const;     // what each pin shows: output latch or input level
    bool PA3IsOutput() const; // PA3 driven by the chip (general output, OC5 or OC1)
    bool TakePinChange();     // true once after the timer changed an output pin

private:
    uint64_t Ticks(uint64_t now) const { return BaseTicks + (now - BaseCycle) / Prescale; }
    uint64_t CycleOfTick(uint64_t tick) const { return BaseCycle + (tick - BaseTicks) * Prescale; }
    uint16_t Counter(uint64_t now) const { return static_cast<uint16_t>(Ticks(now)); }
    uint64_t NextMatch(uint16_t compare, uint64_t now) const;
    void Reschedule(uint64_t now);
    void FireEventsAt(uint64_t cycle);
    void CompareMatched(int index);
    void ApplyCompareAction(int index);
    void ApplyOc1Action();
    uint8_t Oc2To5ControlledPins() const;
    uint8_t OutputPins() const;
    void CaptureEdges(uint8_t before, uint8_t after, uint64_t now);
    void AccumulatorEdge(bool before, bool after);
    bool GateActive() const;
    void UpdateGatedCount(uint64_t now);
    void CountPulse();
    bool Oc5Active() const { return (Pactl & 0x04) == 0; }

    uint64_t ResetCycle = 0;
    uint64_t BaseCycle = 0; // TCNT = BaseTicks + (now - BaseCycle) / Prescale
    uint64_t BaseTicks = 0;
    uint32_t Prescale = 1;
    uint16_t Compare[5] = {}; // TOC1-TOC4, TI4O5 (OC5 or IC4)
    uint16_t Capture[3] = {};
    uint8_t Tctl1 = 0, Tctl2 = 0, Tmsk1 = 0, Tflg1 = 0, Tmsk2 = 0, Tflg2 = 0;
    uint8_t Pactl = 0, Pacnt = 0, Oc1m = 0, Oc1d = 0;
    uint8_t Latch = 0;  // port A output latch
    uint8_t Inputs = 0; // levels on port A's pins from outside
    bool LowByteLatched = false;
    uint8_t LatchedLow = 0;
    bool PinChanged = false;
    uint64_t GateCountedUntil = 0; // gated accumulation: E/64 clocks counted up to here
    uint64_t NextCompare[5] = {};
    uint64_t NextOverflow = 0;
    uint64_t NextRealTime = 0;
    uint64_t NextAccumulatorOverflow = Never;
    uint64_t Next = Never;
};

} // namespace corvid
