#include "device_test_host.h"

#include "../support/plugin_test_host.h"

#include <QApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <set>

namespace corvid::testing {

void ProcessEventsBriefly() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QThread::msleep(10);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// The HardwareHost table: each slot finds its host through the interface it was given.
struct HardwareHostSlots {
    static TestHardwareHost& Of(HardwareHost* self) {
        return *reinterpret_cast<TestHardwareHost::Interface*>(self)->Owner;
    }
    static IHC11Simulator* Sim(HardwareHost* self) { return Of(self).Sim; }
    static void Keep(HardwareHost* self, HardwareDevice* device) {
        device->Methods->AddRef(device);
        Of(self).Registered.push_back(device);
    }
    static void Forget(HardwareHost* self, HardwareDevice* device) {
        std::erase(Of(self).Attached, device);
    }
    static std::string& Value(HardwareHost* self, const char* key, const std::string& fallback) {
        return Of(self).Settings.try_emplace(key ? key : "", fallback).first->second;
    }
};

namespace {

using Slots = HardwareHostSlots;

template <class Number>
bool ParseWhole(const std::string& text, Number& number) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    return error == std::errc() && stop == end && !text.empty();
}

extern "C" {

int32_t HostQueryInterface(HardwareHost*, const CorvidInterfaceId*, void**) {
    return CORVID_E_NOINTERFACE;
}
uint32_t HostCount(HardwareHost*) {
    return 1;
}
void HostRegisterDevice(HardwareHost* self, HardwareDevice* device) {
    Slots::Keep(self, device);
}
void HostDetachDevice(HardwareHost* self, HardwareDevice* device) {
    Slots::Sim(self)->Methods->DetachDevice(Slots::Sim(self), device);
    Slots::Forget(self, device);
}
void HostWatchWrites(HardwareHost* self, uint32_t address, HardwareDevice* device) {
    Slots::Sim(self)->Methods->WatchWrites(Slots::Sim(self), address, device);
}
void HostWatchReads(HardwareHost* self, uint32_t address, HardwareDevice* device) {
    Slots::Sim(self)->Methods->WatchReads(Slots::Sim(self), address, device);
}
void HostWriteByte(HardwareHost* self, uint32_t address, uint32_t value, HardwareDevice* device) {
    Slots::Sim(self)->Methods->WriteByte(Slots::Sim(self), address, value, device);
}
uint32_t HostReadByte(HardwareHost* self, uint32_t address) {
    return Slots::Sim(self)->Methods->ReadByte(Slots::Sim(self), address);
}
void HostWriteWord(HardwareHost* self, uint32_t address, uint32_t value, HardwareDevice* device) {
    Slots::Sim(self)->Methods->WriteWord(Slots::Sim(self), address, value, device);
}
uint32_t HostReadWord(HardwareHost* self, uint32_t address) {
    return Slots::Sim(self)->Methods->ReadWord(Slots::Sim(self), address);
}
int64_t HostGetCycleCount(HardwareHost* self) {
    return Slots::Sim(self)->Methods->GetCycleCount(Slots::Sim(self));
}
void HostDriveLine(HardwareHost* self, uint32_t value) {
    Slots::Sim(self)->Methods->DriveLine(Slots::Sim(self), value);
}
double HostGetSimulatedTime(HardwareHost* self) {
    return Slots::Sim(self)->Methods->GetSimulatedTime(Slots::Sim(self));
}
void HostRequestStop(HardwareHost* self) {
    Slots::Sim(self)->Methods->RequestStop(Slots::Sim(self), 1);
}
void HostReserved15(HardwareHost*, uint32_t, uint32_t) {}
void HostWriteText(HardwareHost* self, const char* key, const char* value) {
    Slots::Value(self, key, "") = value ? value : "";
}
const char* HostReadText(HardwareHost* self, const char* key, const char* defaultValue) {
    return Slots::Value(self, key, defaultValue ? defaultValue : "").c_str();
}
int32_t HostReadInteger(HardwareHost* self, const char* key, int32_t defaultValue) {
    int32_t value = 0;
    return ParseWhole(Slots::Value(self, key, std::to_string(defaultValue)), value) ? value
                                                                                    : defaultValue;
}
void HostWriteInteger(HardwareHost* self, const char* key, int32_t value) {
    Slots::Value(self, key, "") = std::to_string(value);
}
double HostReadFloat(HardwareHost* self, const char* key, double defaultValue) {
    double value = 0;
    return ParseWhole(Slots::Value(self, key, std::to_string(defaultValue)), value) ? value
                                                                                    : defaultValue;
}
void HostWriteFloat(HardwareHost* self, const char* key, double value) {
    Slots::Value(self, key, "") = std::to_string(value);
}

} // extern "C"

const HardwareHostMethods HostMethods = {
    .QueryInterface = HostQueryInterface,
    .AddRef = HostCount,
    .Release = HostCount,
    .RegisterDevice = HostRegisterDevice,
    .DetachDevice = HostDetachDevice,
    .WatchWrites = HostWatchWrites,
    .WatchReads = HostWatchReads,
    .WriteByte = HostWriteByte,
    .ReadByte = HostReadByte,
    .WriteWord = HostWriteWord,
    .ReadWord = HostReadWord,
    .GetCycleCount = HostGetCycleCount,
    .DriveLine = HostDriveLine,
    .GetSimulatedTime = HostGetSimulatedTime,
    .RequestStop = HostRequestStop,
    .Reserved15 = HostReserved15,
    .WriteText = HostWriteText,
    .ReadText = HostReadText,
    .ReadInteger = HostReadInteger,
    .WriteInteger = HostWriteInteger,
    .ReadFloat = HostReadFloat,
    .WriteFloat = HostWriteFloat,
};

std::filesystem::path NewDirectory() {
    static int count = 0;
    auto directory =
        std::filesystem::temp_directory_path() /
        ("corvid_devices_" + std::to_string(::getpid()) + "_" + std::to_string(++count));
    std::filesystem::create_directories(directory);
    return directory;
}

} // namespace

