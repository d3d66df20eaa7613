#include "devices/led_window.h"

#include "devices/port_pins.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>

#include <algorithm>

namespace corvid {

namespace {

const QColor LitColour(230, 30, 30);
const QColor DarkColour(90, 20, 20);

} // namespace

LedLamp::LedLamp(QWidget* parent) : QWidget(parent) {
    setMinimumSize(16, 16);
}

void LedLamp::SetLit(bool lit) {
    if (lit == Lit)
        return;
    Lit = lit;
    update();
}

void LedLamp::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int diameter = std::min(width(), height()) - 4;
    const QRect circle((width() - diameter) / 2, (height() - diameter) / 2, diameter, diameter);
    painter.setPen(QPen(palette().color(QPalette::Shadow), 1));
    painter.setBrush(Lit ? LitColour : DarkColour);
    painter.drawEllipse(circle);
}

LedWindow::LedWindow(PortLeds& leds)
    : DeviceWindow(leds), Leds(leds), PortChoice(new QComboBox(Content())) {
    PortChoice->setObjectName(QStringLiteral("port"));
    for (char port : PortLeds::Ports)
        PortChoice->addItem(QStringLiteral("Port %1").arg(QLatin1Char(port)),
                            QChar::fromLatin1(port));
    auto* layout = new QGridLayout(Content());
    for (int bit = 7; bit >= 0; --bit) {
        const int column = 7 - bit;
        Lamps[bit] = new LedLamp(Content());
        Lamps[bit]->setObjectName(QStringLiteral("bit%1").arg(bit));
        PinLabels[bit] = new QLabel(Content());
        PinLabels[bit]->setObjectName(QStringLiteral("pin%1").arg(bit));
        PinLabels[bit]->setAlignment(Qt::AlignCenter);
        layout->addWidget(Lamps[bit], 0, column, Qt::AlignCenter);
        layout->addWidget(PinLabels[bit], 1, column, Qt::AlignCenter);
    }
    layout->addWidget(PortChoice, 2, 0, 1, 8, Qt::AlignLeft);
    connect(PortChoice, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            Leds.SetPort(PortChoice->itemData(index).toChar().toLatin1());
    });
}

void LedWindow::Refresh() {
    const char port = Leds.Port();
    const uint8_t lit = Leds.Lit();
    PortChoice->setCurrentIndex(PortChoice->findData(QChar::fromLatin1(port)));
    for (int bit = 0; bit < 8; ++bit) {
        Lamps[bit]->SetLit((lit >> bit) & 1);
        PinLabels[bit]->setText(QString::fromStdString(PinName(port, bit)));
    }
}

} // namespace corvid
