// The simulator plug-in as the host sees it: the real shared library, loaded with dlopen and
// driven only through the C interface.

#include "corvid/plugin_abi.h"

#include "../support/plugin_test_host.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

extern "C" size_t CorvidAbiCSimulatorTableSize(void);
extern "C" size_t CorvidAbiCDeviceTableSize(void);
extern "C" size_t CorvidAbiCHardwareHostTableSize(void);
extern "C" size_t CorvidAbiCSimulatorHostTableSize(void);
extern "C" size_t CorvidAbiCRunSliceOffset(void);
extern "C" size_t CorvidAbiCInterfaceIdSize(void);

namespace corvid {
namespace {

using testing::S19Record;
using testing::TestSimulatorHost;

// A device as a device plug-in would be: it records what the simulator tells it.
struct TestDevice {
    HardwareDevice Interface;
    uint32_t References = 1;
    std::vector<std::pair<uint32_t, uint32_t>> Written;
    int32_t ReadAnswer = CORVID_READ_UNCHANGED;
    int Reads = 0;
    int64_t LastAdvance = -1;
};

TestDevice& Of(HardwareDevice* self) {
    return *reinterpret_cast<TestDevice*>(self);
}

extern "C" int32_t DeviceQueryInterface(HardwareDevice*, const CorvidInterfaceId*, void**) {
    return CORVID_E_NOINTERFACE;
}
extern "C" uint32_t DeviceAddRef(HardwareDevice* self) {
    return ++Of(self).References;
}
extern "C" uint32_t DeviceRelease(HardwareDevice* self) {
    return --Of(self).References;
}
extern "C" const char* DeviceName(HardwareDevice*) {
    return "Test device";
}
extern "C" void DeviceNothing(HardwareDevice*) {}
extern "C" void DeviceWritten(HardwareDevice* self, uint32_t address, uint32_t value) {
    Of(self).Written.emplace_back(address, value);
}
extern "C" int32_t DeviceRead(HardwareDevice* self, uint32_t, uint32_t) {
    ++Of(self).Reads;
    return Of(self).ReadAnswer;
}
extern "C" void DeviceAdvanced(HardwareDevice* self, int64_t cycles) {
    Of(self).LastAdvance = cycles;
}
extern "C" void DeviceRunning(HardwareDevice*, uint32_t) {}
const HardwareDeviceMethods DeviceMethods = {
    .QueryInterface = DeviceQueryInterface,
    .AddRef = DeviceAddRef,
    .Release = DeviceRelease,
    .GetName = DeviceName,
    .GetDescription = DeviceName,
    .Show = DeviceNothing,
    .Hide = DeviceNothing,
    .MemoryWritten = DeviceWritten,
    .MemoryRead = DeviceRead,
    .SimulationAdvanced = DeviceAdvanced,
    .Running = DeviceRunning,
    .Reset = DeviceNothing,
    .Attached = DeviceNothing,
    .Detached = DeviceNothing,
    .SaveSettings = DeviceNothing,
};

constexpr uint16_t Code = 0xE000;
constexpr uint16_t Done = Code + 0x11;
// LDS #$01FF ; LDAA #$12 ; LDAB #$34 ; STD $80 ; LDX #$1234 ; LDY #$5678 ; MUL ; done: BRA done
const std::vector<uint8_t> Program = {0x8E, 0x01, 0xFF, 0x86, 0x12, 0xC6, 0x34, 0xDD, 0x80, 0xCE,
                                      0x12, 0x34, 0x18, 0xCE, 0x56, 0x78, 0x3D, 0x20, 0xFE};
constexpr int64_t ProgramCycles = 3 + 2 + 2 + 4 + 3 + 4 + 10;

class SimulatorPluginTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Library = dlopen(CORVID_HC11SIM_PLUGIN, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(nullptr, Library) << dlerror();
    }

