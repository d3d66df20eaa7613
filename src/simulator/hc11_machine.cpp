#include "simulator/hc11_machine.h"

#include "simulator/interrupt_source.h"
#include "simulator/register_map.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace corvid {

namespace {

constexpr uint8_t ResetCcr = Ccr::S | Ccr::X | Ccr::I;
constexpr uint8_t ResetOption = 0x10;         // DLY
constexpr uint8_t ResetHprio = 0x05;          // normal single-chip mode, PSEL = 0101
constexpr uint8_t ResetInit = 0x01;           // RAM at $0000, registers at $1000
constexpr uint64_t InterruptEntryCycles = 14; // 12 stacking, 2 vector fetch
constexpr uint64_t VectorFetchCycles = 2;     // the rest of an interrupt that ends a WAI
constexpr uint64_t StopRecoveryCycles = 4064; // oscillator start-up after STOP with DLY
constexpr double EepromProgramSeconds = 0.010;

// CONFIG
constexpr uint8_t NOCOP = 0x04, ROMON = 0x02, EEON = 0x01;
// OPTION
constexpr uint8_t ADPU = 0x80, IRQE = 0x20, DLY = 0x10, CME = 0x08;
constexpr uint8_t OptionProtectedBits = 0x33; // IRQE, DLY, CR1, CR0
constexpr uint8_t PA3 = 0x08;

// The interrupt vectors of a board whose monitor owns the ROM point to a jump table in RAM,
// three bytes per vector from $00C4 (SCI) to $00FD (clock monitor), where a program puts a
// JMP to its handler.
constexpr uint16_t JumpTableStart = 0x00C4;
constexpr uint16_t FirstTableVector = Vector::SCI;
constexpr uint16_t LastTableVector = Vector::ClockMonitor;

} // namespace

HC11Machine::HC11Machine(const MachineConfig& config) : Configuration(config) {
    EepromProgramCycles = static_cast<uint64_t>(Configuration.EClockHz * EepromProgramSeconds);
    if (!Configuration.EnforceEepromProgramTime)
        EepromProgramCycles = 0;
    std::fill(Memory.begin() + Configuration.EepromStart,
              Memory.begin() + Configuration.EepromStart + Configuration.EepromSize, 0xFF);
    std::fill(Memory.begin() + Configuration.RomStart, Memory.end(), 0xFF);
    for (uint16_t vector = FirstTableVector; vector <= LastTableVector; vector += 2) {
        const uint16_t entry = JumpTableStart + (vector - FirstTableVector) / 2 * 3;
        Memory[vector] = static_cast<uint8_t>(entry >> 8);
        Memory[vector + 1] = static_cast<uint8_t>(entry);
    }
    Reset();
}

HC11Machine::~HC11Machine() = default;

void HC11Machine::Reset() {
    CycleCount = 0;
    Cpu = CpuRegisters();
    ResetChip(Vector::Reset);
    Cpu.SP = static_cast<uint16_t>(RamBlock + Configuration.RamSize - 1);
    AtResetPoint = true;
}

void HC11Machine::ResetChip(uint16_t vector) {
    const uint64_t now = CycleCount;
    ResetCycle = now;
    Mode = CpuState::Running;
    Option = ResetOption;
    Hprio = ResetHprio;
    Init = ResetInit;
    InitWritten = false;
    ConfigRegister = Configuration.Config;
    RamBlock = 0x0000;
    RegisterBlock = 0x1000;
    IrqLatched = false;
    Timer.Reset(now);
    Sci.Reset();
    Spi.Reset();
    Ports.Reset();
    Analog.Reset();
    Eeprom.Reset(Configuration.BprotAtReset, EepromProgramCycles, now);
    Cop.Reset((ConfigRegister & NOCOP) == 0, now);
    BuildMemoryMap(); // after the EEPROM, whose latch decides how its pages are read
    Cpu.CCR = ResetCcr;
    Cpu.PC = vector == Vector::Reset && EntryAddress ? *EntryAddress : PeekWord(vector);
    AfterPeripheralChange();
}

// Memory map -------------------------------------------------------------------------------

