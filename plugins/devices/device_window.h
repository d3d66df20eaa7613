#pragma once

#include "devices/device.h"
#include "devices/device_object.h"
#include "devices/device_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <memory>

class QLabel;

namespace corvid {

// The window of a device: its content above a status line that tells whether the device is
// attached and whether the simulator runs. On its first showing it goes where the settings
// say, when that is on a screen. Redraws are requested from any thread and made on the
// user-interface thread, at most one waiting and at most one every MinimumInterval: a program
// that writes a port a million times a second must not keep the user-interface thread busy.
class DeviceWindow : public QWidget, public DeviceView {
public:
    static constexpr int MinimumInterval = 40; // milliseconds

    explicit DeviceWindow(const Device& device);

    void Show() override;
    void Hide() override;
    void ScheduleRefresh() override;
    WindowPlacement Placement() const override;

protected:
    // Where a window type puts its own widgets, above the status line.
    QWidget* Content() const { return Body; }
    // Shows the device's state in the content.
    virtual void Refresh() = 0;

private:
    void RefreshNow();
    void Place(const WindowPlacement& placement);

    const Device& Subject;
    QWidget* Body;
    QLabel* Status;
    QTimer RefreshTimer;
    QElapsedTimer SinceRefresh;
    std::atomic<bool> RefreshPending = false;
    bool Placed = false;
};

// Registers a new device of the given type with the host; its window is made at its first
// showing when there is an application to show it in. In a host without one (a command-line
// tool, a test without a display) the device works unseen.
template <class DeviceType, class Window>
void RegisterDeviceWithWindow(HardwareHost* host) noexcept {
    RegisterDevice(host, [](HardwareLink link) -> std::unique_ptr<Device> {
        auto device = std::make_unique<DeviceType>(link);
        device->SetViewFactory([&subject = *device]() -> std::unique_ptr<DeviceView> {
            if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
                return nullptr;
            return std::make_unique<Window>(subject);
        });
        return device;
    });
}

} // namespace corvid
