#pragma once

#include "devices/device.h"
#include "devices/terminal_screen.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace corvid {

// A terminal on the SCI's serial line: it shows each byte the program transmits once the
// byte has left the SCI, and sends what the user types to the SCI's receiver, where the bytes
// arrive one frame time apart at the SCI's baud rate. With local echo on, it also shows what
// is typed. Nothing is sent while the terminal is detached, and a reset of the chip leaves the
// screen as it is, as a real terminal would.
//
// Threads: transmitted bytes arrive on the simulator's thread; the rest is called from the
// user-interface thread.
class SciTerminal final : public Device {
public:
    explicit SciTerminal(HardwareLink link);

    void Type(std::string_view bytes);
    bool LocalEcho() const { return Echo; }
    void SetLocalEcho(bool on) { Echo = on; }
    void Clear();

    // What the terminal shows, and a count that changes whenever that text does.
    std::string Text() const;
    uint64_t Version() const;

private:
    uint16_t DataRegister() const;
    void Show(uint8_t byte);
    void OnAttached() override;
    void OnMemoryWritten(uint16_t address, uint8_t value) override;
    void LoadOptions() override;
    void SaveOptions() const override;

    bool Echo = false;
    mutable std::mutex Mutex; // guards Screen and Changes
    TerminalScreen Screen;
    uint64_t Changes = 0;
};

} // namespace corvid
