// The HardwareDevice table of C functions over a Device, with reference counting.

#include "devices/device_object.h"

#include "plugin_object.h"

#include <mutex>
#include <type_traits>
#include <vector>

namespace corvid {

namespace {

using DeviceObject = TPluginObject<HardwareDevice, Device>;
static_assert(std::is_standard_layout_v<DeviceObject>);

Device& Of(HardwareDevice* self) {
    return *DeviceObject::Of(self).Object;
}

extern "C" {

const char* GetName(HardwareDevice* self) {
    return Of(self).Name().c_str();
}

const char* GetDescription(HardwareDevice* self) {
    return Of(self).Description().c_str();
}

void Show(HardwareDevice* self) {
    Guarded([&] { Of(self).Show(); });
}

void Hide(HardwareDevice* self) {
    Guarded([&] { Of(self).Hide(); });
}

void MemoryWritten(HardwareDevice* self, uint32_t address, uint32_t value) {
    Guarded([&] {
        Of(self).MemoryWritten(static_cast<uint16_t>(address), static_cast<uint8_t>(value));
    });
}

int32_t MemoryRead(HardwareDevice*, uint32_t, uint32_t) {
    return CORVID_READ_UNCHANGED; // these devices sit on port pins, not on the bus
}

void SimulationAdvanced(HardwareDevice*, int64_t) {}

void Running(HardwareDevice* self, uint32_t running) {
    Guarded([&] { Of(self).Running(running != 0); });
}

void Reset(HardwareDevice* self) {
    Guarded([&] { Of(self).Reset(); });
}

void Attached(HardwareDevice* self) {
    Guarded([&] { Of(self).Attached(); });
}

void Detached(HardwareDevice* self) {
    Guarded([&] { Of(self).Detached(); });
}

void SaveSettings(HardwareDevice* self) {
    Guarded([&] { Of(self).SaveSettings(); });
}

} // extern "C"

const HardwareDeviceMethods Methods = {
    .QueryInterface = DeviceObject::QueryInterface,
    .AddRef = DeviceObject::AddRef,
    .Release = DeviceObject::Release,
    .GetName = GetName,
    .GetDescription = GetDescription,
    .Show = Show,
    .Hide = Hide,
    .MemoryWritten = MemoryWritten,
    .MemoryRead = MemoryRead,
    .SimulationAdvanced = SimulationAdvanced,
    .Running = Running,
    .Reset = Reset,
    .Attached = Attached,
    .Detached = Detached,
    .SaveSettings = SaveSettings,
};

// The library's own references. Deliberately never released nor destroyed (see the header);
// held through a pointer so that the objects stay reachable to leak checkers at exit.
class Registry {
public:
    void Keep(HardwareDevice* device) {
        const std::lock_guard<std::mutex> lock(Mutex);
        Devices.push_back(device);
    }

private:
    std::mutex Mutex;
    std::vector<HardwareDevice*> Devices;
};

Registry& Registered() {
    static Registry* registry = new Registry;
    return *registry;
}

} // namespace

void RegisterDevice(HardwareHost* host, const DeviceFactory& makeDevice) noexcept {
    if (!host || !host->Methods)
        return;
    HardwareDevice* device = nullptr;
    try {
        auto object = std::unique_ptr<DeviceObject>(new DeviceObject{{&Methods}, {1}, nullptr});
        object->Object = makeDevice(HardwareLink(host, &object->Face));
        if (!object->Object)
            return;
        Registered().Keep(&object->Face);
        device = &object.release()->Face; // owned by its reference count from here on
    } catch (...) {
        return;
    }
    host->Methods->RegisterDevice(host, device);
}

} // namespace corvid
