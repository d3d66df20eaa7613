#include "machine_fixture.h"

namespace corvid {
namespace {

using namespace Ccr;

constexpr uint16_t Code = 0x2000;
constexpr uint16_t Handler = 0x3000;
constexpr uint8_t NOP = 0x01, CLI = 0x0E, SEI = 0x0F, RTI = 0x3B, WAI = 0x3E, SWI = 0x3F;
constexpr uint8_t TAP = 0x06, STOP = 0xCF, CLRA = 0x4F;

class Interrupts : public MachineFixture {
protected:
    // A program at Code, a handler (RTI) at Handler, the vector pointing there, and the
    // registers at distinctive values.
    void Prepare(std::initializer_list<uint8_t> program, uint16_t vector) {
        Place(Handler, {RTI});
        PlaceWord(vector, Handler);
        Start(Code, program);
        Cpu().A = 0x11;
        Cpu().B = 0x22;
        Cpu().X = 0x3344;
        Cpu().Y = 0x5566;
        Cpu().SP = 0x01FF;
    }
    void ExpectStackedFrame(uint16_t returnAddress, uint8_t ccr) {
        const uint16_t sp = Cpu().SP;
        EXPECT_EQ(0x01FF - 9, sp);
        EXPECT_EQ(ccr, Machine->Peek(sp + 1));
        EXPECT_EQ(0x22, Machine->Peek(sp + 2)); // B
        EXPECT_EQ(0x11, Machine->Peek(sp + 3)); // A
        EXPECT_EQ(0x3344, Machine->PeekWord(sp + 4));
        EXPECT_EQ(0x5566, Machine->PeekWord(sp + 6));
        EXPECT_EQ(returnAddress, Machine->PeekWord(sp + 8));
    }
};

TEST_F(Interrupts, IrqStacksEveryRegisterInOrderAndRtiRestoresThem) {
    Prepare({CLI, NOP, NOP}, Vector::IRQ);
    Machine->Step(); // CLI
    const uint8_t ccr = Cpu().CCR;
    Machine->SetIrqLine(true);
    EXPECT_EQ(14u, StepCycles());
    EXPECT_EQ(Handler, Cpu().PC);
    EXPECT_TRUE(Cpu().CCR & I);
    ExpectStackedFrame(Code + 1, ccr);
    Machine->SetIrqLine(false);
    Cpu().A = Cpu().B = 0;
    Cpu().X = Cpu().Y = 0;
    EXPECT_EQ(12u, StepCycles()); // RTI
    EXPECT_EQ(Code + 1, Cpu().PC);
    EXPECT_EQ(ccr, Cpu().CCR);
    EXPECT_EQ(0x11, Cpu().A);
    EXPECT_EQ(0x22, Cpu().B);
    EXPECT_EQ(0x3344, Cpu().X);
    EXPECT_EQ(0x5566, Cpu().Y);
    EXPECT_EQ(0x01FF, Cpu().SP);
}

TEST_F(Interrupts, IrqWaitsWhileTheIBitIsSet) {
    Prepare({NOP, CLI, NOP}, Vector::IRQ);
    Machine->SetIrqLine(true);
    Machine->Step(); // NOP: I is set from reset
    EXPECT_EQ(Code + 1, Cpu().PC);
    Machine->Step(); // CLI
    Machine->Step();
    EXPECT_EQ(Handler, Cpu().PC);
}

TEST_F(Interrupts, EdgeSensitiveIrqIsServedOncePerFallingEdge) {
    // LDAA #$30 ; STAA $1039 (OPTION: IRQE, DLY) within the first 64 cycles ; CLI ; NOPs
    Prepare({0x86, 0x30, 0xB7, 0x10, 0x39, CLI, NOP, NOP, NOP}, Vector::IRQ);
    StepTimes(3);
    Machine->SetIrqLine(true);
    Machine->SetIrqLine(false); // a short pulse is remembered
    Machine->Step();
    EXPECT_EQ(Handler, Cpu().PC);
    Machine->Step(); // RTI
    Machine->Step();
    EXPECT_EQ(Code + 7, Cpu().PC); // no second interrupt
}

TEST_F(Interrupts, XirqIsMaskedUntilTheProgramClearsXAndThenIgnoresI) {
    Prepare({NOP, 0x86, 0x10, TAP, NOP}, Vector::XIRQ); // LDAA #$10 ; TAP: X clear, I set
    Machine->SetXirqLine(true);
    Machine->Step(); // NOP: X set from reset
    EXPECT_EQ(Code + 1, Cpu().PC);
    Machine->Step(); // LDAA
    Machine->Step(); // TAP
    Cpu().A = 0x11;
    const uint8_t ccr = Cpu().CCR;
    EXPECT_EQ(I, ccr);
    EXPECT_EQ(14u, StepCycles());
    EXPECT_EQ(Handler, Cpu().PC);
    EXPECT_EQ(X | I, Cpu().CCR & (X | I));
    ExpectStackedFrame(Code + 4, ccr);
    Machine->SetXirqLine(false);
    Machine->Step(); // RTI clears X again: the stacked CCR had it clear
    EXPECT_EQ(0, Cpu().CCR & X);
}

TEST_F(Interrupts, SwiStacksTheAddressAfterItAndSetsI) {
    Prepare({CLI, SWI, NOP}, Vector::SWI);
    Machine->Step();
    const uint8_t ccr = Cpu().CCR;
    EXPECT_EQ(14u, StepCycles());
    EXPECT_EQ(Handler, Cpu().PC);
    EXPECT_TRUE(Cpu().CCR & I);
    ExpectStackedFrame(Code + 2, ccr);
}

TEST_F(Interrupts, WaiStacksAtOnceAndTheInterruptOnlyFetchesTheVector) {
    Prepare({CLI, WAI, NOP}, Vector::IRQ);
    Machine->Step();
    const uint8_t ccr = Cpu().CCR;
    EXPECT_EQ(12u, StepCycles());
    EXPECT_EQ(CpuState::Waiting, Machine->State());
    ExpectStackedFrame(Code + 2, ccr);
    Machine->SetIrqLine(true);
    EXPECT_EQ(2u, StepCycles()); // 14 in all for WAI, with no wait
    EXPECT_EQ(Handler, Cpu().PC);
    EXPECT_EQ(0x01FF - 9, Cpu().SP);
}

TEST_F(Interrupts, WaiWaitsForTheNextPeripheralInterrupt) {
    // Enable the real-time interrupt (TMSK2 = RTII), CLI, WAI.
    Prepare({0x86, 0x40, 0xB7, 0x10, 0x24, CLI, WAI, NOP}, Vector::RealTimeInterrupt);
    StepTimes(4); // LDAA, STAA, CLI, WAI
    const uint64_t waitStart = Machine->Cycles();
    Machine->Step(); // waits for RTIF, then fetches the vector
    EXPECT_EQ(Handler, Cpu().PC);
    EXPECT_EQ(8192u + 2, Machine->Cycles()); // the first RTI period ends at 8192 cycles
    EXPECT_GT(Machine->Cycles(), waitStart);
}

TEST_F(Interrupts, StopHaltsTheClockUntilAnInterruptWakesIt) {
    Prepare({CLRA, TAP, STOP, NOP}, Vector::IRQ); // S (and X, I) cleared
    StepTimes(3);
    EXPECT_EQ(CpuState::Stopped, Machine->State());
    const uint64_t stoppedAt = Machine->Cycles();
    EXPECT_EQ(StopReason::Stopped, Machine->Run(100000).Reason);
    EXPECT_EQ(stoppedAt, Machine->Cycles());
    Machine->SetIrqLine(true);
    const RunResult result = Machine->Step();
    EXPECT_EQ(Handler, Cpu().PC);
    EXPECT_EQ(4064u + 14, result.Cycles); // DLY is set from reset: the oscillator restarts
}

TEST_F(Interrupts, StopIsANopWhileSIsSet) {
    Prepare({STOP, NOP}, Vector::IRQ);
    EXPECT_EQ(2u, StepCycles());
    EXPECT_EQ(CpuState::Running, Machine->State());
    EXPECT_EQ(Code + 1, Cpu().PC);
}

TEST_F(Interrupts, XirqWithXSetWakesFromStopWithoutBeingServed) {
    // LDAA #$40 ; TAP (only X set) ; STOP ; NOP
    Prepare({0x86, 0x40, TAP, STOP, NOP, NOP}, Vector::XIRQ);
    StepTimes(3);
    EXPECT_EQ(CpuState::Stopped, Machine->State());
    Machine->SetXirqLine(true);
    Machine->Step();
    EXPECT_EQ(CpuState::Running, Machine->State());
    Machine->SetXirqLine(false);
    Machine->Step();
    EXPECT_EQ(Code + 6, Cpu().PC);
}

// Two timer sources pending at once: RTI ranks above TOF, unless HPRIO promotes TOF.
class Priorities : public Interrupts {
protected:
    uint16_t FirstServed(bool promoteOverflow) {
        // LDAA #$C0 ; STAA $1024 (TOI, RTII) ; [LDAA #$00 ; STAA $103C (PSEL = TOF)] ; BRA *
        if (promoteOverflow)
            Prepare({0x86, 0xC0, 0xB7, 0x10, 0x24, 0x86, 0x00, 0xB7, 0x10, 0x3C, 0x20, 0xFE},
                    Vector::TimerOverflow);
        else
            Prepare({0x86, 0xC0, 0xB7, 0x10, 0x24, 0x20, 0xFE}, Vector::TimerOverflow);
        PlaceWord(Vector::RealTimeInterrupt, 0x3100);
        Machine->Run(70000); // both flags rise while I is set
        EXPECT_EQ(0xC0, Register(Reg::TFLG2) & 0xC0);
        Cpu().CCR &= static_cast<uint8_t>(~I);
        Machine->Step();
        return Cpu().PC;
    }
};

TEST_F(Priorities, FixedPriorityServesTheRealTimeInterruptFirst) {
    EXPECT_EQ(0x3100, FirstServed(false));
}

TEST_F(Priorities, HprioPromotesTheTimerOverflow) {
    EXPECT_EQ(Handler, FirstServed(true));
}

TEST_F(Interrupts, HprioIgnoresPselWritesWhileInterruptsAreEnabled) {
    // CLI ; LDAA #$00 ; STAA $103C
    Prepare({CLI, 0x86, 0x00, 0xB7, 0x10, 0x3C}, Vector::IRQ);
    StepTimes(3);
    EXPECT_EQ(0x05, Register(Reg::HPRIO));
}

TEST_F(Interrupts, RunStopsBeforeAnIllegalOpcodeWhenAskedAndTrapsWhenResumed) {
    Prepare({NOP, 0x41, NOP}, Vector::IllegalOpcode);
    Machine->SetStopBeforeIllegalOpcode(true);
    RunResult result = Machine->Run(1000);
    EXPECT_EQ(StopReason::IllegalOpcode, result.Reason);
    EXPECT_EQ(Code + 1, Cpu().PC);
    result = Machine->Run(14);
    EXPECT_EQ(StopReason::Completed, result.Reason);
    EXPECT_EQ(Handler, Cpu().PC);
    EXPECT_EQ(Code + 1, Machine->PeekWord(Cpu().SP + 8));
}

TEST_F(Interrupts, BreakpointsStopOnArrivalAndLetTheRunResume) {
    Prepare({NOP, NOP, NOP, 0x20, 0xFB}, Vector::IRQ); // three NOPs and BRA back
    Machine->SetBreakpoint(Code + 2);
    RunResult result = Machine->Run(1000);
    EXPECT_EQ(StopReason::Breakpoint, result.Reason);
    EXPECT_EQ(Code + 2, Cpu().PC);
    EXPECT_EQ(4u, result.Cycles);
    result = Machine->Run(1000);
    EXPECT_EQ(StopReason::Breakpoint, result.Reason);
    EXPECT_EQ(2u + 3 + 2 + 2, result.Cycles); // once round the loop
    Machine->RemoveBreakpoint(Code + 2);
    EXPECT_EQ(StopReason::Completed, Machine->Run(1000).Reason);
}

TEST_F(Interrupts, ACopTimeoutResetsThroughTheCopVector) {
    MachineConfig config;
    config.Config = 0x0B; // NOCOP clear: the watchdog runs
    Machine = std::make_unique<HC11Machine>(config);
    Place(Handler, {0x20, 0xFE});
    PlaceWord(Vector::COPFailure, Handler);
    Start(Code, {0x20, 0xFE}); // BRA * without servicing COPRST
    Machine->Run(32767);
    EXPECT_EQ(Code, Cpu().PC);
    Machine->Run(10);
    EXPECT_EQ(Handler, Cpu().PC);
}

TEST_F(Interrupts, ServicingTheCopInTimeKeepsTheProgramRunning) {
    MachineConfig config;
    config.Config = 0x0B;
    Machine = std::make_unique<HC11Machine>(config);
    PlaceWord(Vector::COPFailure, Handler);
    // loop: LDAA #$55 ; STAA $103A ; LDAA #$AA ; STAA $103A ; BRA loop
    Start(Code, {0x86, 0x55, 0xB7, 0x10, 0x3A, 0x86, 0xAA, 0xB7, 0x10, 0x3A, 0x20, 0xF4});
    Machine->Run(200000);
    EXPECT_GE(Cpu().PC, Code);
    EXPECT_LT(Cpu().PC, Code + 12);
}

} // namespace
} // namespace corvid
