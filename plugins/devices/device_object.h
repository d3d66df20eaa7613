#pragma once

#include "corvid/plugin_abi.h"
#include "devices/device.h"
#include "devices/hardware_link.h"

#include <functional>
#include <memory>

namespace corvid {

using DeviceFactory = std::function<std::unique_ptr<Device>(HardwareLink link)>;

// Makes a HardwareDevice object around the device that makeDevice returns and offers it to
// the host (HardwareHost slot 3). The library keeps its own reference to every object it
// registers for the rest of the process: the host never unloads plug-ins, and a window must
// not be destroyed after the application object is gone. No exception leaves this call nor
// any slot of the object.
void RegisterDevice(HardwareHost* host, const DeviceFactory& makeDevice) noexcept;

} // namespace corvid
