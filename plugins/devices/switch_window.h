#pragma once

#include "devices/device_window.h"
#include "devices/port_switches.h"

#include <array>

class QComboBox;
class QToolButton;

namespace corvid {

// The switches of the port, bit 7 at the left, as buttons that stay down while a switch is on
// ("bit0" to "bit7" are their object names), and a choice of port.
class SwitchWindow final : public DeviceWindow {
public:
    explicit SwitchWindow(PortSwitches& switches);

protected:
    void Refresh() override;

private:
    PortSwitches& Switches;
    QComboBox* PortChoice;
    std::array<QToolButton*, 8> Buttons{};
};

} // namespace corvid
