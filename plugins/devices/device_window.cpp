#include "devices/device_window.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace corvid {

namespace {

QString StatusText(DeviceState state) {
    switch (state) {
    case DeviceState::Detached:
        return QStringLiteral("Not attached");
    case DeviceState::Stopped:
        return QStringLiteral("Stopped");
    case DeviceState::Running:
        return QStringLiteral("Running");
    }
    return {};
}

} // namespace

DeviceWindow::DeviceWindow(const Device& device)
    : QWidget(nullptr, Qt::Tool), Subject(device), Body(new QWidget(this)),
      Status(new QLabel(this)) {
    setWindowTitle(QString::fromLatin1(device.Name()));
    Status->setObjectName(QStringLiteral("status"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Body, 1);
    layout->addWidget(Status);
    RefreshTimer.setSingleShot(true);
    connect(&RefreshTimer, &QTimer::timeout, this, [this] { RefreshNow(); });
}

void DeviceWindow::Show() {
    if (!Placed) {
        Place(Subject.StoredPlacement());
        Placed = true;
    }
    show();
    raise();
    RefreshNow();
}

void DeviceWindow::Hide() {
    hide();
}

// The timer belongs to the user-interface thread, so the request travels there first.
void DeviceWindow::ScheduleRefresh() {
    if (RefreshPending.exchange(true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            const qint64 since = SinceRefresh.isValid() ? SinceRefresh.elapsed() : MinimumInterval;
            RefreshTimer.start(static_cast<int>(std::max<qint64>(0, MinimumInterval - since)));
        },
        Qt::QueuedConnection);
}

// A hidden window is brought up to date when it is shown. The request is taken back before the
// state is read, so a change made meanwhile asks again.
void DeviceWindow::RefreshNow() {
    RefreshPending = false;
    if (!isVisible())
        return;
    SinceRefresh.start();
    Status->setText(StatusText(Subject.State()));
    Refresh();
}

WindowPlacement DeviceWindow::Placement() const {
    if (!Placed)
        return Subject.StoredPlacement();
    return {x(), y(), width(), height()};
}

// A place that no screen shows any more (a monitor unplugged, a hand-edited configuration)
// keeps only the size, within the screen, and the window manager places the window.
void DeviceWindow::Place(const WindowPlacement& placement) {
    if (!placement.Known())
        return;
    const QPoint corner(placement.Left, placement.Top);
    const QScreen* screen = QGuiApplication::screenAt(corner);
    const QScreen* sizing = screen ? screen : QGuiApplication::primaryScreen();
    QSize size(placement.Width, placement.Height);
    if (sizing)
        size = size.boundedTo(sizing->availableGeometry().size());
    resize(size);
    if (screen)
        move(corner);
}

} // namespace corvid
