// The library's entry point.

#include "devices/switch_window.h"

extern "C" __attribute__((visibility("default"))) void
RegisterHC11HardwareDevice_Version1(corvid::HardwareHost* host) {
    corvid::RegisterDeviceWithWindow<corvid::PortSwitches, corvid::SwitchWindow>(host);
}
