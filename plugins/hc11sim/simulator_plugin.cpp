#include "simulator_plugin.h"

#include "simulator/register_map.h"
#include "simulator/s19_loader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <thread>

namespace corvid {

namespace {

using Clock = std::chrono::steady_clock;
using Lock = std::lock_guard<std::recursive_mutex>;

constexpr uint64_t UnthrottledChunk = 200'000; // well under a millisecond at full speed
constexpr auto MeasurementWindow = std::chrono::milliseconds(100);
constexpr auto StoppedPause = std::chrono::milliseconds(1);

std::optional<uint16_t> AddressOrNone(int64_t address) {
    if (address < 0 || address > 0xFFFF)
        return std::nullopt;
    return static_cast<uint16_t>(address);
}

// Counts the device callbacks in progress, during which a device must not drive the
// simulator itself (step, run, reset, load, attach or detach).
class CallbackScope {
public:
    explicit CallbackScope(int& depth) : Depth(depth) { ++Depth; }
    ~CallbackScope() { --Depth; }
    CallbackScope(const CallbackScope&) = delete;
    CallbackScope& operator=(const CallbackScope&) = delete;

private:
    int& Depth;
};

} // namespace

SimulatorPlugin::SimulatorPlugin() : Machine(std::make_unique<HC11Machine>()) {
    Machine->SetStopBeforeIllegalOpcode(true);
    Machine->SetObserver(this);
}

// Attached devices are not released here: this runs when the process ends, when their
// libraries may be gone already.
SimulatorPlugin::~SimulatorPlugin() {
    Machine->SetObserver(nullptr);
}

// Registers -------------------------------------------------------------------------------

uint32_t SimulatorPlugin::GetRegister8(uint8_t CpuRegisters::*field) {
    Lock lock(Mutex);
    return Machine->Registers().*field;
}

uint32_t SimulatorPlugin::GetRegister16(uint16_t CpuRegisters::*field) {
    Lock lock(Mutex);
    return Machine->Registers().*field;
}

uint32_t SimulatorPlugin::GetD() {
    Lock lock(Mutex);
    return Machine->Registers().D();
}

uint32_t SimulatorPlugin::GetCCR() {
    Lock lock(Mutex);
    return Machine->Registers().CCR;
}

void SimulatorPlugin::SetRegister16(uint16_t CpuRegisters::*field, uint32_t value) {
    Lock lock(Mutex);
    Machine->Registers().*field = static_cast<uint16_t>(value);
}

void SimulatorPlugin::SetD(uint32_t value) {
    Lock lock(Mutex);
    Machine->Registers().SetD(static_cast<uint16_t>(value));
}

void SimulatorPlugin::SetCCR(uint32_t value) {
    Lock lock(Mutex);
    Machine->Registers().CCR = static_cast<uint8_t>(value);
}

void SimulatorPlugin::SetEntryAddress(uint32_t address) {
    Lock lock(Mutex);
    Machine->SetEntryAddress(AddressOrNone(address));
}

// Time ------------------------------------------------------------------------------------

int64_t SimulatorPlugin::GetCycleCount() {
    Lock lock(Mutex);
    return static_cast<int64_t>(Machine->Cycles());
}

int32_t SimulatorPlugin::GetSpeedLimitKHz() const {
    const double limit = LimitMegahertz;
    return limit > 0 ? static_cast<int32_t>(std::lround(std::min(limit, 2e6) * 1000)) : 0;
}

void SimulatorPlugin::SetSimulatedTime(double seconds) {
    Lock lock(Mutex);
    if (std::isfinite(seconds))
        TimeOffset = seconds - Machine->SimulatedSeconds();
}

double SimulatorPlugin::GetSimulatedTime() {
    Lock lock(Mutex);
    return TimeOffset + Machine->SimulatedSeconds();
}

void SimulatorPlugin::Measure(uint64_t cycles, Clock::duration elapsed) {
    WindowCycles += cycles;
    WindowTime += elapsed;
    if (WindowTime < MeasurementWindow)
        return;
    MeasuredCycles = static_cast<int64_t>(WindowCycles);
    MeasuredMilliseconds = static_cast<int32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(WindowTime).count());
    WindowCycles = 0;
    WindowTime = {};
}

