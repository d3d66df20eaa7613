// The simulator against hostile input. The first byte chooses: odd, the rest is S19 text for
// the loader; even, the rest is a memory image from $E000 (vectors included) that the CPU
// runs for a bounded number of cycles and steps. Nothing may crash, and every illegal opcode
// met with interrupts masked must trap through the illegal-opcode vector.

#include "simulator/disassembler.h"
#include "simulator/hc11_machine.h"
#include "simulator/opcode_table.h"
#include "simulator/register_map.h"
#include "simulator/s19_loader.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace {

using namespace corvid;

constexpr uint16_t ImageStart = 0xE000;
constexpr uint64_t RunCycles = 20'000;
constexpr int Steps = 1000;

void Require(bool condition) {
    if (!condition)
        __builtin_trap();
}

void FuzzLoader(std::string_view text) {
    const S19Image image = ParseS19(text);
    for (const S19Error& error : image.Errors)
        Require(!error.Message().empty());
    auto machine = std::make_unique<HC11Machine>();
    machine->Load(image);
    for (const S19Block& block : image.Blocks) {
        Require(block.Address + block.Bytes.size() <= 0x10000);
        if (!block.Bytes.empty())
            Disassemble(block.Bytes, block.Address);
    }
}

bool IllegalAt(HC11Machine& machine, uint16_t pc) {
    const uint8_t first = machine.Peek(pc);
    if (!IsPrebyte(first))
        return !LookupOpcode(OpcodePage::Page0, first).IsLegal();
    return !LookupOpcode(PageOfPrebyte(first), machine.Peek(static_cast<uint16_t>(pc + 1)))
                .IsLegal();
}

// With interrupts masked and no watchdog, nothing but the trap can come before an illegal
// opcode.
void StepAndCheck(HC11Machine& machine, bool watchdog) {
    const CpuRegisters before = machine.Registers();
    const bool masked = (before.CCR & (Ccr::X | Ccr::I)) == (Ccr::X | Ccr::I);
    const bool running = machine.State() == CpuState::Running;
    const bool illegal = IllegalAt(machine, before.PC);
    const RunResult result = machine.Step();
    if (result.Reason == StopReason::IllegalOpcode) {
        Require(illegal);
        Require(machine.Registers().PC == machine.PeekWord(Vector::IllegalOpcode));
    } else {
        Require(!(illegal && masked && running && !watchdog));
    }
}

void FuzzCpu(const uint8_t* data, size_t size, uint8_t options) {
    MachineConfig config;
    config.External = (options & 2) ? ExternalMemory::None : ExternalMemory::Ram;
    config.Oc5DrivesXirq = (options & 4) != 0;
    const bool watchdog = (options & 8) != 0;
    config.Config = watchdog ? 0x0B : 0x0F;
    auto machine = std::make_unique<HC11Machine>(config);
    for (size_t i = 0; i < size && ImageStart + i <= 0xFFFF; ++i)
        machine->Poke(static_cast<uint16_t>(ImageStart + i), data[i]);
    for (size_t i = 0; i < size && i < 0x100; ++i)
        machine->Poke(static_cast<uint16_t>(i), data[size - 1 - i]);
    machine->SetEntryAddress(ImageStart);
    machine->Reset();
    machine->SetStopBeforeIllegalOpcode((options & 16) != 0);
    machine->ReceiveSerial(options);
    machine->Run(RunCycles);
    for (int step = 0; step < Steps; ++step)
        StepAndCheck(*machine, watchdog);
    machine->SetIrqLine(true);
    machine->SetXirqLine(true);
    machine->SetPortInputs(InputPort::A, options);
    machine->Run(RunCycles);
    const uint16_t pc = machine->Registers().PC;
    const uint8_t bytes[4] = {machine->Peek(pc), machine->Peek(static_cast<uint16_t>(pc + 1)),
                              machine->Peek(static_cast<uint16_t>(pc + 2)),
                              machine->Peek(static_cast<uint16_t>(pc + 3))};
    Disassemble(bytes, pc);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint8_t selector = data[0];
    if (selector & 1)
        FuzzLoader(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    else
        FuzzCpu(data + 1, size - 1, selector);
    return 0;
}
