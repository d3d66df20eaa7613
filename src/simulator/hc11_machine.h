#pragma once

#include "simulator/analog_converter.h"
#include "simulator/cop_watchdog.h"
#include "simulator/eeprom_programmer.h"
#include "simulator/machine_config.h"
#include "simulator/parallel_ports.h"
#include "simulator/s19_loader.h"
#include "simulator/serial_interface.h"
#include "simulator/spi_port.h"
#include "simulator/timer_system.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace corvid {

struct CpuRegisters {
    uint8_t A = 0, B = 0;
    uint16_t X = 0, Y = 0, SP = 0, PC = 0;
    uint8_t CCR = 0;

    uint16_t D() const { return static_cast<uint16_t>(A << 8 | B); }
    void SetD(uint16_t value) {
        A = static_cast<uint8_t>(value >> 8);
        B = static_cast<uint8_t>(value);
    }
};

enum class CpuState : uint8_t {
    Running,
    Waiting, // after WAI, until an interrupt
    Stopped, // after STOP, until RESET, XIRQ or IRQ
};

enum class StopReason : uint8_t {
    Completed,         // the cycles asked for have run, or the step is done
    Breakpoint,        // the program counter arrived at a breakpoint
    StopAddress,       // the program counter arrived at the stop address
    IllegalOpcode,     // an illegal opcode trapped, or was reached (see StopBeforeIllegalOpcode)
    AddressOutOfRange, // the program used an address where no memory answers
    Stopped,           // STOP, and nothing wakes the chip
};

struct RunResult {
    StopReason Reason = StopReason::Completed;
    uint64_t Cycles = 0; // E cycles this call advanced
};

// What the machine tells the world around it. Calls come from inside Step and Run, in the
// middle of an instruction; an observer may read and write memory and drive pins then, but
// must not step, run, reset or load.
class MachineObserver {
public:
    virtual ~MachineObserver() = default;
    virtual void SerialTransmitted(uint8_t value) = 0;
    // A write to an address watched with WatchWrites (by the program, or a Poke), or a change
    // of port A's output pins by the timer when PORTA's address is watched.
    virtual void WatchedWrite(uint16_t address, uint8_t value) = 0;
    // A program's read of an address watched with WatchReads: the byte to read instead, or -1.
    virtual int WatchedRead(uint16_t address, uint8_t value) = 0;
};

enum class InputPort : uint8_t { A, C, D, E };

// A 68HC11E9 with its memory map: the CPU with the reference manual's cycle counts, the
// interrupt system, and the on-chip peripherals. The instruction loop allocates nothing and
// calls no virtual function; peripherals run on the cycle count and are visited only when
// their next event is due or the program touches their registers.
//
// The ROM starts with its interrupt vectors pointing into the RAM jump table at $00C4-$00FF
// that an evaluation board's monitor keeps, three bytes a vector, where a program puts a JMP
// to its handler; a program may also load vectors of its own into the ROM area.
//
// Not thread-safe: one thread at a time (the plug-in serialises its callers).
class HC11Machine {
public:
    explicit HC11Machine(const MachineConfig& config = {});
    ~HC11Machine();
    HC11Machine(const HC11Machine&) = delete;
    HC11Machine& operator=(const HC11Machine&) = delete;

    // Power-on reset: registers and peripherals as after reset, cycle count 0, memory kept.
    // The program counter comes from the entry address when one is set, else from the reset
    // vector. The stack pointer starts at the top of the internal RAM.
    void Reset();
    void SetEntryAddress(std::optional<uint16_t> address) { EntryAddress = address; }

    CpuRegisters& Registers() { return Cpu; }
    const CpuRegisters& Registers() const { return Cpu; }
    CpuState State() const { return Mode; }
    uint64_t Cycles() const { return CycleCount; }
    double SimulatedSeconds() const {
        return static_cast<double>(CycleCount) / Configuration.EClockHz;
    }

