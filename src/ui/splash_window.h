#pragma once

#include <QTimer>
#include <QWidget>

namespace corvid {

// The start-up splash: borderless, on top, centred, 322 x 265. It closes on the first tick
// after start-up is complete and at least twelve ticks of 100 ms have passed.
class TSplashWindow : public QWidget {
    Q_OBJECT

public:
    TSplashWindow();

    void StartupComplete() { Complete = true; }
    int Ticks() const { return TickCount; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer Timer;
    int TickCount = 0;
    bool Complete = false;

    void Tick();
};

} // namespace corvid
