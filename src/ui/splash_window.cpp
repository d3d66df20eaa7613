#include "ui/splash_window.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace corvid {

namespace {

constexpr int SplashWidth = 322;
constexpr int SplashHeight = 265;
constexpr int TicksShown = 11; // closes when the counter has reached this: twelve ticks

} // namespace

TSplashWindow::TSplashWindow()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setFixedSize(SplashWidth, SplashHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    Timer.setInterval(100);
    connect(&Timer, &QTimer::timeout, this, &TSplashWindow::Tick);
    Timer.start();
}

void TSplashWindow::Tick() {
    if (Complete && TickCount >= TicksShown) {
        Timer.stop();
        close();
        return;
    }
    ++TickCount;
}

// A black card with the name in red above a stylised corvid and the version below.
void TSplashWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::black);
    QFont title("Serif", 28, QFont::Bold);
    painter.setFont(title);
    painter.setPen(QColor(220, 30, 30));
    painter.drawText(QRect(0, 12, width(), 50), Qt::AlignCenter, "Corvid");

    QPainterPath bird;
    bird.moveTo(96, 170);
    bird.cubicTo(120, 110, 190, 100, 226, 128);
    bird.lineTo(250, 122);
    bird.lineTo(232, 140);
    bird.cubicTo(210, 175, 150, 185, 96, 170);
    bird.moveTo(150, 140);
    bird.cubicTo(170, 90, 210, 80, 236, 96);
    bird.cubicTo(205, 110, 185, 130, 168, 150);
    painter.fillPath(bird, QColor(60, 60, 72));
    painter.setBrush(QColor(240, 200, 40));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPoint(222, 128), 3, 3);

    painter.setPen(QColor(200, 200, 200));
    painter.setFont(QFont("Sans", 9));
    painter.drawText(QRect(0, SplashHeight - 40, width(), 30), Qt::AlignCenter,
                     "68HC11 development environment, version " CORVID_VERSION);
}

} // namespace corvid
