#include "machine_fixture.h"

namespace corvid {
namespace {

constexpr uint16_t Code = 0xE000;
constexpr uint64_t FrameAt9600 = 10 * 16 * 13; // E cycles of a 10-bit frame with BAUD = $30
constexpr uint8_t TDRE = 0x80, TC = 0x40, RDRF = 0x20, IDLE = 0x10, OR = 0x08;

class Sci : public MachineFixture {
protected:
    Sci() : Observer(*Machine) { Machine->SetObserver(&Observer); }
    // The receiver on at 9600 baud, and a program of NOPs.
    void StartReceiver(std::initializer_list<uint8_t> program = {0x20, 0xFE}) {
        Start(Code, program);
        SetRegister(Reg::BAUD, 0x30);
        SetRegister(Reg::SCCR2, 0x04);
    }

    RecordingObserver Observer;
};

TEST_F(Sci, TransmitterIsEmptyAndCompleteAfterReset) {
    EXPECT_EQ(TDRE | TC, Register(Reg::SCSR));
}

TEST_F(Sci, ByteLeavesAfterTheIdlePreambleAndItsFrame) {
    Start(Code, {
                    0xCE, 0x10, 0x00, // LDX #$1000
                    0x86, 0x30,       // LDAA #$30
                    0xA7, 0x2B,       // STAA BAUD,X (9600 baud)
                    0x86, 0x08,       // LDAA #$08
                    0xA7, 0x2D,       // STAA SCCR2,X (TE) at cycle 15
                    0xE6, 0x2E,       // LDAB SCSR,X (TDRE set: arms the clearing)
                    0x86, 0x41,       // LDAA #'A'
                    0xA7, 0x2F,       // STAA SCDR,X
                    0x20, 0xFE,       // BRA *
                });
    StepTimes(8);
    EXPECT_EQ(0, Register(Reg::SCSR) & TC);
    while (Observer.Transmitted.empty() && Machine->Cycles() < 10000)
        Machine->Step();
    EXPECT_EQ("A", Observer.Transmitted);
    EXPECT_GE(Machine->Cycles(), 15 + 2 * FrameAt9600);
    EXPECT_LT(Machine->Cycles(), 15 + 2 * FrameAt9600 + 3);
    EXPECT_EQ(TDRE | TC, Register(Reg::SCSR) & (TDRE | TC));
}

TEST_F(Sci, ByteWrittenWithoutReadingScsrFirstIsNotSent) {
    Start(Code, {
                    0xCE, 0x10, 0x00, // LDX #$1000
                    0x86, 0x08,       // LDAA #$08
                    0xA7, 0x2D,       // STAA SCCR2,X (TE)
                    0x86, 0x41,       // LDAA #'A'
                    0xA7, 0x2F,       // STAA SCDR,X without the SCSR read
                    0x20, 0xFE,       // BRA *
                });
    Machine->Run(100000);
    EXPECT_EQ("", Observer.Transmitted);
    EXPECT_EQ(TDRE, Register(Reg::SCSR) & TDRE);
}

TEST_F(Sci, ReceivedByteSetsRdrfWhichClearsOnlyByScsrThenScdr) {
    // BRA * ; then: LDAA SCDR (alone: clears nothing) ; LDAB SCSR ; LDAA SCDR ; BRA *
    StartReceiver({0x20, 0xFE, 0xB6, 0x10, 0x2F, 0xF6, 0x10, 0x2E, 0xB6, 0x10, 0x2F, 0x20, 0xFE});
    Machine->ReceiveSerial('x');
    EXPECT_EQ(0, Register(Reg::SCSR) & RDRF);
    Machine->Run(FrameAt9600 + 10);
    EXPECT_EQ(RDRF, Register(Reg::SCSR) & RDRF); // a debugger's read clears nothing
    Cpu().PC = Code + 2;
    Machine->Step();
    EXPECT_EQ('x', Cpu().A);
    EXPECT_EQ(RDRF, Register(Reg::SCSR) & RDRF);
    Machine->Step();
    Machine->Step();
    EXPECT_EQ('x', Cpu().A);
    EXPECT_EQ(0, Register(Reg::SCSR) & RDRF);
}

TEST_F(Sci, SecondByteBeforeTheFirstIsReadIsAnOverrun) {
    StartReceiver();
    Machine->ReceiveSerial('1');
    Machine->ReceiveSerial('2');
    Machine->Run(2 * FrameAt9600 + 10);
    EXPECT_EQ(RDRF | OR, Register(Reg::SCSR) & (RDRF | OR));
    EXPECT_EQ('1', Register(Reg::SCDR));
}

TEST_F(Sci, IdleLineIsFlaggedOneFrameAfterTheLastByte) {
    StartReceiver();
    Machine->ReceiveSerial('1');
    Machine->Run(FrameAt9600 + 10);
    EXPECT_EQ(0, Register(Reg::SCSR) & IDLE);
    Machine->Run(FrameAt9600);
    EXPECT_EQ(IDLE, Register(Reg::SCSR) & IDLE);
}

TEST_F(Sci, BytesArrivingWhileTheReceiverIsOffAreLost) {
    Start(Code, {0x20, 0xFE});
    SetRegister(Reg::BAUD, 0x30);
    Machine->ReceiveSerial('1');
    Machine->Run(2 * FrameAt9600);
    SetRegister(Reg::SCCR2, 0x04);
    Machine->Run(2 * FrameAt9600);
    EXPECT_EQ(0, Register(Reg::SCSR) & RDRF);
}

TEST_F(Sci, ReceiveQueueIsBoundedAndRefusesWhenFull) {
    StartReceiver();
    size_t taken = 0;
    while (taken < 10000 && Machine->ReceiveSerial('a'))
        ++taken;
    // One byte is on the line already; the queue holds the rest.
    EXPECT_EQ(SerialInterface::QueueCapacity + 1, taken);
}

// A program: echo every byte received (polled).
TEST_F(Sci, EchoProgramSendsBackWhatItReceives) {
    Start(Code, {
                    0x8E, 0x01, 0xFF,       // LDS #$01FF
                    0xCE, 0x10, 0x00,       // LDX #$1000
                    0x86, 0x30,             // LDAA #$30
                    0xA7, 0x2B,             // STAA BAUD,X
                    0x86, 0x0C,             // LDAA #$0C
                    0xA7, 0x2D,             // STAA SCCR2,X (TE, RE)
                    0x1F, 0x2E, 0x20, 0xFC, // loop: BRCLR SCSR,X $20 loop
                    0xA6, 0x2F,             // LDAA SCDR,X
                    0x1F, 0x2E, 0x80, 0xFC, // wait: BRCLR SCSR,X $80 wait
                    0xA7, 0x2F,             // STAA SCDR,X
                    0x20, 0xF2,             // BRA loop
                });
    for (char c : std::string("HELLO"))
        Machine->ReceiveSerial(static_cast<uint8_t>(c));
    Machine->Run(10 * FrameAt9600);
    EXPECT_EQ("HELLO", Observer.Transmitted);
}

// A program: the receive interrupt stores each byte at $0080 on (pointer at $0090).
TEST_F(Sci, ReceiveInterruptServesEveryByte) {
    PlaceWord(Vector::SCI, Code + 0x19);
    Start(Code, {
                    0x8E, 0x01, 0xFF,       // LDS #$01FF
                    0xCE, 0x10, 0x00,       // LDX #$1000
                    0x18, 0xCE, 0x00, 0x80, // LDY #$0080
                    0x18, 0xDF, 0x90,       // STY $90
                    0x86, 0x30,             // LDAA #$30
                    0xA7, 0x2B,             // STAA BAUD,X
                    0x86, 0x24,             // LDAA #$24
                    0xA7, 0x2D,             // STAA SCCR2,X (RIE, RE)
                    0x0E,                   // CLI
                    0x3E,                   // loop: WAI
                    0x20, 0xFD,             // BRA loop
                    0xA6, 0x2E,             // isr: LDAA SCSR,X
                    0xA6, 0x2F,             // LDAA SCDR,X
                    0x18, 0xDE, 0x90,       // LDY $90
                    0x18, 0xA7, 0x00,       // STAA 0,Y
                    0x18, 0x08,             // INY
                    0x18, 0xDF, 0x90,       // STY $90
                    0x3B,                   // RTI
                });
    Machine->Run(30); // set up and wait
    for (char c : std::string("abc"))
        Machine->ReceiveSerial(static_cast<uint8_t>(c));
    Machine->Run(4 * FrameAt9600);
    EXPECT_EQ('a', Machine->Peek(0x80));
    EXPECT_EQ('b', Machine->Peek(0x81));
    EXPECT_EQ('c', Machine->Peek(0x82));
}

TEST_F(Sci, SpiTransferCompletesAndItsFlagClearsBySpsrThenSpdr) {
    // LDAA #$50 ; STAA SPCR (SPE, MSTR, E/2) ; STAA SPDR ; STAA SPDR (collision) ;
    // NOP x8 ; LDAA SPSR ; LDAA SPDR ; BRA *
    Start(Code, {0x86, 0x50, 0xB7, 0x10, 0x28, 0xB7, 0x10, 0x2A, 0xB7, 0x10, 0x2A, 0x01, 0x01, 0x01,
                 0x01, 0x01, 0x01, 0x01, 0x01, 0xB6, 0x10, 0x29, 0xB6, 0x10, 0x2A, 0x20, 0xFE});
    StepTimes(12);
    EXPECT_EQ(0xC0, Register(Reg::SPSR) & 0xC0); // SPIF after 16 cycles, and WCOL
    StepTimes(2);
    EXPECT_EQ(0xFF, Cpu().A); // nothing answers on MISO
    EXPECT_EQ(0x00, Register(Reg::SPSR) & 0xC0);
}

} // namespace
} // namespace corvid
