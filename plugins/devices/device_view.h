#pragma once

#include <functional>
#include <memory>

namespace corvid {

// Where a device's window was, as stored in the settings. A placement without a size is
// unknown: the window manager places the window.
struct WindowPlacement {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    bool Known() const { return Width > 0 && Height > 0; }
};

// A device's window as the device's logic sees it. Calls come from the user-interface thread,
// except ScheduleRefresh, which may come from any thread and returns at once.
class DeviceView {
public:
    virtual ~DeviceView() = default;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    // Redraws from the device's state soon, on the user-interface thread.
    virtual void ScheduleRefresh() = 0;
    // The window's geometry now (the stored one while it has never been shown).
    virtual WindowPlacement Placement() const = 0;
};

using ViewFactory = std::function<std::unique_ptr<DeviceView>()>;

} // namespace corvid
