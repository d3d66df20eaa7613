#include "devices/switch_window.h"

#include "devices/port_pins.h"

#include <QComboBox>
#include <QGridLayout>
#include <QToolButton>

namespace corvid {

SwitchWindow::SwitchWindow(PortSwitches& switches)
    : DeviceWindow(switches), Switches(switches), PortChoice(new QComboBox(Content())) {
    PortChoice->setObjectName(QStringLiteral("port"));
    for (char port : PortSwitches::Ports)
        PortChoice->addItem(QStringLiteral("Port %1").arg(QLatin1Char(port)),
                            QChar::fromLatin1(port));
    auto* layout = new QGridLayout(Content());
    for (int bit = 7; bit >= 0; --bit) {
        QToolButton* button = new QToolButton(Content());
        button->setObjectName(QStringLiteral("bit%1").arg(bit));
        button->setCheckable(true);
        button->setMinimumWidth(40);
        // clicked, unlike toggled, comes from the user only, not from a refresh.
        connect(button, &QToolButton::clicked, this,
                [this, bit](bool on) { Switches.SetSwitch(bit, on); });
        Buttons[bit] = button;
        layout->addWidget(button, 0, 7 - bit);
    }
    layout->addWidget(PortChoice, 1, 0, 1, 8, Qt::AlignLeft);
    connect(PortChoice, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            Switches.SetPort(PortChoice->itemData(index).toChar().toLatin1());
    });
}

void SwitchWindow::Refresh() {
    const char port = Switches.Port();
    const uint8_t levels = Switches.Levels();
    PortChoice->setCurrentIndex(PortChoice->findData(QChar::fromLatin1(port)));
    for (int bit = 0; bit < 8; ++bit) {
        Buttons[bit]->setText(QString::fromStdString(PinName(port, bit)));
        Buttons[bit]->setChecked((levels >> bit) & 1);
    }
}

} // namespace corvid