void HC11Machine::BuildMemoryMap() {
    const Region external =
        Configuration.External == ExternalMemory::Ram ? Region::Ram : Region::None;
    MapRange(0, 0x10000, external);
    if (ConfigRegister & ROMON)
        MapRange(Configuration.RomStart, 0x10000 - Configuration.RomStart, Region::Rom);
    if (ConfigRegister & EEON)
        MapRange(Configuration.EepromStart, Configuration.EepromSize, Region::Eeprom);
    MapRange(RamBlock, Configuration.RamSize, Region::Ram);
    MapRange(RegisterBlock, Reg::BlockSize, Region::Registers);
    UpdateFastPages();
}

void HC11Machine::MapRange(uint32_t first, uint32_t size, Region region) {
    const uint32_t end = std::min<uint32_t>(first + size, 0x10000);
    std::fill(RegionMap.begin() + first, RegionMap.begin() + end, region);
}

void HC11Machine::UpdateFastPages() {
    for (unsigned page = 0; page < 256; ++page)
        UpdateFastPage(page);
}

void HC11Machine::UpdateFastPage(unsigned page) {
    bool fastRead = true, fastWrite = true;
    for (unsigned address = page << 8; address < (page + 1) << 8; ++address) {
        const Region region = RegionMap[address];
        const bool readable = region == Region::Ram || region == Region::Rom ||
                              (region == Region::Eeprom && !Eeprom.Latched());
        fastRead = fastRead && readable && !(WatchMap[address] & WatchRead);
        fastWrite = fastWrite && region == Region::Ram && !(WatchMap[address] & WatchWrite);
    }
    FastRead[page] = fastRead;
    FastWrite[page] = fastWrite;
}

uint8_t HC11Machine::ReadSlow(uint16_t address) {
    uint8_t value = 0xFF;
    switch (RegionOf(address)) {
    case Region::Registers:
        value = ReadRegister(static_cast<uint8_t>(address - RegisterBlock));
        break;
    case Region::Ram:
    case Region::Rom:
        value = Memory[address];
        break;
    case Region::Eeprom:
        value = Eeprom.Latched() ? 0xFF : Memory[address];
        break;
    case Region::None:
        MissingMemory();
        break;
    }
    if ((WatchMap[address] & WatchRead) && Observer) {
        const int replacement = Observer->WatchedRead(address, value);
        if (replacement >= 0 && replacement <= 0xFF)
            value = static_cast<uint8_t>(replacement);
    }
    return value;
}

void HC11Machine::WriteSlow(uint16_t address, uint8_t value) {
    switch (RegionOf(address)) {
    case Region::Registers:
        WriteRegister(static_cast<uint8_t>(address - RegisterBlock), value);
        break;
    case Region::Ram:
        Memory[address] = value;
        break;
    case Region::Rom:
        break;
    case Region::Eeprom:
        Eeprom.WriteCell(static_cast<uint16_t>(address - Configuration.EepromStart), value);
        break;
    case Region::None:
        MissingMemory();
        break;
    }
    if ((WatchMap[address] & WatchWrite) && Observer)
        Observer->WatchedWrite(address, value);
}

void HC11Machine::MissingMemory() {
    PendingStop = StopReason::AddressOutOfRange;
    AttentionNeeded();
}

uint8_t HC11Machine::Peek(uint16_t address) {
    switch (RegionOf(address)) {
    case Region::Registers:
        return PeekRegister(static_cast<uint8_t>(address - RegisterBlock));
    case Region::None:
        return 0xFF;
    default:
        return Memory[address];
    }
}

uint16_t HC11Machine::PeekWord(uint16_t address) {
    return static_cast<uint16_t>(Peek(address) << 8 | Peek(static_cast<uint16_t>(address + 1)));
}

void HC11Machine::Poke(uint16_t address, uint8_t value) {
    switch (RegionOf(address)) {
    case Region::Registers:
        WriteRegister(static_cast<uint8_t>(address - RegisterBlock), value);
        break;
    case Region::None:
        return;
    default:
        Memory[address] = value;
        break;
    }
    if ((WatchMap[address] & WatchWrite) && Observer)
        Observer->WatchedWrite(address, value);
}

