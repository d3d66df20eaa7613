// Corvid: a development environment for the Motorola 68HC11.

#include "platform/data_paths.h"
#include "ui/main_window.h"
#include "ui/splash_window.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdlib>
#include <exception>
#include <memory>

namespace {

// Qt cannot carry an exception through its event loop: one escaping a slot would end the
// program and lose unsaved buffers. Every event is delivered under a guard that reports it.
class TCorvidApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            QMessageBox::critical(activeWindow(), "Error", QString::fromLocal8Bit(error.what()));
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv) {
    // The build script finds corvid-asm beside Corvid through this.
    setenv("CORVID_PROGRAM_DIR", corvid::ProgramDirectory().c_str(), 1);
    TCorvidApplication application(argc, argv);
    QApplication::setApplicationName("Corvid");
    QApplication::setApplicationDisplayName("Corvid");

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    std::unique_ptr<corvid::TSplashWindow> splash;
    if (arguments.isEmpty() || arguments.first() != "-NS") {
        splash = std::make_unique<corvid::TSplashWindow>();
        splash->show();
        splash->repaint();
        QApplication::processEvents();
    }

    corvid::TMainWindow window;
    window.OpenCommandLine(arguments);
    if (splash)
        splash->StartupComplete();
    window.showMaximized();
    return application.exec();
}
