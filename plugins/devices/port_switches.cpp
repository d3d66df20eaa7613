#include "devices/port_switches.h"

namespace corvid {

PortSwitches::PortSwitches(HardwareLink link)
    : Device(link, "Port Switches", "Eight switches on the input pins of a port") {}

void PortSwitches::LoadOptions() {
    PortLetter = PortOrDefault(Link().ReadText(Key("Port"), "E"), Ports, 'E');
    const int32_t levels = Link().ReadInteger(Key("Levels"), 0);
    Positions = levels >= 0 && levels <= 0xFF ? static_cast<uint8_t>(levels) : 0;
}

void PortSwitches::SaveOptions() const {
    Link().WriteText(Key("Port"), std::string(1, PortLetter));
    Link().WriteInteger(Key("Levels"), Positions);
}

void PortSwitches::SetSwitch(int bit, bool on) {
    if (bit < 0 || bit > 7)
        return;
    const auto mask = static_cast<uint8_t>(1u << bit);
    Positions = static_cast<uint8_t>(on ? Positions | mask : Positions & ~mask);
    Drive(Positions);
    RefreshView();
}

// The switches leave the old port's pins low, as if their wires were moved.
void PortSwitches::SetPort(char port) {
    if (port == PortLetter || Ports.find(port) == std::string_view::npos)
        return;
    Drive(0);
    PortLetter = port;
    Drive(Positions);
    RefreshView();
}

// A write from an attached device to a port's data register sets the levels on its pins.
void PortSwitches::Drive(uint8_t levels) const {
    if (IsAttached())
        Link().WriteByte(PortAddress(), levels);
}

} // namespace corvid