std::vector<S19Error> HC11Machine::Load(const S19Image& image) {
    std::vector<S19Error> errors;
    for (const S19Block& block : image.Blocks) {
        bool reported = false;
        for (size_t i = 0; i < block.Bytes.size(); ++i) {
            const auto address = static_cast<uint16_t>(block.Address + i);
            if (RegionOf(address) == Region::None && !reported) {
                char reason[64];
                std::snprintf(reason, sizeof reason, "no memory at $%04X", address);
                errors.push_back({0, "", reason});
                reported = true;
            }
            Poke(address, block.Bytes[i]);
        }
    }
    if (AtResetPoint && !EntryAddress)
        Cpu.PC = PeekWord(Vector::Reset);
    return errors;
}

// The register block -------------------------------------------------------------------------

uint8_t HC11Machine::ReadRegister(uint8_t offset) {
    SyncPeripherals();
    uint8_t value;
    if (TimerSystem::Owns(offset))
        value = Timer.Read(offset, CycleCount);
    else if (SerialInterface::Owns(offset))
        value = Sci.Read(offset);
    else if (SpiPort::Owns(offset))
        value = Spi.Read(offset);
    else
        return PeekRegister(offset);
    AfterPeripheralChange();
    return value;
}

uint8_t HC11Machine::PeekRegister(uint8_t offset) {
    SyncPeripherals();
    const uint64_t now = CycleCount;
    if (TimerSystem::Owns(offset))
        return Timer.Peek(offset, now);
    if (SerialInterface::Owns(offset))
        return Sci.Peek(offset);
    if (SpiPort::Owns(offset))
        return Spi.Peek(offset);
    if (ParallelPorts::Owns(offset))
        return Ports.Peek(offset);
    if (AnalogConverter::Owns(offset))
        return Analog.Peek(offset, now);
    switch (offset) {
    case Reg::BPROT:
        return Eeprom.BprotValue();
    case Reg::OPTION:
        return Option;
    case Reg::PPROG:
        return Eeprom.PprogValue();
    case Reg::HPRIO:
        return Hprio;
    case Reg::INIT:
        return Init;
    case Reg::CONFIG:
        return ConfigRegister;
    default: // COPRST, TEST1 and the reserved addresses
        return 0;
    }
}

void HC11Machine::WriteRegister(uint8_t offset, uint8_t value) {
    SyncPeripherals();
    const uint64_t now = CycleCount;
    if (TimerSystem::Owns(offset))
        Timer.Write(offset, value, now);
    else if (SerialInterface::Owns(offset))
        Sci.Write(offset, value, now);
    else if (SpiPort::Owns(offset))
        Spi.Write(offset, value, now);
    else if (ParallelPorts::Owns(offset))
        Ports.Write(offset, value);
    else if (AnalogConverter::Owns(offset))
        Analog.Write(offset, value, now);
    else
        WriteSystemRegister(offset, value);
    AfterPeripheralChange();
}

void HC11Machine::WriteSystemRegister(uint8_t offset, uint8_t value) {
    const uint64_t now = CycleCount;
    switch (offset) {
    case Reg::OPTION: {
        const uint8_t writable = InProtectedWindow() ? 0xFB : 0xFB & ~OptionProtectedBits;
        Option = static_cast<uint8_t>((Option & ~writable) | (value & writable));
        Analog.SetPowered((Option & ADPU) != 0, now);
        Cop.SetRate(Option & 0x03);
        break;
    }
    case Reg::COPRST:
        Cop.WriteCoprst(value, now);
        break;
    case Reg::PPROG: {
        const bool wasLatched = Eeprom.Latched();
        Eeprom.WritePprog(
            value, now,
            std::span(Memory.data() + Configuration.EepromStart, Configuration.EepromSize));
        if (Eeprom.Latched() != wasLatched)
            UpdateFastPages();
        break;
    }
    case Reg::BPROT:
        Eeprom.WriteBprot(value, now);
        break;
    case Reg::HPRIO:
        // PSEL may change only while interrupts are masked.
        if (Cpu.CCR & Ccr::I)
            Hprio = static_cast<uint8_t>((Hprio & 0xF0) | (value & 0x0F));
        break;
    case Reg::INIT:
        if (InitWritten || !InProtectedWindow())
            break;
        InitWritten = true;
        Init = value;
        {
            const auto ramBlock = static_cast<uint16_t>((value >> 4) << 12);
            // The internal RAM keeps its contents where it goes.
            std::copy_n(Memory.begin() + RamBlock, Configuration.RamSize,
                        Memory.begin() + ramBlock);
            RamBlock = ramBlock;
            RegisterBlock = static_cast<uint16_t>((value & 0x0F) << 12);
        }
        BuildMemoryMap();
        break;
    default: // CONFIG is an EEPROM cell set by a programmer, TEST1 works in test modes only
        break;
    }
}

