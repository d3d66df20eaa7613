#pragma once

#include "devices/device.h"
#include "devices/port_pins.h"

#include <cstdint>
#include <string_view>

namespace corvid {

// Eight switches wired to the input pins of a port: switch n on puts a high level on pin n.
// Port E is the default: it is input only and free on the evaluation boards, so a student's
// program reads the switches with a plain LDAA PORTE and no data direction register to set
// (port D carries the monitor's serial line). Port C (the pins whose DDRC bit is 0), port A
// (PA0-PA2 and PA7, with their input captures) and port D are offered too.
//
// The switches keep their positions in the settings, like real ones on a board, and put them
// on the pins again after an attach and a reset. Detached, the pins keep the last levels
// driven. Threads: user-interface thread only.
class PortSwitches final : public Device {
public:
    static constexpr std::string_view Ports = "EACD";

    explicit PortSwitches(HardwareLink link);

    uint8_t Levels() const { return Positions; }
    void SetSwitch(int bit, bool on);
    char Port() const { return PortLetter; }
    void SetPort(char port);

private:
    uint16_t PortAddress() const { return RegisterAddress(PortRegisterOffset(PortLetter)); }
    void Drive(uint8_t levels) const;
    void OnAttached() override { Drive(Positions); }
    void OnReset() override { Drive(Positions); }
    void OnMemoryWritten(uint16_t, uint8_t) override {}
    void LoadOptions() override;
    void SaveOptions() const override;

    char PortLetter = 'E';
    uint8_t Positions = 0;
};

} // namespace corvid
