#include "machine_fixture.h"

namespace corvid {
namespace {

constexpr uint16_t Code = 0xE000;

class Board : public MachineFixture {
protected:
    Board() = default;
    explicit Board(const MachineConfig& config) : MachineFixture(config) {}
    void StartIdle() { Start(Code, {0x20, 0xFE}); } // BRA *
};

TEST_F(Board, ResetStateFollowsTheChip) {
    StartIdle();
    EXPECT_EQ(Code, Cpu().PC);
    EXPECT_EQ(Ccr::S | Ccr::X | Ccr::I, Cpu().CCR);
    EXPECT_EQ(0x01FF, Cpu().SP); // the top of the internal RAM
    EXPECT_EQ(0x01, Register(Reg::INIT));
    EXPECT_EQ(0x05, Register(Reg::HPRIO));
    EXPECT_EQ(0x10, Register(Reg::OPTION));
    EXPECT_EQ(0x0F, Register(Reg::CONFIG));
    EXPECT_EQ(0u, Machine->Cycles());
}

TEST_F(Board, ResetWithoutEntryAddressUsesTheResetVectorAndInterruptVectorsPointToTheJumpTable) {
    PlaceWord(Vector::Reset, 0xE100);
    Machine->SetEntryAddress(std::nullopt);
    Machine->Reset();
    EXPECT_EQ(0xE100, Cpu().PC);
    EXPECT_EQ(0x00C4, Machine->PeekWord(Vector::SCI));
    EXPECT_EQ(0x00EE, Machine->PeekWord(Vector::IRQ));
    EXPECT_EQ(0x00FD, Machine->PeekWord(Vector::ClockMonitor));
}

TEST_F(Board, ResetLineHoldsTheChipAndItsReleaseRestartsIt) {
    Start(Code, {0x01, 0x01, 0x20, 0xFE}); // NOP ; NOP ; BRA *
    Machine->Run(100);
    Cpu().CCR = 0;
    Machine->SetResetLine(true);
    EXPECT_EQ(StopReason::Stopped, Machine->Run(100).Reason);
    const uint64_t cycles = Machine->Cycles();
    Machine->SetResetLine(false);
    EXPECT_EQ(Code, Cpu().PC);
    EXPECT_EQ(Ccr::S | Ccr::X | Ccr::I, Cpu().CCR);
    EXPECT_EQ(cycles, Machine->Cycles()); // a reset of the chip, not of the clock
}

TEST_F(Board, PortCReadsOutputsFromTheLatchAndInputsFromThePins) {
    StartIdle();
    SetRegister(Reg::DDRC, 0xF0);
    SetRegister(Reg::PORTC, 0xA5);
    Machine->SetPortInputs(InputPort::C, 0x3C);
    EXPECT_EQ(0xAC, Register(Reg::PORTC));
    SetRegister(Reg::PORTB, 0x81);
    EXPECT_EQ(0x81, Register(Reg::PORTB));
    SetRegister(Reg::DDRD, 0xFF);
    EXPECT_EQ(0x3F, Register(Reg::DDRD)); // port D has six pins
}

TEST_F(Board, PortEReadsTheLevelsOnItsPins) {
    StartIdle();
    Machine->SetPortInputs(InputPort::E, 0x96);
    EXPECT_EQ(0x96, Register(Reg::PORTE));
    Machine->SetAnalogLevel(0, 0x80);
    Machine->SetAnalogLevel(1, 0x7F);
    EXPECT_EQ(0x95, Register(Reg::PORTE));
}

TEST_F(Board, AnalogConversionTakesFourTimes32CyclesAndNeedsPower) {
    StartIdle();
    for (int pin = 0; pin < 4; ++pin)
        Machine->SetAnalogLevel(pin, static_cast<uint8_t>(0x10 * (pin + 1)));
    SetRegister(Reg::OPTION, 0x90); // ADPU (DLY stays)
    SetRegister(Reg::ADCTL, 0x10);  // MULT: channels 0 to 3 into ADR1-ADR4
    EXPECT_EQ(0, Register(Reg::ADCTL) & 0x80);
    Machine->Run(140);
    EXPECT_EQ(0x80, Register(Reg::ADCTL) & 0x80);
    for (int result = 0; result < 4; ++result)
        EXPECT_EQ(0x10 * (result + 1), Register(Reg::ADR1 + result));

    SetRegister(Reg::ADCTL, 0x02); // channel 2 four times
    Machine->Run(140);
    for (int result = 0; result < 4; ++result)
        EXPECT_EQ(0x30, Register(Reg::ADR1 + result));

    SetRegister(Reg::ADCTL, 0x0C); // VRH
    Machine->Run(140);
    EXPECT_EQ(0xFF, Register(Reg::ADR1));

    SetRegister(Reg::OPTION, 0x10); // powered down: nothing converts
    SetRegister(Reg::ADCTL, 0x02);
    Machine->Run(140);
    EXPECT_EQ(0x00, Register(Reg::ADR1));
}

TEST_F(Board, ScanModeFollowsTheInputWhileItRuns) {
    StartIdle();
    SetRegister(Reg::OPTION, 0x90);
    SetRegister(Reg::ADCTL, 0x21); // SCAN, channel 1
    Machine->SetAnalogLevel(1, 0x40);
    Machine->Run(200);
    EXPECT_EQ(0x40, Register(Reg::ADR4));
    Machine->SetAnalogLevel(1, 0x41);
    Machine->Run(40);
    EXPECT_EQ(0x40 + 1, Register(Reg::ADR1 + (Machine->Cycles() / 32 - 1) % 4));
}

// The EEPROM programming sequence of the data sheet: latch, write, program, wait, clear.
class Eeprom : public Board {
protected:
    explicit Eeprom(const MachineConfig& config = {}) : Board(config) {}
    void RunProgram(uint16_t delay) {
        const std::vector<uint8_t> program = {
            0xCE, 0x10,
            0x00, // LDX #$1000
            0xC6,
            0x02, // LDAB #$02
            0xE7,
            0x3B, // STAB PPROG,X (EELAT)
            0x86,
            0x5A, // LDAA #$5A
            0xB7, 0xB6,
            0x00, // STAA $B600
            0xC6,
            0x03, // LDAB #$03
            0xE7,
            0x3B, // STAB PPROG,X (EELAT, EPGM)
            0x18, 0xCE, static_cast<uint8_t>(delay >> 8), static_cast<uint8_t>(delay), 0x18,
            0x09, // dly: DEY (LDY #delay above)
            0x26,
            0xFC, // BNE dly: 7 cycles a turn
            0x6F,
            0x3B, // CLR PPROG,X
            0xB6, 0xB6,
            0x00, // LDAA $B600
            0x20,
            0xFE, // BRA *
        };
        uint16_t address = Code;
        for (uint8_t byte : program)
            Machine->Poke(address++, byte);
        Machine->SetEntryAddress(Code);
        Machine->Reset();
        Machine->Run(40'000);
    }
};

TEST_F(Eeprom, ProgrammingSequenceClearsBitsAfter10Milliseconds) {
    RunProgram(2900); // 20300 cycles: just over 10 ms at 2 MHz
    EXPECT_EQ(0x5A, Machine->Peek(0xB600));
    EXPECT_EQ(0x5A, Cpu().A);
}

TEST_F(Eeprom, ProgrammingCutShortChangesNothing) {
    RunProgram(100);
    EXPECT_EQ(0xFF, Machine->Peek(0xB600));
}

TEST_F(Eeprom, ReadsWhileLatchedDoNotSeeTheArray) {
    Machine->Poke(0xB600, 0x12);
    // LDAA #$02 ; STAA PPROG ; LDAB $B600 ; BRA *
    Start(Code, {0x86, 0x02, 0xB7, 0x10, 0x3B, 0xF6, 0xB6, 0x00, 0x20, 0xFE});
    StepTimes(3);
    EXPECT_EQ(0xFF, Cpu().B);
    EXPECT_EQ(0x12, Machine->Peek(0xB600)); // the debugger still sees the cell
}

TEST_F(Eeprom, ProgramWritesWithoutTheSequenceAreIgnored) {
    Start(Code, {0x86, 0x00, 0xB7, 0xB6, 0x10, 0x20, 0xFE}); // LDAA #0 ; STAA $B610
    Machine->Run(100);
    EXPECT_EQ(0xFF, Machine->Peek(0xB610));
}

TEST_F(Eeprom, ByteEraseSetsTheByte) {
    Machine->Poke(0xB601, 0x00);
    Machine->Poke(0xB602, 0x00);
    // LDAA #$16 ; STAA PPROG ; STAA $B601 ; LDAA #$17 ; STAA PPROG ; 10 ms ; CLR PPROG
    Start(Code, {0x86, 0x16, 0xB7, 0x10, 0x3B, 0xB7, 0xB6, 0x01, 0x86, 0x17, 0xB7, 0x10, 0x3B,
                 0x18, 0xCE, 0x0B, 0x54, 0x18, 0x09, 0x26, 0xFC, 0x7F, 0x10, 0x3B, 0x20, 0xFE});
    Machine->Run(40'000);
    EXPECT_EQ(0xFF, Machine->Peek(0xB601));
    EXPECT_EQ(0x00, Machine->Peek(0xB602));
}

class ProtectedEeprom : public Eeprom {
protected:
    static MachineConfig Protected() {
        MachineConfig config;
        config.BprotAtReset = 0x1F;
        return config;
    }
    ProtectedEeprom() : Eeprom(Protected()) {}
};

TEST_F(ProtectedEeprom, BlockProtectionRefusesProgramming) {
    RunProgram(2900);
    EXPECT_EQ(0xFF, Machine->Peek(0xB600));
    EXPECT_EQ(0x1F, Register(Reg::BPROT));
    SetRegister(Reg::BPROT, 0x00); // too late to unprotect
    EXPECT_EQ(0x1F, Register(Reg::BPROT));
}

TEST_F(Board, InitMovesTheRegistersOnceInTheFirst64Cycles) {
    // LDAA #$02 ; STAA $103D (registers to $2000) ; LDAA #$01 ; STAA $203D (refused) ; BRA *
    Start(Code, {0x86, 0x02, 0xB7, 0x10, 0x3D, 0x86, 0x01, 0xB7, 0x20, 0x3D, 0x20, 0xFE});
    StepTimes(4);
    EXPECT_EQ(0x2000, Machine->RegisterBase());
    EXPECT_EQ(0x02, Machine->Peek(0x2000 + Reg::INIT));
    Machine->Poke(0x1000, 0x77); // RAM now
    EXPECT_EQ(0x77, Machine->Peek(0x1000));
}

TEST_F(Board, InitWrittenLateIsIgnored) {
    StartIdle();
    Machine->Run(100);
    SetRegister(Reg::INIT, 0x02);
    EXPECT_EQ(0x1000, Machine->RegisterBase());
}

TEST_F(Board, RomIgnoresTheProgramButTakesTheLoader) {
    Machine->Poke(0xD000, 0x12); // the host writes
    EXPECT_EQ(0x12, Machine->Peek(0xD000));
    Start(Code, {0x86, 0x34, 0xB7, 0xD0, 0x00, 0x20, 0xFE}); // LDAA #$34 ; STAA $D000
    Machine->Run(100);
    EXPECT_EQ(0x12, Machine->Peek(0xD000));
}

class BareChip : public Board {
protected:
    static MachineConfig WithoutExternalMemory() {
        MachineConfig config;
        config.External = ExternalMemory::None;
        return config;
    }
    BareChip() : Board(WithoutExternalMemory()) {}
};

TEST_F(BareChip, UsingAnAddressWithoutMemoryStopsTheRun) {
    Start(Code, {0x01, 0xB6, 0x40, 0x00, 0x01, 0x20, 0xFE}); // NOP ; LDAA $4000 ; NOP
    const RunResult result = Machine->Run(1000);
    EXPECT_EQ(StopReason::AddressOutOfRange, result.Reason);
    EXPECT_EQ(Code + 4, Cpu().PC);
    EXPECT_EQ(0xFF, Cpu().A);
    EXPECT_EQ(StopReason::Completed, Machine->Run(10).Reason);
}

TEST_F(BareChip, LoadingWhereNoMemoryIsReportsIt) {
    S19Image image;
    image.Blocks.push_back({0x4000, {1, 2, 3}});
    image.Blocks.push_back({0x0100, {4}});
    const auto errors = Machine->Load(image);
    ASSERT_EQ(1u, errors.size());
    EXPECT_EQ("no memory at $4000", errors[0].Message());
    EXPECT_EQ(4, Machine->Peek(0x0100));
}

TEST_F(Board, LoadAfterResetWithoutEntryStartsAtTheLoadedResetVector) {
    Machine->SetEntryAddress(std::nullopt);
    Machine->Reset();
    S19Image image;
    image.Blocks.push_back({0xFFFE, {0xE1, 0x23}});
    EXPECT_TRUE(Machine->Load(image).empty());
    EXPECT_EQ(0xE123, Cpu().PC);
}

TEST_F(Board, WatchedAddressesReachTheObserverButDebuggerReadsDoNot) {
    RecordingObserver observer(*Machine);
    Machine->SetObserver(&observer);
    // LDAA $0080 ; STAA $0081 ; LDAA $0081 ; BRA *
    Start(Code, {0xB6, 0x00, 0x80, 0xB7, 0x00, 0x81, 0xB6, 0x00, 0x81, 0x20, 0xFE});
    Machine->Poke(0x0080, 0x11);
    Machine->WatchReads(0x0080);
    Machine->WatchWrites(0x0081);
    observer.Supply[0x0080] = 0x42; // an external device answers the read
    Machine->Step();
    EXPECT_EQ(0x42, Cpu().A);
    Machine->Step();
    ASSERT_EQ(1u, observer.Writes.size());
    EXPECT_EQ(0x0081, observer.Writes[0].Address);
    EXPECT_EQ(0x42, observer.Writes[0].Value);
    EXPECT_EQ(0x11, Machine->Peek(0x0080));
    EXPECT_EQ(1, observer.Reads);
    Machine->ClearWatches();
    Machine->Step();
    EXPECT_EQ(1u, observer.Writes.size());
}

class EvaluationBoard : public Board {
protected:
    static MachineConfig WiredXirq() {
        MachineConfig config;
        config.Oc5DrivesXirq = true;
        return config;
    }
    EvaluationBoard() : Board(WiredXirq()) {}
};

// A monitor's trace: OC5 pulls PA3, wired to XIRQ, low some cycles after it starts the user
// program, which is then interrupted.
TEST_F(EvaluationBoard, Oc5ClearingPa3RaisesXirq) {
    PlaceWord(Vector::XIRQ, 0x3000);
    Place(0x3000, {0x20, 0xFE});
    Start(Code, {
                    0x8E, 0x01, 0xFF, // LDS #$01FF
                    0xCE, 0x10, 0x00, // LDX #$1000
                    0x86, 0x03,       // LDAA #$03
                    0xA7, 0x20,       // STAA TCTL1,X (OC5 sets PA3)
                    0x86, 0x08,       // LDAA #$08
                    0xA7, 0x0B,       // STAA CFORC,X (now)
                    0x86, 0x02,       // LDAA #$02
                    0xA7, 0x20,       // STAA TCTL1,X (OC5 clears PA3)
                    0xCC, 0x01, 0x00, // LDD #$0100
                    0xED, 0x1E,       // STD TI4O5,X
                    0x4F,             // CLRA
                    0x06,             // TAP (X clear)
                    0x20, 0xFE,       // BRA *
                });
    Machine->Run(0xF0);
    EXPECT_EQ(Code + 25, Cpu().PC);
    Machine->Run(0x40);
    EXPECT_EQ(0x3000, Cpu().PC);
}

} // namespace
} // namespace corvid