void HC11Machine::NotifyPortAChange() {
    if (!Timer.TakePinChange() || !Observer)
        return;
    const auto address = static_cast<uint16_t>(RegisterBlock + Reg::PORTA);
    if (WatchMap[address] & WatchWrite)
        Observer->WatchedWrite(address, Timer.Pins());
}

// Time and interrupts ----------------------------------------------------------------------

void HC11Machine::AdvancePeripherals() {
    const uint64_t now = CycleCount;
    Timer.Advance(now);
    Sci.Advance(now);
    Spi.Advance(now);
    AfterPeripheralChange();
}

void HC11Machine::AfterPeripheralChange() {
    if (Observer && !Sci.Transmitted().empty()) {
        for (uint8_t value : Sci.Transmitted())
            Observer->SerialTransmitted(value);
    }
    Sci.ClearTransmitted();
    NotifyPortAChange();
    NextEvent = std::min({Timer.NextEvent(), Sci.NextEvent(), Spi.NextEvent(), Cop.Timeout()});
    if (NextEvent < RunLimit)
        RunLimit = NextEvent;
    UpdateInterrupts();
}

void HC11Machine::UpdateInterrupts() {
    const bool pa3Low = Timer.PA3IsOutput() && !(Timer.Pins() & PA3);
    XirqLow = ExternalXirqLow || (Configuration.Oc5DrivesXirq && pa3Low);
    const bool irq = (Option & IRQE) ? IrqLatched : IrqLow;
    AssertedSources = Timer.AssertedInterrupts();
    if (Sci.InterruptAsserted())
        AssertedSources |= InterruptBit(InterruptSource::Sci);
    if (Spi.InterruptAsserted())
        AssertedSources |= InterruptBit(InterruptSource::Spi);
    if (irq)
        AssertedSources |= InterruptBit(InterruptSource::Irq);
    if (InterruptTakeable() || (Mode == CpuState::Stopped && XirqLow))
        AttentionNeeded();
}

bool HC11Machine::InterruptTakeable() const {
    return (XirqLow && !(Cpu.CCR & Ccr::X)) || (AssertedSources && !(Cpu.CCR & Ccr::I));
}

void HC11Machine::CcrUnmasked() {
    if (InterruptTakeable())
        AttentionNeeded();
}

void HC11Machine::UpdateRunLimit() {
    RunLimit = std::min(SliceEnd, NextEvent);
    if (PendingStop || InterruptTakeable() || Mode != CpuState::Running)
        RunLimit = 0;
}

bool HC11Machine::CheckWatchdog() {
    if (Cop.Timeout() > CycleCount)
        return false;
    ResetChip(Vector::COPFailure);
    return true;
}

void HC11Machine::PushFrame() {
    Push16(Cpu.PC);
    Push16(Cpu.Y);
    Push16(Cpu.X);
    Push8(Cpu.A);
    Push8(Cpu.B);
    Push8(Cpu.CCR);
}

void HC11Machine::EnterInterrupt(uint16_t vector, uint8_t maskBits, uint64_t cycles) {
    if (Mode == CpuState::Waiting)
        cycles = VectorFetchCycles; // WAI stacked the registers already
    else
        PushFrame();
    Mode = CpuState::Running;
    Cpu.CCR |= maskBits;
    Cpu.PC = Read16(vector);
    CycleCount += cycles;
}