TestHardwareHost::TestHardwareHost(IHC11Simulator* simulator, Store settings)
    : Settings(std::move(settings)), Sim(simulator), Face{{&HostMethods}, this},
      Directory(NewDirectory()) {}

TestHardwareHost::~TestHardwareHost() {
    while (!Attached.empty())
        Detach(Attached.back());
    for (HardwareDevice* device : Registered)
        device->Methods->Release(device);
    std::filesystem::remove_all(Directory);
}

HardwareDevice* TestHardwareHost::Register(void* library) {
    const auto entry = reinterpret_cast<RegisterHC11HardwareDeviceFunction>(
        dlsym(library, CORVID_REGISTER_HARDWARE_DEVICE_EXPORT));
    if (!entry)
        return nullptr;
    const size_t before = Registered.size();
    entry(&Face.Host);
    return Registered.size() == before + 1 ? Registered.back() : nullptr;
}

void TestHardwareHost::Attach(HardwareDevice* device) {
    Sim->Methods->AttachDevice(Sim, device);
    device->Methods->Attached(device);
    Show(device);
    Attached.push_back(device);
}

void TestHardwareHost::Detach(HardwareDevice* device) {
    Sim->Methods->DetachDevice(Sim, device);
    device->Methods->Detached(device);
    device->Methods->Hide(device);
    std::erase(Attached, device);
}

void TestHardwareHost::Show(HardwareDevice* device) {
    const QWidgetList before = QApplication::topLevelWidgets();
    device->Methods->Show(device);
    if (Windows.count(device))
        return;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && !before.contains(widget))
            Windows[device] = widget;
}

QWidget* TestHardwareHost::WindowOf(HardwareDevice* device) const {
    const auto found = Windows.find(device);
    return found == Windows.end() ? nullptr : found->second;
}

void TestHardwareHost::Load(uint16_t address, const std::vector<uint8_t>& code) {
    const auto file = (Directory / "program.s19").string();
    std::ofstream(file, std::ios::binary) << S19Record(address, code) << "S9030000FC\r\n";
    Sim->Methods->SetEntryAddress(Sim, address);
    Sim->Methods->Reset(Sim);
    Sim->Methods->LoadS19(Sim, file.c_str());
    ASSERT_EQ(CORVID_SIM_ERROR_NONE, Sim->Methods->GetErrorStatus(Sim))
        << Sim->Methods->GetErrorText(Sim);
    for (HardwareDevice* device : Attached)
        device->Methods->Reset(device);
}

void TestHardwareHost::Reset() {
    Sim->Methods->Reset(Sim);
    for (HardwareDevice* device : Attached)
        device->Methods->Reset(device);
}

void TestHardwareHost::NotifyRunning(bool running) {
    for (HardwareDevice* device : Attached)
        device->Methods->Running(device, running ? 1 : 0);
}

void TestHardwareHost::Step() {
    NotifyRunning(true);
    Sim->Methods->Step(Sim);
    NotifyRunning(false);
}

void TestHardwareHost::Run(int32_t maxCycles) {
    NotifyRunning(true);
    Sim->Methods->RunSlice(Sim, CORVID_NO_STOP_ADDRESS, maxCycles, 5000);
    NotifyRunning(false);
}

void TestHardwareHost::SaveSettings() {
    for (HardwareDevice* device : Attached)
        device->Methods->SaveSettings(device);
}

} // namespace corvid::testing