// Memory ----------------------------------------------------------------------------------

uint32_t SimulatorPlugin::ReadByte(uint32_t address) {
    Lock lock(Mutex);
    return Machine->Peek(static_cast<uint16_t>(address));
}

uint32_t SimulatorPlugin::ReadWord(uint32_t address) {
    Lock lock(Mutex);
    return Machine->PeekWord(static_cast<uint16_t>(address));
}

void SimulatorPlugin::WriteByte(uint32_t address, uint32_t value, const void* source) {
    Lock lock(Mutex);
    const auto target = static_cast<uint16_t>(address);
    const auto byte = static_cast<uint8_t>(value);
    if (FindDevice(source) && DeviceDrivesPins(target, byte))
        return;
    Machine->Poke(target, byte);
}

void SimulatorPlugin::WriteWord(uint32_t address, uint32_t value, const void* source) {
    Lock lock(Mutex);
    WriteByte(address, value >> 8, source);
    WriteByte(static_cast<uint16_t>(address + 1), value, source);
}

// A device writing to a port's data register puts levels on its input pins; writing to SCDR
// it sends a byte down the line to the SCI.
bool SimulatorPlugin::DeviceDrivesPins(uint16_t address, uint8_t value) {
    const int offset = address - Machine->RegisterBase();
    switch (offset) {
    case Reg::PORTA:
        Machine->SetPortInputs(InputPort::A, value);
        return true;
    case Reg::PORTC:
        Machine->SetPortInputs(InputPort::C, value);
        return true;
    case Reg::PORTD:
        Machine->SetPortInputs(InputPort::D, value);
        return true;
    case Reg::PORTE:
        Machine->SetPortInputs(InputPort::E, value);
        return true;
    case Reg::SCDR:
        Machine->ReceiveSerial(value);
        return true;
    default:
        return false;
    }
}

void SimulatorPlugin::LoadS19(const char* fileName) {
    Lock lock(Mutex);
    if (Busy())
        return;
    S19Image image = ReadS19File(fileName ? fileName : "");
    std::vector<S19Error> errors = image.Errors;
    for (S19Error& error : Machine->Load(image))
        errors.push_back(std::move(error));
    ErrorText.clear();
    for (const S19Error& error : errors)
        ErrorText += error.Message() + "\n";
    ErrorStatus = errors.empty() ? CORVID_SIM_ERROR_NONE : CORVID_SIM_ERROR_LOAD;
}

// Devices ---------------------------------------------------------------------------------

SimulatorPlugin::AttachedDevice* SimulatorPlugin::FindDevice(const void* device) {
    for (AttachedDevice& attached : Devices)
        if (attached.Device == device)
            return &attached;
    return nullptr;
}

void SimulatorPlugin::AttachDevice(HardwareDevice* device) {
    Lock lock(Mutex);
    if (!device || Busy() || FindDevice(device))
        return;
    if (Devices.size() >= MaximumDevices) {
        ErrorStatus = CORVID_SIM_ERROR_TOO_MANY_DEVICES;
        ErrorText = "No more than " + std::to_string(MaximumDevices) + " devices can be attached\n";
        return;
    }
    device->Methods->AddRef(device);
    Devices.push_back({device, {}, {}});
    ErrorStatus = CORVID_SIM_ERROR_NONE;
    ErrorText.clear();
}

void SimulatorPlugin::DetachDevice(HardwareDevice* device) {
    Lock lock(Mutex);
    if (Busy())
        return;
    const auto found = std::find_if(Devices.begin(), Devices.end(),
                                    [&](const AttachedDevice& d) { return d.Device == device; });
    if (found == Devices.end())
        return;
    Devices.erase(found);
    RebuildWatches();
    device->Methods->Release(device);
}