    void SetUp() override {
        ASSERT_NE(nullptr, Library);
        auto entry = reinterpret_cast<RegisterHC11SimulatorFunction>(
            dlsym(Library, CORVID_REGISTER_SIMULATOR_EXPORT));
        ASSERT_NE(nullptr, entry);
        entry(&Host.Interface);
        ASSERT_EQ(1u, Host.Registered.size());
        Sim = Host.Registered[0];
        M = Sim->Methods;
        Directory = std::filesystem::temp_directory_path() /
                    ("corvid_plugin_" + std::to_string(::getpid()) + "_" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(Directory);
    }

    void TearDown() override {
        if (Sim)
            M->Release(Sim);
        std::filesystem::remove_all(Directory);
    }

    std::string WriteFile(const std::string& name, const std::string& text) {
        const auto path = (Directory / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // Loads code the way the host does: entry address, reset, S19 file.
    void Load(uint16_t address, const std::vector<uint8_t>& code) {
        const std::string file = WriteFile("program.s19", S19Record(address, code) + "S9030000FC");
        M->SetEntryAddress(Sim, address);
        M->Reset(Sim);
        M->LoadS19(Sim, file.c_str());
        ASSERT_EQ(CORVID_SIM_ERROR_NONE, M->GetErrorStatus(Sim)) << M->GetErrorText(Sim);
    }

    TestDevice NewDevice() {
        TestDevice device;
        device.Interface.Methods = &DeviceMethods;
        return device;
    }

    static void* Library;
    TestSimulatorHost Host;
    IHC11Simulator* Sim = nullptr;
    const IHC11SimulatorMethods* M = nullptr;
    std::filesystem::path Directory;
};

void* SimulatorPluginTest::Library = nullptr;

TEST(PluginAbi, CAndCppSeeTheSameTables) {
    EXPECT_EQ(68 * sizeof(void*), sizeof(IHC11SimulatorMethods));
    EXPECT_EQ(15 * sizeof(void*), sizeof(HardwareDeviceMethods));
    EXPECT_EQ(22 * sizeof(void*), sizeof(HardwareHostMethods));
    EXPECT_EQ(sizeof(IHC11SimulatorMethods), CorvidAbiCSimulatorTableSize());
    EXPECT_EQ(sizeof(HardwareDeviceMethods), CorvidAbiCDeviceTableSize());
    EXPECT_EQ(sizeof(HardwareHostMethods), CorvidAbiCHardwareHostTableSize());
    EXPECT_EQ(sizeof(SimulatorHostMethods), CorvidAbiCSimulatorHostTableSize());
    EXPECT_EQ(offsetof(IHC11SimulatorMethods, RunSlice), CorvidAbiCRunSliceOffset());
    EXPECT_EQ(16u, CorvidAbiCInterfaceIdSize());
}

TEST_F(SimulatorPluginTest, RegistersOneSimulatorThroughTheSimulatorEntryOnly) {
    EXPECT_EQ(nullptr, dlsym(Library, CORVID_REGISTER_HARDWARE_DEVICE_EXPORT));
    EXPECT_STREQ("68HC11 Simulator", M->GetName(Sim));
    EXPECT_NE(std::string(), M->GetDescription(Sim));
    void* object = nullptr;
    EXPECT_EQ(CORVID_S_OK, M->QueryInterface(Sim, nullptr, &object));
    EXPECT_EQ(Sim, object);
    M->Release(Sim);
    CorvidInterfaceId other{};
    other.Bytes[0] = 1;
    EXPECT_EQ(CORVID_E_NOINTERFACE, M->QueryInterface(Sim, &other, &object));
    EXPECT_EQ(nullptr, object);
    EXPECT_EQ(3u, M->AddRef(Sim)); // the library's, the host's and this one
    EXPECT_EQ(2u, M->Release(Sim));
}

TEST_F(SimulatorPluginTest, RunsALoadedProgramToTheStopAddress) {
    Load(Code, Program);
    EXPECT_EQ(Code, M->GetPC(Sim));
    EXPECT_EQ(1u, M->RunSlice(Sim, Done, 0, 150));
    EXPECT_EQ(Done, M->GetPC(Sim));
    EXPECT_EQ(ProgramCycles, M->GetCycleCount(Sim));
    EXPECT_EQ(0x03A8u, M->GetD(Sim));
    EXPECT_EQ(0x03u, M->GetA(Sim));
    EXPECT_EQ(0xA8u, M->GetB(Sim));
    EXPECT_EQ(0x1234u, M->GetX(Sim));
    EXPECT_EQ(0x5678u, M->GetY(Sim));
    EXPECT_EQ(0x01FFu, M->GetSP(Sim));
    EXPECT_EQ(0x1234u, M->ReadWord(Sim, 0x0080));
    EXPECT_EQ(0x12u, M->ReadByte(Sim, 0x0080));
    EXPECT_DOUBLE_EQ(ProgramCycles / 2e6, M->GetSimulatedTime(Sim));
    EXPECT_EQ(CORVID_SIM_ERROR_NONE, M->GetErrorStatus(Sim));
}

TEST_F(SimulatorPluginTest, StepsOneInstructionAtATime) {
    Load(Code, Program);
    M->Step(Sim);
    EXPECT_EQ(Code + 3u, M->GetPC(Sim));
    EXPECT_EQ(3, M->GetCycleCount(Sim));
    M->Step(Sim);
    EXPECT_EQ(0x12u, M->GetA(Sim));
}

TEST_F(SimulatorPluginTest, RegistersAndMemoryAreWritable) {
    M->SetD(Sim, 0xBEEF);
    M->SetX(Sim, 0x1111);
    M->SetY(Sim, 0x2222);
    M->SetSP(Sim, 0x0100);
    M->SetPC(Sim, 0x1234F); // the low 16 bits
    M->SetCCR(Sim, 0x00);
    EXPECT_EQ(0xBEu, M->GetA(Sim));
    EXPECT_EQ(0xEFu, M->GetB(Sim));
    EXPECT_EQ(0x1111u, M->GetX(Sim));
    EXPECT_EQ(0x2222u, M->GetY(Sim));
    EXPECT_EQ(0x0100u, M->GetSP(Sim));
    EXPECT_EQ(0x234Fu, M->GetPC(Sim));
    EXPECT_EQ(0x00u, M->GetCCR(Sim));
    M->WriteWord(Sim, 0x4000, 0xCAFE, CORVID_WRITE_SOURCE_HOST);
    M->WriteByte(Sim, 0xD000, 0x55, CORVID_WRITE_SOURCE_HOST); // ROM too
    EXPECT_EQ(0xCAFEu, M->ReadWord(Sim, 0x4000));
    EXPECT_EQ(0x55u, M->ReadByte(Sim, 0xD000));
}

TEST_F(SimulatorPluginTest, ArrivingAtABreakpointEndsTheRunAndTheNextRunPassesIt) {
    Load(Code, Program);
    M->SetBreakpoint(Sim, Code + 7);
    EXPECT_EQ(0u, M->RunSlice(Sim, -1, 0, 150));
    EXPECT_EQ(Code + 7u, M->GetPC(Sim));
    EXPECT_EQ(1u, M->RunSlice(Sim, Done, 0, 150));
    EXPECT_EQ(Done, M->GetPC(Sim));
    M->ClearBreakpoints(Sim);
    M->Reset(Sim);
    EXPECT_EQ(1u, M->RunSlice(Sim, Done, 0, 150));
}

TEST_F(SimulatorPluginTest, SliceEndsOnItsCycleBoundOrItsTime) {
    Load(Code, {0x20, 0xFE}); // BRA *
    EXPECT_EQ(1u, M->RunSlice(Sim, -1, 1000, 10000));
    EXPECT_GE(M->GetCycleCount(Sim), 1000);
    EXPECT_LT(M->GetCycleCount(Sim), 1003);
    EXPECT_EQ(1u, M->RunSlice(Sim, -1, 0, 20));
    EXPECT_EQ(Code, M->GetPC(Sim));
}

TEST_F(SimulatorPluginTest, IllegalOpcodeEndsTheRunOnItWithStatus1) {
    Load(Code, {0x01, 0x01, 0x41, 0x01});
    EXPECT_EQ(0u, M->RunSlice(Sim, -1, 0, 150));
    EXPECT_EQ(CORVID_SIM_ERROR_ILLEGAL_OPCODE, M->GetErrorStatus(Sim));
    EXPECT_EQ(Code + 2u, M->GetPC(Sim));
    EXPECT_STREQ("Illegal opcode at $E002\n", M->GetErrorText(Sim));
    M->Step(Sim); // takes the trap, which the status reports again
    EXPECT_EQ(CORVID_SIM_ERROR_ILLEGAL_OPCODE, M->GetErrorStatus(Sim));
    EXPECT_EQ(0x00F7u, M->GetPC(Sim)); // the illegal-opcode entry of the jump table
}

TEST_F(SimulatorPluginTest, MalformedS19LoadsTheGoodRecordsAndReportsTheBadOnes) {
    const std::string file = WriteFile("bad.s19", S19Record(0x0100, {1, 2}) + "S1040200AA00\r\n" +
                                                      S19Record(0x0300, {3}));
    M->LoadS19(Sim, file.c_str());
    EXPECT_EQ(CORVID_SIM_ERROR_LOAD, M->GetErrorStatus(Sim));
    EXPECT_STREQ("Line 2: checksum is 00, expected 4F (S1040200AA00)\n", M->GetErrorText(Sim));
    EXPECT_EQ(0x0102u, M->ReadWord(Sim, 0x0100));
    EXPECT_EQ(3u, M->ReadByte(Sim, 0x0300));
    M->LoadS19(Sim, (Directory / "missing.s19").string().c_str());
    EXPECT_EQ(CORVID_SIM_ERROR_LOAD, M->GetErrorStatus(Sim));
    M->LoadS19(Sim, nullptr);
    EXPECT_EQ(CORVID_SIM_ERROR_LOAD, M->GetErrorStatus(Sim));
}

TEST_F(SimulatorPluginTest, SimulatedTimeFollowsTheCyclesAndCanBeMoved) {
    Load(Code, {0x20, 0xFE});
    M->RunSlice(Sim, -1, 2000, 1000);
    const double ran = static_cast<double>(M->GetCycleCount(Sim)) / 2e6;
    EXPECT_DOUBLE_EQ(ran, M->GetSimulatedTime(Sim));
    M->SetSimulatedTime(Sim, 10.0);
    EXPECT_DOUBLE_EQ(10.0, M->GetSimulatedTime(Sim));
    M->Reset(Sim);
    EXPECT_DOUBLE_EQ(0.0, M->GetSimulatedTime(Sim));
    EXPECT_EQ(0, M->GetCycleCount(Sim));
}

TEST_F(SimulatorPluginTest, SpeedLimitIsReportedInKilohertz) {
    EXPECT_EQ(0, M->GetSpeedLimitKHz(Sim));
    M->SetSpeedLimit(Sim, 2.0);
    EXPECT_EQ(2000, M->GetSpeedLimitKHz(Sim));
    M->SetSpeedLimit(Sim, 0.0);
    EXPECT_EQ(0, M->GetSpeedLimitKHz(Sim));
}

TEST_F(SimulatorPluginTest, SpeedMeasurementCoversTheSlicesRun) {
    Load(Code, {0x20, 0xFE});
    EXPECT_EQ(0, M->GetMeasuredMilliseconds(Sim));
    for (int slice = 0; slice < 4; ++slice)
        M->RunSlice(Sim, -1, 0, 40);
    EXPECT_GT(M->GetMeasuredMilliseconds(Sim), 0);
    EXPECT_GT(M->GetMeasuredCycles(Sim), 0);
}

TEST_F(SimulatorPluginTest, StopRequestEndsTheNextSlice) {
    Load(Code, {0x20, 0xFE});
    M->RequestStop(Sim, 1);
    EXPECT_EQ(0u, M->RunSlice(Sim, -1, 0, 150));
    EXPECT_EQ(1u, M->RunSlice(Sim, -1, 100, 150)); // the request was used up
    M->RequestStop(Sim, 1);
    M->RequestStop(Sim, 0);
    EXPECT_EQ(1u, M->RunSlice(Sim, -1, 100, 150));
}

TEST_F(SimulatorPluginTest, IrqLineFromADeviceInterruptsTheProgram) {
    M->WriteWord(Sim, 0xFFF2, 0x3000, CORVID_WRITE_SOURCE_HOST);
    Load(Code, {0x0E, 0x20, 0xFE}); // CLI ; BRA *
    M->RunSlice(Sim, -1, 100, 150);
    M->DriveLine(Sim, CORVID_LINE_IRQ << 8 | 0);
    M->RunSlice(Sim, 0x3000, 100, 150);
    EXPECT_EQ(0x3000u, M->GetPC(Sim));
}

TEST_F(SimulatorPluginTest, AnalogLinesSetTheLevelsOfPortE) {
    M->DriveLine(Sim, (CORVID_LINE_ANALOG0 + 2) << 8 | 0x99);
    M->DriveLine(Sim, (CORVID_LINE_ANALOG0 + 5) << 8 | 0x7F);
    EXPECT_EQ(0x04u, M->ReadByte(Sim, 0x100A));
}

TEST_F(SimulatorPluginTest, LedDeviceIsToldOfPortBWritesByProgramAndHost) {
    TestDevice leds = NewDevice();
    M->AttachDevice(Sim, &leds.Interface);
    EXPECT_EQ(2u, leds.References);
    M->WatchWrites(Sim, 0x1004, &leds.Interface);
    Load(Code, {0x86, 0x81, 0xB7, 0x10, 0x04, 0x20, 0xFE}); // LDAA #$81 ; STAA PORTB
    M->RunSlice(Sim, -1, 100, 150);
    M->WriteByte(Sim, 0x1004, 0x18, CORVID_WRITE_SOURCE_HOST);
    ASSERT_EQ(2u, leds.Written.size());
    EXPECT_EQ(std::make_pair(0x1004u, 0x81u), leds.Written[0]);
    EXPECT_EQ(std::make_pair(0x1004u, 0x18u), leds.Written[1]);
    EXPECT_EQ(M->GetCycleCount(Sim), leds.LastAdvance);
    M->DetachDevice(Sim, &leds.Interface);
    EXPECT_EQ(1u, leds.References);
    M->WriteByte(Sim, 0x1004, 0x00, CORVID_WRITE_SOURCE_HOST);
    EXPECT_EQ(2u, leds.Written.size());
}

TEST_F(SimulatorPluginTest, SwitchDeviceDrivesPortEPins) {
    TestDevice switches = NewDevice();
    M->AttachDevice(Sim, &switches.Interface);
    Load(Code, {0xB6, 0x10, 0x0A, 0x97, 0x80, 0x20, 0xFE}); // LDAA PORTE ; STAA $80
    M->WriteByte(Sim, 0x100A, 0x5A, &switches.Interface);
    M->RunSlice(Sim, -1, 100, 150);
    EXPECT_EQ(0x5Au, M->ReadByte(Sim, 0x0080));
    M->DetachDevice(Sim, &switches.Interface);
}

TEST_F(SimulatorPluginTest, TerminalDeviceTalksToAnEchoProgramOverTheSci) {
    TestDevice terminal = NewDevice();
    M->AttachDevice(Sim, &terminal.Interface);
    M->WatchWrites(Sim, 0x102F, &terminal.Interface);
    Load(
        Code, {0x8E, 0x01, 0xFF, 0xCE, 0x10, 0x00, 0x86, 0x30, 0xA7, 0x2B,
               0x86, 0x0C, 0xA7, 0x2D, 0x1F, 0x2E, 0x20, 0xFC, 0xA6, 0x2F,
               0x1F, 0x2E, 0x80, 0xFC, 0xA7, 0x2F, 0x20, 0xF2}); // the polled echo of the SCI tests
    M->RunSlice(Sim, -1, 100, 150);
    M->WriteByte(Sim, 0x102F, 'H', &terminal.Interface);
    M->WriteByte(Sim, 0x102F, 'I', &terminal.Interface);
    M->RunSlice(Sim, -1, 20000, 1000);
    ASSERT_EQ(2u, terminal.Written.size());
    EXPECT_EQ(std::make_pair(0x102Fu, uint32_t{'H'}), terminal.Written[0]);
    EXPECT_EQ(std::make_pair(0x102Fu, uint32_t{'I'}), terminal.Written[1]);
    M->DetachDevice(Sim, &terminal.Interface);
}

TEST_F(SimulatorPluginTest, BusDeviceAnswersTheProgramsReads) {
    TestDevice bus = NewDevice();
    bus.ReadAnswer = 0x77;
    M->AttachDevice(Sim, &bus.Interface);
    M->WatchReads(Sim, 0x6000, &bus.Interface);
    Load(Code, {0xB6, 0x60, 0x00, 0x20, 0xFE}); // LDAA $6000
    M->Step(Sim);
    EXPECT_EQ(0x77u, M->GetA(Sim));
    EXPECT_EQ(1, bus.Reads);
    EXPECT_EQ(0x00u, M->ReadByte(Sim, 0x6000)); // the debugger's read asks nobody
    EXPECT_EQ(1, bus.Reads);
    M->DetachDevice(Sim, &bus.Interface);
}

TEST_F(SimulatorPluginTest, AttachingMoreThanTheTableHoldsIsStatus3) {
    std::vector<TestDevice> devices(33, NewDevice());
    for (size_t i = 0; i < 32; ++i)
        M->AttachDevice(Sim, &devices[i].Interface);
    EXPECT_EQ(CORVID_SIM_ERROR_NONE, M->GetErrorStatus(Sim));
    M->AttachDevice(Sim, &devices[32].Interface);
    EXPECT_EQ(CORVID_SIM_ERROR_TOO_MANY_DEVICES, M->GetErrorStatus(Sim));
    EXPECT_EQ(1u, devices[32].References);
    for (TestDevice& device : devices)
        M->DetachDevice(Sim, &device.Interface);
    EXPECT_EQ(1u, devices[0].References);
}

// The run thread drives slices while the user-interface thread reads and writes, as during
// a run; nothing may tear or deadlock.
TEST_F(SimulatorPluginTest, TakesCallsFromTwoThreadsDuringARun) {
    Load(Code, {0x08, 0x20, 0xFD}); // INX ; BRA
    std::atomic<bool> running = true;
    std::thread runThread([&] {
        for (int slice = 0; slice < 20; ++slice) {
            M->RunSlice(Sim, -1, 0, 5);
            M->GetPC(Sim);
            M->SetSimulatedTime(Sim, M->GetSimulatedTime(Sim));
        }
        running = false;
    });
    int refreshes = 0;
    while (running) {
        const uint32_t pc = M->GetPC(Sim);
        EXPECT_TRUE(pc == Code || pc == Code + 1) << pc;
        M->ReadByte(Sim, 0x1000 + refreshes % 64);
        M->WriteByte(Sim, 0x0080, refreshes, CORVID_WRITE_SOURCE_HOST);
        M->GetCycleCount(Sim);
        ++refreshes;
    }
    runThread.join();
    EXPECT_GT(refreshes, 0);
    EXPECT_GT(M->GetX(Sim), 0u);
}

} // namespace
} // namespace corvid
