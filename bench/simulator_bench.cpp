// Unthrottled simulation speed in emulated E-clock MHz: a CPU-bound program (indexed copies,
// multiply and divide, nested loops) while the timer interrupts and the SCI transmits.

#include "simulator/hc11_machine.h"
#include "simulator/register_map.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace corvid {
namespace {

constexpr uint16_t Code = 0xE000;

const std::vector<uint8_t> Program = {
    0x8E, 0x01, 0xFF,       // LDS #$01FF
    0xCE, 0x10, 0x00,       // LDX #$1000
    0x86, 0x30,             // LDAA #$30
    0xA7, 0x2B,             // STAA BAUD,X (9600 baud)
    0x86, 0x08,             // LDAA #$08
    0xA7, 0x2D,             // STAA SCCR2,X (TE)
    0xCC, 0x07, 0xD0,       // LDD #2000
    0xED, 0x18,             // STD TOC2,X
    0x86, 0x40,             // LDAA #$40
    0xA7, 0x22,             // STAA TMSK1,X (OC2 interrupt)
    0xA7, 0x24,             // STAA TMSK2,X (real-time interrupt)
    0x0E,                   // CLI
    0xCE, 0x20, 0x00,       // main: LDX #$2000
    0x18, 0xCE, 0x30, 0x00, // LDY #$3000
    0xC6, 0x40,             // LDAB #64
    0xA6, 0x00,             // copy: LDAA 0,X
    0x18, 0xA7, 0x00,       // STAA 0,Y
    0x08,                   // INX
    0x18, 0x08,             // INY
    0x5A,                   // DECB
    0x26, 0xF5,             // BNE copy
    0x86, 0x5A,             // LDAA #$5A
    0xC6, 0x37,             // LDAB #$37
    0x3D,                   // MUL
    0xCE, 0x01, 0x23,       // LDX #$0123
    0x02,                   // IDIV
    0xCC, 0x01, 0x00,       // LDD #$0100
    0xCE, 0x03, 0x00,       // LDX #$0300
    0x03,                   // FDIV
    0xC6, 0x0A,             // LDAB #10
    0x86, 0x14,             // outer: LDAA #20
    0x4A,                   // inner: DECA
    0x26, 0xFD,             // BNE inner
    0x5A,                   // DECB
    0x26, 0xF8,             // BNE outer
    0xCE, 0x10, 0x00,       // LDX #$1000
    0x1F, 0x2E, 0x80, 0x04, // BRCLR SCSR,X $80 skip
    0x86, 0x2A,             // LDAA #'*'
    0xA7, 0x2F,             // STAA SCDR,X
    0x20, 0xC5,             // skip: BRA main
    0xCE, 0x10, 0x00,       // oc2: LDX #$1000
    0xEC, 0x18,             // LDD TOC2,X
    0xC3, 0x07, 0xD0,       // ADDD #2000
    0xED, 0x18,             // STD TOC2,X
    0x86, 0x40,             // LDAA #$40
    0xA7, 0x23,             // STAA TFLG1,X
    0x3B,                   // RTI
    0xCE, 0x10, 0x00,       // rti: LDX #$1000
    0x86, 0x40,             // LDAA #$40
    0xA7, 0x25,             // STAA TFLG2,X
    0x3B,                   // RTI
};
constexpr uint16_t Oc2Handler = Code + 0x55;
constexpr uint16_t RealTimeHandler = Code + 0x64;

class CountingObserver : public MachineObserver {
public:
    void SerialTransmitted(uint8_t) override { ++Transmitted; }
    void WatchedWrite(uint16_t, uint8_t) override {}
    int WatchedRead(uint16_t, uint8_t) override { return -1; }
    int64_t Transmitted = 0;
};

std::unique_ptr<HC11Machine> BenchmarkMachine() {
    auto machine = std::make_unique<HC11Machine>();
    for (size_t i = 0; i < Program.size(); ++i)
        machine->Poke(static_cast<uint16_t>(Code + i), Program[i]);
    const auto vector = [&](uint16_t address, uint16_t handler) {
        machine->Poke(address, static_cast<uint8_t>(handler >> 8));
        machine->Poke(static_cast<uint16_t>(address + 1), static_cast<uint8_t>(handler));
    };
    vector(Vector::TOC2, Oc2Handler);
    vector(Vector::RealTimeInterrupt, RealTimeHandler);
    machine->SetEntryAddress(Code);
    machine->Reset();
    return machine;
}

void BM_SimulatorUnthrottled(benchmark::State& state) {
    auto machine = BenchmarkMachine();
    CountingObserver observer;
    machine->SetObserver(&observer);
    constexpr uint64_t slice = 10'000'000;
    uint64_t cycles = 0;
    for (auto _ : state) {
        const RunResult result = machine->Run(slice);
        if (result.Reason != StopReason::Completed)
            state.SkipWithError("the benchmark program stopped");
        cycles += result.Cycles;
    }
    state.counters["EClockMHz"] =
        benchmark::Counter(static_cast<double>(cycles) / 1e6, benchmark::Counter::kIsRate);
    state.counters["SciBytes"] = static_cast<double>(observer.Transmitted);
}
BENCHMARK(BM_SimulatorUnthrottled)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace corvid

BENCHMARK_MAIN();