void SimulatorPlugin::RebuildWatches() {
    Machine->ClearWatches();
    for (const AttachedDevice& attached : Devices) {
        for (uint16_t address : attached.WrittenWatches)
            Machine->WatchWrites(address);
        for (uint16_t address : attached.ReadWatches)
            Machine->WatchReads(address);
    }
}

void SimulatorPlugin::WatchWrites(uint32_t address, HardwareDevice* device) {
    Lock lock(Mutex);
    AttachedDevice* attached = FindDevice(device);
    if (!attached || address > 0xFFFF)
        return;
    attached->WrittenWatches.insert(static_cast<uint16_t>(address));
    Machine->WatchWrites(static_cast<uint16_t>(address));
}

void SimulatorPlugin::WatchReads(uint32_t address, HardwareDevice* device) {
    Lock lock(Mutex);
    AttachedDevice* attached = FindDevice(device);
    if (!attached || address > 0xFFFF)
        return;
    attached->ReadWatches.insert(static_cast<uint16_t>(address));
    Machine->WatchReads(static_cast<uint16_t>(address));
}

void SimulatorPlugin::DriveLine(uint32_t value) {
    Lock lock(Mutex);
    const uint32_t line = (value >> 8) & 0xFF;
    const auto level = static_cast<uint8_t>(value);
    if (line == CORVID_LINE_IRQ)
        Machine->SetIrqLine(level == 0);
    else if (line == CORVID_LINE_XIRQ)
        Machine->SetXirqLine(level == 0);
    else if (line == CORVID_LINE_RESET && !Busy())
        Machine->SetResetLine(level == 0);
    else if (line >= CORVID_LINE_ANALOG0 && line < CORVID_LINE_ANALOG0 + 8)
        Machine->SetAnalogLevel(static_cast<int>(line - CORVID_LINE_ANALOG0), level);
}

void SimulatorPlugin::TellDevicesWritten(uint16_t address, uint8_t value) {
    CallbackScope scope(CallbackDepth);
    for (const AttachedDevice& attached : Devices)
        if (attached.WrittenWatches.count(address))
            attached.Device->Methods->MemoryWritten(attached.Device, address, value);
}

void SimulatorPlugin::TellDevicesAdvanced() {
    CallbackScope scope(CallbackDepth);
    const auto cycles = static_cast<int64_t>(Machine->Cycles());
    for (const AttachedDevice& attached : Devices)
        attached.Device->Methods->SimulationAdvanced(attached.Device, cycles);
}

void SimulatorPlugin::SerialTransmitted(uint8_t value) {
    TellDevicesWritten(static_cast<uint16_t>(Machine->RegisterBase() + Reg::SCDR), value);
}

void SimulatorPlugin::WatchedWrite(uint16_t address, uint8_t value) {
    // A byte written to SCDR is reported when it has been transmitted.
    if (address != Machine->RegisterBase() + Reg::SCDR)
        TellDevicesWritten(address, value);
}

int SimulatorPlugin::WatchedRead(uint16_t address, uint8_t value) {
    CallbackScope scope(CallbackDepth);
    for (const AttachedDevice& attached : Devices) {
        if (!attached.ReadWatches.count(address))
            continue;
        const int32_t supplied =
            attached.Device->Methods->MemoryRead(attached.Device, address, value);
        if (supplied >= 0 && supplied <= 0xFF)
            return supplied;
    }
    return -1;
}

// Execution -------------------------------------------------------------------------------

void SimulatorPlugin::Report(RunResult result) {
    switch (result.Reason) {
    case StopReason::IllegalOpcode:
        ErrorStatus = CORVID_SIM_ERROR_ILLEGAL_OPCODE;
        break;
    case StopReason::AddressOutOfRange:
        ErrorStatus = CORVID_SIM_ERROR_ADDRESS_RANGE;
        break;
    default:
        return;
    }
    char text[80];
    std::snprintf(text, sizeof text, "%s at $%04X\n",
                  ErrorStatus == CORVID_SIM_ERROR_ILLEGAL_OPCODE ? "Illegal opcode"
                                                                 : "No memory for an access",
                  Machine->Registers().PC);
    ErrorText = text;
}