    // The debugger's view of memory. Peek changes nothing the program could notice: no flag
    // clearing sequence, no latch, no watched read (it only brings peripherals up to date).
    // Poke writes the register block as the program would, and stores into RAM, EEPROM and
    // ROM alike.
    uint8_t Peek(uint16_t address);
    uint16_t PeekWord(uint16_t address);
    void Poke(uint16_t address, uint8_t value);
    uint16_t RegisterBase() const { return RegisterBlock; }

    // Stores the image's bytes as Poke does; bytes at addresses without memory are reported.
    // A load right after a reset without an entry address starts at the loaded reset vector.
    std::vector<S19Error> Load(const S19Image& image);

    // Executes one instruction, or enters one pending interrupt, or (waiting after WAI)
    // advances the clock to the next peripheral event, at most maxWaitCycles.
    RunResult Step(uint64_t maxWaitCycles = 2'000'000);
    // Executes until maxCycles have run or a reason to stop (breakpoints are checked when the
    // program counter arrives, so the first instruction runs even when it starts on one).
    RunResult Run(uint64_t maxCycles);

    void SetBreakpoint(uint16_t address);
    void RemoveBreakpoint(uint16_t address);
    void ClearBreakpoints();
    void SetStopAddress(std::optional<uint16_t> address);

    // When set, Run stops before an illegal opcode (other than its first instruction) with
    // the program counter on it, instead of taking the trap; Step always takes the trap.
    void SetStopBeforeIllegalOpcode(bool stop) { StopBeforeIllegal = stop; }

    // The outside world.
    void SetIrqLine(bool low);
    void SetXirqLine(bool low);
    void SetResetLine(bool low); // held low: nothing runs; the rising edge resets the chip
    void SetPortInputs(InputPort port, uint8_t levels);
    void SetAnalogLevel(int pin, uint8_t level);
    bool ReceiveSerial(uint8_t value); // false when the receive queue is full

    void WatchWrites(uint16_t address);
    void WatchReads(uint16_t address);
    void ClearWatches();
    void SetObserver(MachineObserver* observer) { Observer = observer; }

private:
    enum class Region : uint8_t { Ram, Rom, Eeprom, Registers, None };
    static constexpr uint8_t WatchWrite = 1, WatchRead = 2;
    static constexpr uint8_t StopBreakpoint = 1, StopAtAddress = 2;

    // Memory access on the instruction path: a table lookup decides between the flat array
    // and the slow path (registers, EEPROM, ROM, watches, missing memory).
    uint8_t Read8(uint16_t address) {
        if (FastRead[address >> 8]) [[likely]]
            return Memory[address];
        return ReadSlow(address);
    }
    void Write8(uint16_t address, uint8_t value) {
        if (FastWrite[address >> 8]) [[likely]]
            Memory[address] = value;
        else
            WriteSlow(address, value);
    }
    uint16_t Read16(uint16_t address) {
        return static_cast<uint16_t>(Read8(address) << 8 |
                                     Read8(static_cast<uint16_t>(address + 1)));
    }
    void Write16(uint16_t address, uint16_t value) {
        Write8(address, static_cast<uint8_t>(value >> 8));
        Write8(static_cast<uint16_t>(address + 1), static_cast<uint8_t>(value));
    }
    uint8_t Fetch8() { return Read8(Cpu.PC++); }
    uint16_t Fetch16() {
        const uint16_t value = Read16(Cpu.PC);
        Cpu.PC = static_cast<uint16_t>(Cpu.PC + 2);
        return value;
    }
    void Push8(uint8_t value) {
        Write8(Cpu.SP, value);
        --Cpu.SP;
    }
    void Push16(uint16_t value) {
        Push8(static_cast<uint8_t>(value));
        Push8(static_cast<uint8_t>(value >> 8));
    }
    uint8_t Pull8() { return Read8(++Cpu.SP); }
    uint16_t Pull16() {
        const uint8_t high = Pull8();
        return static_cast<uint16_t>(high << 8 | Pull8());
    }

