// The library's entry point.

#include "devices/terminal_window.h"

extern "C" __attribute__((visibility("default"))) void
RegisterHC11HardwareDevice_Version1(corvid::HardwareHost* host) {
    corvid::RegisterDeviceWithWindow<corvid::SciTerminal, corvid::TerminalWindow>(host);
}