void SimulatorPlugin::Step() {
    Lock lock(Mutex);
    if (Busy())
        return;
    ErrorStatus = CORVID_SIM_ERROR_NONE;
    ErrorText.clear();
    StopRequested = false;
    Report(Machine->Step());
    TellDevicesAdvanced();
}

SimulatorPlugin::SliceStep SimulatorPlugin::RunChunk(uint64_t cycles) {
    const RunResult result = Machine->Run(cycles);
    Report(result);
    switch (result.Reason) {
    case StopReason::StopAddress:
        return SliceStep::EndTrue;
    case StopReason::Breakpoint:
    case StopReason::IllegalOpcode:
    case StopReason::AddressOutOfRange:
        return SliceStep::EndFalse;
    default:
        return SliceStep::Continue;
    }
}

bool SimulatorPlugin::RunSlice(int32_t stopAddress, int32_t maxCycles, int32_t milliseconds) {
    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline = start + std::chrono::milliseconds(std::max(milliseconds, 0));
    const uint64_t budget = maxCycles > 0 ? static_cast<uint64_t>(maxCycles) : ~uint64_t{0};
    uint64_t startCycles;
    {
        Lock lock(Mutex);
        if (Busy())
            return false;
        ErrorStatus = CORVID_SIM_ERROR_NONE;
        ErrorText.clear();
        Machine->SetStopAddress(AddressOrNone(stopAddress));
        startCycles = Machine->Cycles();
    }
    bool result = true;
    uint64_t executed = 0;
    for (;;) {
        if (StopRequested.exchange(false)) {
            result = false;
            break;
        }
        const double limit = LimitMegahertz;
        const uint64_t perMillisecond =
            limit > 0 ? std::max<uint64_t>(1, static_cast<uint64_t>(limit * 1000))
                      : UnthrottledChunk;
        SliceStep step;
        bool stopped;
        {
            Lock lock(Mutex);
            step = RunChunk(std::min(perMillisecond, budget - executed));
            executed = Machine->Cycles() - startCycles;
            stopped = Machine->State() == CpuState::Stopped;
        }
        if (step != SliceStep::Continue) {
            result = step == SliceStep::EndTrue;
            break;
        }
        const Clock::time_point now = Clock::now();
        if (executed >= budget || now >= deadline)
            break;
        if (stopped) {
            std::this_thread::sleep_until(std::min(now + StoppedPause, deadline));
        } else if (limit > 0) {
            const auto due = start + std::chrono::duration_cast<Clock::duration>(
                                         std::chrono::duration<double>(executed / (limit * 1e6)));
            if (due > now)
                std::this_thread::sleep_until(std::min(due, deadline));
        }
    }
    Lock lock(Mutex);
    Machine->SetStopAddress(std::nullopt);
    Measure(executed, Clock::now() - start);
    TellDevicesAdvanced();
    return result;
}

void SimulatorPlugin::ClearBreakpoints() {
    Lock lock(Mutex);
    Machine->ClearBreakpoints();
}

void SimulatorPlugin::SetBreakpoint(uint32_t address) {
    Lock lock(Mutex);
    if (const auto breakpoint = AddressOrNone(address))
        Machine->SetBreakpoint(*breakpoint);
}

void SimulatorPlugin::Reset() {
    Lock lock(Mutex);
    if (Busy())
        return;
    Machine->Reset();
    TimeOffset = 0;
    StopRequested = false;
    ErrorStatus = CORVID_SIM_ERROR_NONE;
    ErrorText.clear();
}

const char* SimulatorPlugin::GetErrorText() {
    Lock lock(Mutex);
    ErrorTextCopy = ErrorText;
    return ErrorTextCopy.c_str();
}

} // namespace corvid
