#pragma once

#include "devices/device_window.h"
#include "devices/port_leds.h"

#include <array>

class QComboBox;
class QLabel;

namespace corvid {

// One round LED; its "lit" property says whether it is on.
class LedLamp : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool lit READ IsLit)

public:
    explicit LedLamp(QWidget* parent);

    bool IsLit() const { return Lit; }
    void SetLit(bool lit);
    QSize sizeHint() const override { return {22, 22}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool Lit = false;
};

// The LEDs of the port, bit 7 at the left, each above the name of its pin (the lamps' object
// names are "bit0" to "bit7", the names' "pin0" to "pin7"), and a choice of port.
class LedWindow final : public DeviceWindow {
public:
    explicit LedWindow(PortLeds& leds);

protected:
    void Refresh() override;

private:
    PortLeds& Leds;
    QComboBox* PortChoice;
    std::array<LedLamp*, 8> Lamps{};
    std::array<QLabel*, 8> PinLabels{};
};

} // namespace corvid
