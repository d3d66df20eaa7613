#pragma once

// The IDE's side of the hardware-device plug-ins, small, as the board window implements it:
// one simulator is the active one, devices are attached and detached with the host's order
// of calls, settings live in a store in memory, and the windows that devices show are found
// among the application's top-level widgets.

#include "corvid/plugin_abi.h"

#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace corvid::testing {

class TestHardwareHost {
public:
    using Store = std::map<std::string, std::string>;

    explicit TestHardwareHost(IHC11Simulator* simulator, Store settings = {});
    ~TestHardwareHost();
    TestHardwareHost(const TestHardwareHost&) = delete;
    TestHardwareHost& operator=(const TestHardwareHost&) = delete;

    // Calls the library's device entry point and returns the one device it registered.
    HardwareDevice* Register(void* library);

    // Simulator slot 54, then device slots 12 and 5; and simulator 55, device 13 and 6.
    void Attach(HardwareDevice* device);
    void Detach(HardwareDevice* device);
    // Device slot 5 alone; the window it shows first is the device's window.
    void Show(HardwareDevice* device);
    QWidget* WindowOf(HardwareDevice* device) const;

    // As the debugger does: entry address, reset, S19 file, then the devices' reset.
    void Load(uint16_t address, const std::vector<uint8_t>& code);
    void Reset();
    // One instruction, or one run slice, with the devices told that the simulator runs.
    void Step();
    void Run(int32_t maxCycles);
    void NotifyRunning(bool running);
    void SaveSettings();

    IHC11Simulator* Simulator() const { return Sim; }
    Store Settings;

private:
    struct Interface {
        HardwareHost Host; // first: the plug-in's pointer is this object's
        TestHardwareHost* Owner;
    };
    friend struct HardwareHostSlots;

    IHC11Simulator* Sim;
    Interface Face;
    std::vector<HardwareDevice*> Registered;
    std::vector<HardwareDevice*> Attached;
    std::map<HardwareDevice*, QWidget*> Windows;
    std::filesystem::path Directory;
};

void ProcessEventsBriefly();
inline constexpr int EventRounds = 500; // about five seconds

// Lets the application process its events (the devices' windows redraw on a short timer)
// until read() gives the expected value or time is up; returns the last value read.
template <class Read>
auto Eventually(Read read, decltype(read()) expected) {
    auto value = read();
    for (int round = 0; value != expected && round < EventRounds; ++round) {
        ProcessEventsBriefly();
        value = read();
    }
    return value;
}

} // namespace corvid::testing
