// The library's entry point.

#include "devices/led_window.h"

extern "C" __attribute__((visibility("default"))) void
RegisterHC11HardwareDevice_Version1(corvid::HardwareHost* host) {
    corvid::RegisterDeviceWithWindow<corvid::PortLeds, corvid::LedWindow>(host);
}
