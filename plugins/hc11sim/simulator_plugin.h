#pragma once

#include "corvid/plugin_abi.h"
#include "simulator/hc11_machine.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace corvid {

// The simulator behind the plug-in's IHC11Simulator: an HC11Machine plus what the host asks
// for around it (run slices against the wall clock, a speed limit and its measurement,
// simulated time, breakpoints, attached devices and the error status).
//
// Threads: every public function may be called from any thread. During a run the host's run
// thread calls RunSlice, GetPC and the simulated-time functions while its user-interface
// thread calls the others; a recursive mutex serialises them, and RunSlice releases it
// between chunks of at most about a millisecond, so the other thread never waits long.
// Device callbacks are made with the mutex held, on the calling thread.
class SimulatorPlugin final : private MachineObserver {
public:
    static constexpr size_t MaximumDevices = 32;

    SimulatorPlugin();
    ~SimulatorPlugin() override;

    void RequestStop(bool stop) { StopRequested = stop; }
    uint32_t GetRegister8(uint8_t CpuRegisters::*field);
    uint32_t GetRegister16(uint16_t CpuRegisters::*field);
    uint32_t GetD();
    uint32_t GetCCR();
    void SetRegister16(uint16_t CpuRegisters::*field, uint32_t value);
    void SetD(uint32_t value);
    void SetCCR(uint32_t value);
    void SetEntryAddress(uint32_t address);

    int64_t GetCycleCount();
    int32_t GetSpeedLimitKHz() const;
    int64_t GetMeasuredCycles() const { return MeasuredCycles; }
    int32_t GetMeasuredMilliseconds() const { return MeasuredMilliseconds; }
    void SetSimulatedTime(double seconds);
    double GetSimulatedTime();
    void SetSpeedLimit(double megahertz) { LimitMegahertz = megahertz; }

    uint32_t ReadByte(uint32_t address);
    uint32_t ReadWord(uint32_t address);
    void WriteByte(uint32_t address, uint32_t value, const void* source);
    void WriteWord(uint32_t address, uint32_t value, const void* source);
    void LoadS19(const char* fileName);

    void AttachDevice(HardwareDevice* device);
    void DetachDevice(HardwareDevice* device);
    void WatchWrites(uint32_t address, HardwareDevice* device);
    void WatchReads(uint32_t address, HardwareDevice* device);
    void DriveLine(uint32_t value);

    void Step();
    bool RunSlice(int32_t stopAddress, int32_t maxCycles, int32_t milliseconds);
    void ClearBreakpoints();
    void SetBreakpoint(uint32_t address);
    void Reset();

    int32_t GetErrorStatus() const { return ErrorStatus; }
    const char* GetErrorText();

private:
    struct AttachedDevice {
        HardwareDevice* Device;
        std::set<uint16_t> WrittenWatches;
        std::set<uint16_t> ReadWatches;
    };
    enum class SliceStep { Continue, EndTrue, EndFalse };

    void SerialTransmitted(uint8_t value) override;
    void WatchedWrite(uint16_t address, uint8_t value) override;
    int WatchedRead(uint16_t address, uint8_t value) override;

    AttachedDevice* FindDevice(const void* device);
    void RebuildWatches();
    void TellDevicesWritten(uint16_t address, uint8_t value);
    void TellDevicesAdvanced();
    bool DeviceDrivesPins(uint16_t address, uint8_t value);
    void Report(RunResult result);
    SliceStep RunChunk(uint64_t cycles);
    void Measure(uint64_t cycles, std::chrono::steady_clock::duration elapsed);
    bool Busy() const { return CallbackDepth > 0; }

    std::recursive_mutex Mutex;
    std::unique_ptr<HC11Machine> Machine;
    std::vector<AttachedDevice> Devices;
    int CallbackDepth = 0; // > 0 while a device callback runs
    double TimeOffset = 0; // simulated seconds not covered by the cycle count
    std::atomic<bool> StopRequested = false;
    std::atomic<double> LimitMegahertz = 0;
    std::atomic<int64_t> MeasuredCycles = 0;
    std::atomic<int32_t> MeasuredMilliseconds = 0;
    uint64_t WindowCycles = 0;
    std::chrono::steady_clock::duration WindowTime{};
    std::atomic<int32_t> ErrorStatus = CORVID_SIM_ERROR_NONE;
    std::string ErrorText;
    std::string ErrorTextCopy;
};

} // namespace corvid