bool HC11Machine::WakeFromStop() {
    const bool irq = (AssertedSources & InterruptBit(InterruptSource::Irq)) != 0;
    const bool wakes = XirqLow || (irq && !(Cpu.CCR & Ccr::I));
    if (!wakes)
        return false;
    Mode = CpuState::Running;
    if (Option & DLY)
        CycleCount += StopRecoveryCycles;
    return true;
}

bool HC11Machine::ServiceInterrupt() {
    if (Mode == CpuState::Stopped && !WakeFromStop())
        return false;
    if (XirqLow && !(Cpu.CCR & Ccr::X)) {
        EnterInterrupt(Vector::XIRQ, Ccr::X | Ccr::I, InterruptEntryCycles);
        return true;
    }
    if (!AssertedSources || (Cpu.CCR & Ccr::I))
        return false;
    const InterruptSource source = SelectInterrupt(AssertedSources, Hprio & 0x0F);
    if (source == InterruptSource::Irq)
        IrqLatched = false;
    EnterInterrupt(VectorOf(source), Ccr::I, InterruptEntryCycles);
    UpdateInterrupts();
    return true;
}

void HC11Machine::IllegalOpcode(uint16_t opcodeAddress, int opcodeBytes) {
    if (StopBeforeIllegal && !FirstInstructionOfRun) {
        Cpu.PC = opcodeAddress;
        PendingStop = StopReason::IllegalOpcode;
        AttentionNeeded();
        return;
    }
    // The stacked address is the illegal opcode's own, so a handler can find it.
    Cpu.PC = opcodeAddress;
    EnterInterrupt(Vector::IllegalOpcode, Ccr::I, InterruptEntryCycles + opcodeBytes - 1);
    if (!SilentTrap)
        PendingStop = StopReason::IllegalOpcode;
    AttentionNeeded();
}

void HC11Machine::Wait() {
    PushFrame();
    Mode = CpuState::Waiting;
    AttentionNeeded();
}

void HC11Machine::Stop() {
    if (Cpu.CCR & Ccr::S)
        return; // STOP disabled: a NOP
    if (Option & CME) {
        ResetChip(Vector::ClockMonitor); // the clock monitor sees the clock stop
        return;
    }
    Mode = CpuState::Stopped;
    AttentionNeeded();
}

void HC11Machine::WaitForEvent(uint64_t limit) {
    CycleCount = std::max(CycleCount, std::min(NextEvent, limit));
}

// Running ----------------------------------------------------------------------------------

RunResult HC11Machine::Finish(StopReason reason, uint64_t startCycles) const {
    return {reason, CycleCount - startCycles};
}

std::optional<StopReason> HC11Machine::StopPointReached() const {
    const uint8_t stop = StopMap[Cpu.PC];
    if (stop & StopAtAddress)
        return StopReason::StopAddress;
    if (stop & StopBreakpoint)
        return StopReason::Breakpoint;
    return std::nullopt;
}

void HC11Machine::ExecuteFirst(bool silentTrap) {
    FirstInstructionOfRun = true;
    SilentTrap = silentTrap;
    Execute();
    FirstInstructionOfRun = false;
    SilentTrap = false;
}

RunResult HC11Machine::Step(uint64_t maxWaitCycles) {
    const uint64_t start = CycleCount;
    PendingStop.reset();
    AtResetPoint = false;
    SyncPeripherals();
    if (ResetLow)
        return Finish(StopReason::Stopped, start);
    if (!CheckWatchdog() && !ServiceInterrupt()) {
        if (Mode == CpuState::Running) {
            ExecuteFirst(false);
        } else if (Mode == CpuState::Waiting) {
            const uint64_t limit = start + maxWaitCycles;
            while (Mode == CpuState::Waiting && CycleCount < limit && !CheckWatchdog()) {
                WaitForEvent(limit);
                SyncPeripherals();
                ServiceInterrupt();
            }
        } else {
            return Finish(StopReason::Stopped, start);
        }
    }
    SyncPeripherals();
    return Finish(PendingStop.value_or(StopReason::Completed), start);
}

