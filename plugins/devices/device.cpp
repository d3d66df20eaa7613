#include "devices/device.h"

namespace corvid {

namespace {

// INIT moves the register block to the start of any 4 KB page.
uint16_t RegisterBlockOrDefault(int32_t stored) {
    if (stored < 0 || stored > 0xF000 || stored % 0x1000 != 0)
        return Device::DefaultRegisterBlock;
    return static_cast<uint16_t>(stored);
}

} // namespace

Device::Device(HardwareLink link, std::string name, std::string description)
    : Host(link), Caption(std::move(name)), Hint(std::move(description)) {}

Device::~Device() = default;

std::string Device::Key(std::string_view name) const {
    std::string key = "Hardware\\Devices\\" + Caption + "\\";
    key += name;
    return key;
}

// Settings are read at the first call that needs them rather than at registration: the host
// may look for plug-ins before it has read its configuration.
void Device::LoadSettings() {
    if (SettingsLoaded)
        return;
    SettingsLoaded = true;
    RegisterBlock =
        RegisterBlockOrDefault(Host.ReadInteger(Key("Register Block"), DefaultRegisterBlock));
    Placement.Left = Host.ReadInteger(Key("Left"), 0);
    Placement.Top = Host.ReadInteger(Key("Top"), 0);
    Placement.Width = Host.ReadInteger(Key("Width"), 0);
    Placement.Height = Host.ReadInteger(Key("Height"), 0);
    LoadOptions();
}

void Device::SaveSettings() {
    LoadSettings(); // a device never shown still keeps what the store holds
    if (View())
        Placement = View()->Placement();
    Host.WriteInteger(Key("Register Block"), RegisterBlock);
    Host.WriteInteger(Key("Left"), Placement.Left);
    Host.WriteInteger(Key("Top"), Placement.Top);
    Host.WriteInteger(Key("Width"), Placement.Width);
    Host.WriteInteger(Key("Height"), Placement.Height);
    SaveOptions();
}

void Device::Show() {
    LoadSettings();
    if (!OwnedView && MakeView) {
        OwnedView = MakeView();
        CurrentView = OwnedView.get();
    }
    if (View())
        View()->Show();
}

void Device::Hide() {
    if (View())
        View()->Hide();
}

void Device::MemoryWritten(uint16_t address, uint8_t value) {
    if (IsAttached())
        OnMemoryWritten(address, value);
}

void Device::Running(bool running) {
    if (!IsAttached())
        return;
    CurrentState = running ? DeviceState::Running : DeviceState::Stopped;
    RefreshView();
}

void Device::Reset() {
    if (!IsAttached())
        return;
    LoadSettings();
    OnReset();
    RefreshView();
}

void Device::Attached() {
    LoadSettings();
    CurrentState = DeviceState::Stopped;
    OnAttached();
    RefreshView();
}

// The simulator has ended this device's watches; what the device drove stays as it was.
void Device::Detached() {
    CurrentState = DeviceState::Detached;
    RefreshView();
}

void Device::RefreshView() const {
    if (View())
        View()->ScheduleRefresh();
}

} // namespace corvid
