#pragma once

#include "devices/device_view.h"
#include "devices/hardware_link.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace corvid {

enum class DeviceState : uint8_t { Detached, Stopped, Running };

// What Corvid's hardware devices share behind the HardwareDevice slots: whether the device is
// attached and running, its settings in the host's store (keys "Hardware\Devices\<name>\..."),
// the address of the register block it talks to, its window, and when that window is redrawn.
// A device type adds what it does on the bus through the On... hooks and its own options.
//
// Threads: the host calls the slots from its user-interface thread, except MemoryWritten,
// which comes from the thread running the simulator (the run thread during a run) while the
// simulator is busy: it must not wait for the user-interface thread.
class Device {
public:
    static constexpr uint16_t DefaultRegisterBlock = 0x1000; // where a reset puts it

    Device(HardwareLink link, std::string name, std::string description);
    virtual ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    const std::string& Name() const { return Caption; }
    const std::string& Description() const { return Hint; }
    DeviceState State() const { return CurrentState; }
    // Where the window was when the settings were last read or written.
    WindowPlacement StoredPlacement() const { return Placement; }

    // The window is made at the first Show; without a factory the device works unseen.
    void SetViewFactory(ViewFactory factory) { MakeView = std::move(factory); }

    // The HardwareDevice slots 5 to 14 but 8 and 9: none of these devices sits on the bus, and
    // their windows redraw on their own clock rather than once a run slice.
    void Show();
    void Hide();
    void MemoryWritten(uint16_t address, uint8_t value);
    void Running(bool running);
    void Reset();
    void Attached();
    void Detached();
    void SaveSettings();

protected:
    const HardwareLink& Link() const { return Host; }
    bool IsAttached() const { return State() != DeviceState::Detached; }
    uint16_t RegisterAddress(uint8_t offset) const {
        return static_cast<uint16_t>(RegisterBlock + offset);
    }
    std::string Key(std::string_view name) const;

    // The state changed: the window redraws soon (from any thread).
    void RefreshView() const;

    virtual void OnAttached() {}
    virtual void OnReset() {}
    virtual void OnMemoryWritten(uint16_t address, uint8_t value) = 0;
    virtual void LoadOptions() {}
    virtual void SaveOptions() const {}

private:
    DeviceView* View() const { return CurrentView; }
    void LoadSettings();

    HardwareLink Host;
    const std::string Caption;
    const std::string Hint;
    std::atomic<DeviceState> CurrentState = DeviceState::Detached;
    bool SettingsLoaded = false;
    uint16_t RegisterBlock = DefaultRegisterBlock;
    WindowPlacement Placement;
    ViewFactory MakeView;
    std::unique_ptr<DeviceView> OwnedView;
    std::atomic<DeviceView*> CurrentView = nullptr; // read from the simulator's thread
};

} // namespace corvid