RunResult HC11Machine::Run(uint64_t maxCycles) {
    const uint64_t start = CycleCount;
    const uint64_t unbounded = std::numeric_limits<uint64_t>::max();
    SliceEnd = maxCycles > unbounded - start ? unbounded : start + maxCycles;
    PendingStop.reset();
    AtResetPoint = false;
    bool first = true;
    for (;;) {
        SyncPeripherals();
        if (PendingStop)
            return Finish(*PendingStop, start);
        if (ResetLow)
            return Finish(StopReason::Stopped, start);
        if (CycleCount >= SliceEnd)
            return Finish(StopReason::Completed, start);
        if (CheckWatchdog())
            continue;
        if (InterruptTakeable() || Mode != CpuState::Running) {
            if (ServiceInterrupt()) {
                first = false;
                if (const auto reason = StopPointReached())
                    return Finish(*reason, start);
                continue;
            }
            if (Mode == CpuState::Waiting) {
                WaitForEvent(SliceEnd);
                continue;
            }
            if (Mode == CpuState::Stopped)
                return Finish(StopReason::Stopped, start);
        }
        if (first) {
            first = false;
            ExecuteFirst(StopBeforeIllegal);
        } else {
            UpdateRunLimit();
            ExecuteUntilAttention();
        }
        if (PendingStop)
            continue;
        if (const auto reason = StopPointReached())
            return Finish(*reason, start);
    }
}

// Breakpoints, lines and watches -----------------------------------------------------------

void HC11Machine::SetBreakpoint(uint16_t address) {
    StopMap[address] |= StopBreakpoint;
}

void HC11Machine::RemoveBreakpoint(uint16_t address) {
    StopMap[address] &= static_cast<uint8_t>(~StopBreakpoint);
}

void HC11Machine::ClearBreakpoints() {
    for (uint8_t& stop : StopMap)
        stop &= static_cast<uint8_t>(~StopBreakpoint);
}

void HC11Machine::SetStopAddress(std::optional<uint16_t> address) {
    if (StopAddress)
        StopMap[*StopAddress] &= static_cast<uint8_t>(~StopAtAddress);
    StopAddress = address;
    if (StopAddress)
        StopMap[*StopAddress] |= StopAtAddress;
}

void HC11Machine::SetIrqLine(bool low) {
    if (low && !IrqLow)
        IrqLatched = true; // the falling edge, for edge-sensitive IRQ
    IrqLow = low;
    UpdateInterrupts();
}

void HC11Machine::SetXirqLine(bool low) {
    ExternalXirqLow = low;
    UpdateInterrupts();
}

void HC11Machine::SetResetLine(bool low) {
    const bool released = ResetLow && !low;
    ResetLow = low;
    if (released)
        ResetChip(Vector::Reset);
}

void HC11Machine::SetPortInputs(InputPort port, uint8_t levels) {
    SyncPeripherals();
    switch (port) {
    case InputPort::A:
        Timer.SetInputs(levels, CycleCount);
        break;
    case InputPort::C:
        Ports.SetInputs(ParallelPorts::Port::C, levels);
        break;
    case InputPort::D:
        Ports.SetInputs(ParallelPorts::Port::D, levels);
        break;
    case InputPort::E:
        Analog.SetDigitalInputs(levels, CycleCount);
        break;
    }
    AfterPeripheralChange();
}

void HC11Machine::SetAnalogLevel(int pin, uint8_t level) {
    SyncPeripherals();
    Analog.SetLevel(pin, level, CycleCount);
}

bool HC11Machine::ReceiveSerial(uint8_t value) {
    SyncPeripherals();
    const bool taken = Sci.Receive(value, CycleCount);
    AfterPeripheralChange();
    return taken;
}

void HC11Machine::WatchWrites(uint16_t address) {
    WatchMap[address] |= WatchWrite;
    UpdateFastPage(address >> 8);
}

void HC11Machine::WatchReads(uint16_t address) {
    WatchMap[address] |= WatchRead;
    UpdateFastPage(address >> 8);
}

void HC11Machine::ClearWatches() {
    WatchMap.fill(0);
    UpdateFastPages();
}

} // namespace corvid
