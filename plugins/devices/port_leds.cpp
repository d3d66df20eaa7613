#include "devices/port_leds.h"

namespace corvid {

PortLeds::PortLeds(HardwareLink link)
    : Device(link, "Port LEDs", "Eight LEDs that show what the program writes to a port") {}

void PortLeds::LoadOptions() {
    PortLetter = PortOrDefault(Link().ReadText(Key("Port"), "B"), Ports, 'B');
}

void PortLeds::SaveOptions() const {
    Link().WriteText(Key("Port"), std::string(1, PortLetter));
}

void PortLeds::SetPort(char port) {
    if (port == PortLetter || Ports.find(port) == std::string_view::npos)
        return;
    PortLetter = port;
    if (IsAttached())
        FollowPort();
    RefreshView();
}

// The simulator offers no way to end a single watch: the watch on a port left behind stays
// until the device is detached, and its writes are ignored.
void PortLeds::FollowPort() {
    Link().WatchWrites(PortAddress());
    Levels = Link().ReadByte(PortAddress());
}

void PortLeds::OnReset() {
    Levels = Link().ReadByte(PortAddress());
}

void PortLeds::OnMemoryWritten(uint16_t address, uint8_t value) {
    if (address != PortAddress())
        return;
    Levels = value;
    RefreshView();
}

} // namespace corvid