    uint8_t ReadSlow(uint16_t address);
    void WriteSlow(uint16_t address, uint8_t value);
    void MissingMemory();

    // Instruction execution lives in cpu_execute.cpp.
    friend class InstructionSet;
    void Execute();
    void ExecuteUntilAttention(); // the instruction loop: to RunLimit or a stop point
    void IllegalOpcode(uint16_t opcodeAddress, int opcodeBytes);
    void PushFrame();
    void Wait();
    void Stop();
    void CcrUnmasked();

    // Interrupts and time.
    void EnterInterrupt(uint16_t vector, uint8_t maskBits, uint64_t cycles);
    bool ServiceInterrupt();
    bool WakeFromStop();
    bool InterruptTakeable() const;
    void UpdateInterrupts();
    void AttentionNeeded() { RunLimit = 0; }
    void UpdateRunLimit();
    void SyncPeripherals() {
        if (CycleCount >= NextEvent)
            AdvancePeripherals();
    }
    void AdvancePeripherals();
    void AfterPeripheralChange();
    bool CheckWatchdog();
    void WaitForEvent(uint64_t limit);
    void ResetChip(uint16_t vector);
    void ExecuteFirst(bool silentTrap);
    RunResult Finish(StopReason reason, uint64_t startCycles) const;
    std::optional<StopReason> StopPointReached() const;

    // The register block (hc11_machine.cpp).
    uint8_t ReadRegister(uint8_t offset);
    uint8_t PeekRegister(uint8_t offset);
    void WriteRegister(uint8_t offset, uint8_t value);
    void WriteSystemRegister(uint8_t offset, uint8_t value);
    void NotifyPortAChange();

    // The memory map.
    void BuildMemoryMap();
    void MapRange(uint32_t first, uint32_t size, Region region);
    void UpdateFastPages();
    void UpdateFastPage(unsigned page);
    Region RegionOf(uint16_t address) const { return RegionMap[address]; }
    bool InProtectedWindow() const { return CycleCount - ResetCycle < 64; }

    // Hot state first: the instruction loop touches these.
    CpuRegisters Cpu;
    uint64_t CycleCount = 0;
    uint64_t RunLimit = 0; // the instruction loop runs while CycleCount is below this
    std::array<uint8_t, 0x10000> Memory{};
    std::array<bool, 256> FastRead{};
    std::array<bool, 256> FastWrite{};
    std::array<uint8_t, 0x10000> StopMap{};

    MachineConfig Configuration;
    std::array<Region, 0x10000> RegionMap{};
    std::array<uint8_t, 0x10000> WatchMap{};
    CpuState Mode = CpuState::Running;
    std::optional<uint16_t> EntryAddress;
    std::optional<uint16_t> StopAddress;
    bool StopBeforeIllegal = false;
    bool FirstInstructionOfRun = false;
    bool SilentTrap = false;
    std::optional<StopReason> PendingStop;
    bool AtResetPoint = false;
    uint64_t ResetCycle = 0;
    uint64_t SliceEnd = 0;
    uint64_t NextEvent = 0;
    uint64_t EepromProgramCycles = 0;

    uint16_t RegisterBlock = 0x1000;
    uint16_t RamBlock = 0x0000;
    uint8_t Option = 0, Hprio = 0, Init = 0, ConfigRegister = 0;
    bool InitWritten = false;
    bool IrqLow = false, IrqLatched = false, XirqLow = false, ExternalXirqLow = false;
    bool ResetLow = false;
    uint32_t AssertedSources = 0;

    TimerSystem Timer;
    SerialInterface Sci;
    SpiPort Spi;
    ParallelPorts Ports;
    AnalogConverter Analog;
    EepromProgrammer Eeprom;
    CopWatchdog Cop;
    MachineObserver* Observer = nullptr;
};

} // namespace corvid
