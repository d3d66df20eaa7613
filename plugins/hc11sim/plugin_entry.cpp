// The plug-in's face to the host: the IHC11Simulator table of C functions over
// SimulatorPlugin, reference counting, and the library entry point. No exception leaves a
// slot: a failure inside one (memory exhausted) gives the slot's neutral result.

#include "simulator_plugin.h"

#include "plugin_object.h"

#include <memory>
#include <mutex>
#include <type_traits>
#include <vector>

namespace corvid {

namespace {

using SimulatorObject = TPluginObject<IHC11Simulator, SimulatorPlugin>;
static_assert(std::is_standard_layout_v<SimulatorObject>);

SimulatorPlugin& Of(IHC11Simulator* self) {
    return *SimulatorObject::Of(self).Object;
}

extern "C" {

const char* GetName(IHC11Simulator*) {
    return "68HC11 Simulator";
}

const char* GetDescription(IHC11Simulator*) {
    return "A simulated 68HC11E9 evaluation board: exact cycle counts, interrupts, timer, SCI, "
           "SPI, A/D, ports and EEPROM";
}

const char* GetErrorText(IHC11Simulator* self) {
    return Guarded<const char*>("", [&] { return Of(self).GetErrorText(); });
}

void Reserved(IHC11Simulator*) {}

void RequestStop(IHC11Simulator* self, uint32_t value) {
    Of(self).RequestStop(value != 0);
}

uint32_t GetA(IHC11Simulator* self) {
    return Of(self).GetRegister8(&CpuRegisters::A);
}
uint32_t GetB(IHC11Simulator* self) {
    return Of(self).GetRegister8(&CpuRegisters::B);
}
void SetD(IHC11Simulator* self, uint32_t value) {
    Of(self).SetD(value);
}
uint32_t GetD(IHC11Simulator* self) {
    return Of(self).GetD();
}
void SetCCR(IHC11Simulator* self, uint32_t value) {
    Of(self).SetCCR(value);
}
uint32_t GetCCR(IHC11Simulator* self) {
    return Of(self).GetCCR();
}
void SetX(IHC11Simulator* self, uint32_t value) {
    Of(self).SetRegister16(&CpuRegisters::X, value);
}
uint32_t GetX(IHC11Simulator* self) {
    return Of(self).GetRegister16(&CpuRegisters::X);
}
void SetY(IHC11Simulator* self, uint32_t value) {
    Of(self).SetRegister16(&CpuRegisters::Y, value);
}
uint32_t GetY(IHC11Simulator* self) {
    return Of(self).GetRegister16(&CpuRegisters::Y);
}
void SetPC(IHC11Simulator* self, uint32_t value) {
    Of(self).SetRegister16(&CpuRegisters::PC, value);
}
uint32_t GetPC(IHC11Simulator* self) {
    return Of(self).GetRegister16(&CpuRegisters::PC);
}
void SetSP(IHC11Simulator* self, uint32_t value) {
    Of(self).SetRegister16(&CpuRegisters::SP, value);
}
uint32_t GetSP(IHC11Simulator* self) {
    return Of(self).GetRegister16(&CpuRegisters::SP);
}
void SetEntryAddress(IHC11Simulator* self, uint32_t address) {
    Of(self).SetEntryAddress(address);
}

int64_t GetCycleCount(IHC11Simulator* self) {
    return Of(self).GetCycleCount();
}
int32_t GetSpeedLimitKHz(IHC11Simulator* self) {
    return Of(self).GetSpeedLimitKHz();
}
int64_t GetMeasuredCycles(IHC11Simulator* self) {
    return Of(self).GetMeasuredCycles();
}
int32_t GetMeasuredMilliseconds(IHC11Simulator* self) {
    return Of(self).GetMeasuredMilliseconds();
}
void SetSimulatedTime(IHC11Simulator* self, double seconds) {
    Of(self).SetSimulatedTime(seconds);
}
double GetSimulatedTime(IHC11Simulator* self) {
    return Of(self).GetSimulatedTime();
}

uint32_t ReadWord(IHC11Simulator* self, uint32_t address) {
    return Guarded<uint32_t>(0, [&] { return Of(self).ReadWord(address); });
}

uint32_t ReadByte(IHC11Simulator* self, uint32_t address) {
    return Guarded<uint32_t>(0, [&] { return Of(self).ReadByte(address); });
}

void WriteWord(IHC11Simulator* self, uint32_t address, uint32_t value, void* source) {
    Guarded([&] { Of(self).WriteWord(address, value, source); });
}

void WriteByte(IHC11Simulator* self, uint32_t address, uint32_t value, void* source) {
    Guarded([&] { Of(self).WriteByte(address, value, source); });
}

void LoadS19(IHC11Simulator* self, const char* fileName) {
    Guarded([&] { Of(self).LoadS19(fileName); });
}

void AttachDevice(IHC11Simulator* self, HardwareDevice* device) {
    Guarded([&] { Of(self).AttachDevice(device); });
}

void DetachDevice(IHC11Simulator* self, HardwareDevice* device) {
    Guarded([&] { Of(self).DetachDevice(device); });
}

void WatchWrites(IHC11Simulator* self, uint32_t address, HardwareDevice* device) {
    Guarded([&] { Of(self).WatchWrites(address, device); });
}

void WatchReads(IHC11Simulator* self, uint32_t address, HardwareDevice* device) {
    Guarded([&] { Of(self).WatchReads(address, device); });
}

void SetSpeedLimit(IHC11Simulator* self, double megahertz) {
    Of(self).SetSpeedLimit(megahertz);
}

void Step(IHC11Simulator* self) {
    Guarded([&] { Of(self).Step(); });
}

uint32_t RunSlice(IHC11Simulator* self, int32_t stopAddress, int32_t maxCycles,
                  int32_t milliseconds) {
    return Guarded<uint32_t>(
        0, [&] { return Of(self).RunSlice(stopAddress, maxCycles, milliseconds) ? 1u : 0u; });
}

void ClearBreakpoints(IHC11Simulator* self) {
    Of(self).ClearBreakpoints();
}
void SetBreakpoint(IHC11Simulator* self, uint32_t address) {
    Of(self).SetBreakpoint(address);
}

void Reset(IHC11Simulator* self) {
    Guarded([&] { Of(self).Reset(); });
}

void DriveLine(IHC11Simulator* self, uint32_t value) {
    Guarded([&] { Of(self).DriveLine(value); });
}

int32_t GetErrorStatus(IHC11Simulator* self) {
    return Of(self).GetErrorStatus();
}

} // extern "C"

const IHC11SimulatorMethods Methods = {
    .QueryInterface = SimulatorObject::QueryInterface,
    .AddRef = SimulatorObject::AddRef,
    .Release = SimulatorObject::Release,
    .GetName = GetName,
    .GetDescription = GetDescription,
    .GetErrorText = GetErrorText,
    .Reserved6 = Reserved,
    .Reserved7 = Reserved,
    .Reserved8 = Reserved,
    .Reserved9 = Reserved,
    .Reserved10 = Reserved,
    .Reserved11 = Reserved,
    .Reserved12 = Reserved,
    .Reserved13 = Reserved,
    .Reserved14 = Reserved,
    .Reserved15 = Reserved,
    .Reserved16 = Reserved,
    .Reserved17 = Reserved,
    .Reserved18 = Reserved,
    .Reserved19 = Reserved,
    .Reserved20 = Reserved,
    .RequestStop = RequestStop,
    .Reserved22 = Reserved,
    .Reserved23 = Reserved,
    .GetA = GetA,
    .Reserved25 = Reserved,
    .GetB = GetB,
    .SetD = SetD,
    .GetD = GetD,
    .SetCCR = SetCCR,
    .GetCCR = GetCCR,
    .SetX = SetX,
    .GetX = GetX,
    .SetY = SetY,
    .GetY = GetY,
    .SetPC = SetPC,
    .GetPC = GetPC,
    .SetSP = SetSP,
    .GetSP = GetSP,
    .SetEntryAddress = SetEntryAddress,
    .Reserved40 = Reserved,
    .Reserved41 = Reserved,
    .GetCycleCount = GetCycleCount,
    .Reserved43 = Reserved,
    .GetSpeedLimitKHz = GetSpeedLimitKHz,
    .GetMeasuredCycles = GetMeasuredCycles,
    .GetMeasuredMilliseconds = GetMeasuredMilliseconds,
    .SetSimulatedTime = SetSimulatedTime,
    .GetSimulatedTime = GetSimulatedTime,
    .ReadWord = ReadWord,
    .ReadByte = ReadByte,
    .WriteWord = WriteWord,
    .WriteByte = WriteByte,
    .LoadS19 = LoadS19,
    .AttachDevice = AttachDevice,
    .DetachDevice = DetachDevice,
    .WatchWrites = WatchWrites,
    .WatchReads = WatchReads,
    .Reserved58 = Reserved,
    .SetSpeedLimit = SetSpeedLimit,
    .Step = Step,
    .RunSlice = RunSlice,
    .ClearBreakpoints = ClearBreakpoints,
    .SetBreakpoint = SetBreakpoint,
    .Reserved64 = Reserved,
    .Reset = Reset,
    .DriveLine = DriveLine,
    .GetErrorStatus = GetErrorStatus,
};

// The library keeps one reference to each simulator it registered while it is loaded.
class Registry {
public:
    ~Registry() {
        for (IHC11Simulator* simulator : Simulators)
            SimulatorObject::Release(simulator);
    }
    IHC11Simulator* Create() {
        auto object = std::unique_ptr<SimulatorObject>(
            new SimulatorObject{{&Methods}, {1}, std::make_unique<SimulatorPlugin>()});
        const std::lock_guard<std::mutex> lock(Mutex);
        Simulators.push_back(&object->Face);
        return &object.release()->Face; // owned by its reference count from here on
    }

private:
    std::mutex Mutex;
    std::vector<IHC11Simulator*> Simulators;
};

Registry& Simulators() {
    static Registry registry;
    return registry;
}

} // namespace

} // namespace corvid

extern "C" __attribute__((visibility("default"))) void
RegisterHC11Simulator_Version1(corvid::SimulatorHost* host) {
    if (!host || !host->Methods)
        return;
    corvid::IHC11Simulator* simulator = nullptr;
    try {
        simulator = corvid::Simulators().Create();
    } catch (...) {
        return;
    }
    host->Methods->RegisterSimulator(host, simulator);
}
