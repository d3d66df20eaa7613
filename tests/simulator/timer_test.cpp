#include "machine_fixture.h"

namespace corvid {
namespace {

constexpr uint16_t Code = 0xE000;
constexpr uint8_t NOP = 0x01;
constexpr uint8_t PA7 = 0x80, PA6 = 0x40, PA5 = 0x20, PA3 = 0x08, PA2 = 0x04;

class Timer : public MachineFixture {
protected:
    void StartIdle() { Start(Code, {0x20, 0xFE}); } // BRA *
    void StartNops() {
        for (uint16_t address = Code; address < Code + 0x400; ++address)
            Machine->Poke(address, NOP);
        Machine->SetEntryAddress(Code);
        Machine->Reset();
    }
    uint16_t Counter() { return Machine->PeekWord(0x1000 + Reg::TCNT); }
};

TEST_F(Timer, CounterCountsTheEClockFromReset) {
    Start(Code, {0xFC, 0x10, 0x0E}); // LDD $100E reads TCNT in its last cycle
    Machine->Step();
    EXPECT_EQ(5, Cpu().D());
}

TEST_F(Timer, ReadingTheHighByteFreezesTheLowByteUntilItIsRead) {
    // LDAA $100E ; NOP ; NOP ; LDAB $100F
    Start(Code, {0xB6, 0x10, 0x0E, NOP, NOP, 0xF6, 0x10, 0x0F});
    StepTimes(4);
    EXPECT_EQ(0, Cpu().A);
    EXPECT_EQ(4, Cpu().B); // the low byte at the high byte's read, not 12
}

TEST_F(Timer, PrescalerIsSetOnlyInTheFirst64Cycles) {
    Start(Code, {0x86, 0x03, 0xB7, 0x10, 0x24, 0x20, 0xFE}); // LDAA #3 ; STAA TMSK2 ; BRA *
    Machine->Run(1600);
    EXPECT_EQ(6 + (Machine->Cycles() - 6) / 16, Counter());
    EXPECT_EQ(0x03, Register(Reg::TMSK2) & 0x03);

    StartIdle();
    Machine->Run(100);
    SetRegister(Reg::TMSK2, 0x03);
    EXPECT_EQ(0x00, Register(Reg::TMSK2) & 0x03);
}

TEST_F(Timer, OutputCompareSetsItsFlagWhenTheCounterReachesItAndTogglesItsPin) {
    StartNops();
    SetRegister(Reg::TOC2, 0x01);
    SetRegister(Reg::TOC2 + 1, 0x00);
    SetRegister(Reg::TCTL1, 0x40); // OC2 toggles PA6
    while (Machine->Cycles() < 0x110) {
        Machine->Step();
        const bool due = Machine->Cycles() >= 0x100;
        EXPECT_EQ(due, (Register(Reg::TFLG1) & 0x40) != 0) << Machine->Cycles();
        EXPECT_EQ(due, (Register(Reg::PORTA) & PA6) != 0) << Machine->Cycles();
    }
}

TEST_F(Timer, Oc1DrivesSeveralPinsAndWinsOverAnotherCompareOnTheSamePin) {
    StartIdle();
    SetRegister(Reg::PACTL, 0x88); // PA7 and PA3 outputs
    SetRegister(Reg::OC1M, 0xF8);  // OC1 drives PA7-PA3
    SetRegister(Reg::OC1D, 0xA8);  // to 1 0 1 0 1
    SetRegister(Reg::TCTL1, 0xC0); // OC2 sets PA6
    for (uint8_t offset : {Reg::TOC1, Reg::TOC2}) {
        SetRegister(offset, 0x02);
        SetRegister(offset + 1, 0x00);
    }
    Machine->Run(0x210);
    EXPECT_EQ(PA7 | PA5 | PA3, Register(Reg::PORTA) & 0xF8);
    EXPECT_EQ(0xC0, Register(Reg::TFLG1) & 0xC0);
}

TEST_F(Timer, ForcedCompareActsAtOnceWithoutAFlag) {
    StartIdle();
    SetRegister(Reg::TCTL1, 0x30); // OC3 sets PA5
    SetRegister(Reg::CFORC, 0x20);
    EXPECT_EQ(PA5, Register(Reg::PORTA) & PA5);
    EXPECT_EQ(0, Register(Reg::TFLG1));
    EXPECT_EQ(0, Register(Reg::CFORC));
}

TEST_F(Timer, PortAWritesDoNotReachPinsThatACompareControls) {
    StartIdle();
    SetRegister(Reg::TCTL1, 0x04); // OC4 toggles PA4
    SetRegister(Reg::PORTA, 0x70);
    EXPECT_EQ(0x60, Register(Reg::PORTA) & 0x70);
}

TEST_F(Timer, FlagsClearByWritingOnes) {
    StartIdle();
    SetRegister(Reg::CFORC, 0x00);
    Machine->Run(0x10000 + 10); // every compare register is $FFFF: all five flags rise
    EXPECT_EQ(0xF8, Register(Reg::TFLG1));
    SetRegister(Reg::TFLG1, 0x40);
    EXPECT_EQ(0xB8, Register(Reg::TFLG1));
}

// BSET on TFLG1 writes back every flag that was set, clearing them all; BCLR with the other
// bits as mask clears only the one flag. The machine must show both, as the chip does.
TEST_F(Timer, ReadModifyWriteInstructionsClearFlagsAsOnTheChip) {
    // LDX #$1000 ; BCLR $23,X $BF ; BSET $23,X $08 ; BRA *
    Start(Code, {0xCE, 0x10, 0x00, 0x1D, 0x23, 0xBF, 0x1C, 0x23, 0x08, 0x20, 0xFE});
    Machine->Step();
    Machine->Run(0x10000);
    ASSERT_EQ(0xF8, Register(Reg::TFLG1));
    Cpu().PC = Code + 3;
    Machine->Step(); // BCLR: writes $40, clears OC2F only
    EXPECT_EQ(0xB8, Register(Reg::TFLG1));
    Machine->Step(); // BSET: writes $B8, clears them all
    EXPECT_EQ(0x00, Register(Reg::TFLG1));
}

TEST_F(Timer, InputCaptureLatchesTheCounterOnTheSelectedEdge) {
    StartNops();
    SetRegister(Reg::TCTL2, 0x10); // IC1 on rising edges of PA2
    Machine->Run(300);
    const uint16_t atEdge = Counter();
    Machine->SetPortInputs(InputPort::A, PA2);
    EXPECT_EQ(atEdge, Machine->PeekWord(0x1000 + Reg::TIC1));
    EXPECT_EQ(0x04, Register(Reg::TFLG1) & 0x07);
    SetRegister(Reg::TFLG1, 0x04);
    Machine->Run(300);
    Machine->SetPortInputs(InputPort::A, 0x00); // a falling edge is not selected
    EXPECT_EQ(0x00, Register(Reg::TFLG1) & 0x07);
    EXPECT_EQ(atEdge, Machine->PeekWord(0x1000 + Reg::TIC1));
}

TEST_F(Timer, OverflowFlagRisesWhenTheCounterWraps) {
    StartIdle();
    Machine->Run(0xFFF0);
    EXPECT_EQ(0, Register(Reg::TFLG2) & 0x80);
    Machine->Run(0x20);
    EXPECT_EQ(0x80, Register(Reg::TFLG2) & 0x80);
    SetRegister(Reg::TFLG2, 0x80);
    EXPECT_EQ(0, Register(Reg::TFLG2) & 0x80);
}

TEST_F(Timer, RealTimeInterruptPeriodFollowsRtr) {
    struct Case {
        uint8_t Rtr;
        uint64_t Period;
    };
    for (const Case c : {Case{0, 8192}, Case{1, 16384}, Case{3, 65536}}) {
        StartIdle();
        SetRegister(Reg::PACTL, c.Rtr);
        Machine->Run(c.Period - 8);
        EXPECT_EQ(0, Register(Reg::TFLG2) & 0x40) << c.Period;
        Machine->Run(8);
        EXPECT_EQ(0x40, Register(Reg::TFLG2) & 0x40) << c.Period;
    }
}

TEST_F(Timer, PulseAccumulatorCountsEdgesAndOverflows) {
    StartIdle();
    SetRegister(Reg::PACTL, 0x40); // enabled, event counting, falling edges
    for (int pulse = 0; pulse < 300; ++pulse) {
        Machine->SetPortInputs(InputPort::A, PA7);
        Machine->SetPortInputs(InputPort::A, 0x00);
    }
    EXPECT_EQ(300 % 256, Register(Reg::PACNT));
    EXPECT_EQ(0x30, Register(Reg::TFLG2) & 0x30); // PAOVF and PAIF
}

TEST_F(Timer, GatedAccumulationCountsEClockDiv64WhileTheGateIsOpen) {
    StartIdle();
    SetRegister(Reg::PACTL, 0x60); // enabled, gated: counts while PA7 is high
    Machine->Run(1000);
    const uint64_t opened = Machine->Cycles();
    Machine->SetPortInputs(InputPort::A, PA7);
    Machine->Run(64 * 20);
    const uint64_t closed = Machine->Cycles();
    Machine->SetPortInputs(InputPort::A, 0x00);
    Machine->Run(1000);
    EXPECT_EQ(closed / 64 - opened / 64, Register(Reg::PACNT));
    EXPECT_EQ(0x10, Register(Reg::TFLG2) & 0x10); // PAIF at the end of the gate
}

// A program: OC2 interrupts every 1000 cycles and toggles PB0.
TEST_F(Timer, OutputCompareInterruptTogglesAPortBBitOnTime) {
    PlaceWord(Vector::TOC2, Code + 0x15);
    Start(Code, {
                    0x8E, 0x01, 0xFF, // LDS #$01FF
                    0xCE, 0x10, 0x00, // LDX #$1000
                    0xCC, 0x03, 0xE8, // LDD #1000
                    0xED, 0x18,       // STD TOC2,X
                    0x86, 0x40,       // LDAA #$40
                    0xA7, 0x23,       // STAA TFLG1,X
                    0xA7, 0x22,       // STAA TMSK1,X
                    0x0E,             // CLI
                    0x3E,             // loop: WAI (a fixed interrupt latency)
                    0x20, 0xFD,       // BRA loop
                    0xEC, 0x18,       // isr: LDD TOC2,X
                    0xC3, 0x03, 0xE8, // ADDD #1000
                    0xED, 0x18,       // STD TOC2,X
                    0xA6, 0x04,       // LDAA PORTB,X
                    0x88, 0x01,       // EORA #$01
                    0xA7, 0x04,       // STAA PORTB,X
                    0x86, 0x40,       // LDAA #$40
                    0xA7, 0x23,       // STAA TFLG1,X
                    0x3B,             // RTI
                });
    RecordingObserver observer(*Machine);
    Machine->SetObserver(&observer);
    Machine->WatchWrites(0x1000 + Reg::PORTB);
    Machine->Run(20500);
    ASSERT_EQ(20u, observer.Writes.size());
    for (size_t i = 0; i < observer.Writes.size(); ++i) {
        EXPECT_EQ(i % 2 ? 0x00 : 0x01, observer.Writes[i].Value);
        if (i > 0) {
            EXPECT_EQ(1000u, observer.Writes[i].Cycle - observer.Writes[i - 1].Cycle);
        }
    }
}

// A program: the real-time interrupt counts in RAM at $0080.
TEST_F(Timer, RealTimeInterruptCountsItsPeriods) {
    PlaceWord(Vector::RealTimeInterrupt, Code + 0x13);
    Start(Code, {
                    0x8E, 0x01, 0xFF, // LDS #$01FF
                    0xCE, 0x10, 0x00, // LDX #$1000
                    0x7F, 0x00, 0x80, // CLR $0080
                    0x7F, 0x00, 0x81, // CLR $0081
                    0x86, 0x40,       // LDAA #$40
                    0xA7, 0x24,       // STAA TMSK2,X (RTII)
                    0x0E,             // CLI
                    0x20, 0xFE,       // loop: BRA loop
                    0xFC, 0x00, 0x80, // isr: LDD $0080
                    0xC3, 0x00, 0x01, // ADDD #1
                    0xFD, 0x00, 0x80, // STD $0080
                    0x86, 0x40,       // LDAA #$40
                    0xA7, 0x25,       // STAA TFLG2,X
                    0x3B,             // RTI
                });
    Machine->Run(2'000'000); // one second of a 2 MHz E clock
    EXPECT_EQ(2'000'000 / 8192, Machine->PeekWord(0x0080));
}

} // namespace
} // namespace corvid
