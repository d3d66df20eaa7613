#pragma once

#include "devices/device.h"
#include "devices/port_pins.h"

#include <atomic>
#include <cstdint>
#include <string_view>

namespace corvid {

// Eight LEDs on the pins of a port, port B unless chosen otherwise: LED n is lit when bit n of
// the last byte written to the port's data register is 1, whether the program, the debugger
// or (on port A) the timer wrote it. After an attach and a reset they show the port as it
// reads then.
//
// Threads: the port's writes arrive on the simulator's thread; the rest is called from the
// user-interface thread.
class PortLeds final : public Device {
public:
    static constexpr std::string_view Ports = "ABCD";

    explicit PortLeds(HardwareLink link);

    uint8_t Lit() const { return Levels; }
    char Port() const { return PortLetter; }
    void SetPort(char port);

private:
    uint16_t PortAddress() const { return RegisterAddress(PortRegisterOffset(PortLetter)); }
    void FollowPort();
    void OnAttached() override { FollowPort(); }
    void OnReset() override;
    void OnMemoryWritten(uint16_t address, uint8_t value) override;
    void LoadOptions() override;
    void SaveOptions() const override;

    std::atomic<char> PortLetter = 'B';
    std::atomic<uint8_t> Levels = 0;
};

} // namespace corvid
