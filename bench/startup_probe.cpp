// Cold start to a shown window, for timing with /usr/bin/time: "corvid" builds the IDE's main
// window exactly as the program does (without the splash), "minimal" a bare Qt window as the
// floor. Either quits as soon as the window has been painted once.

#include "ui/main_window.h"

#include <QApplication>
#include <QPaintEvent>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Quits the application once the watched window has painted itself.
class TFirstPaintQuitter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, &QApplication::quit);
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || (std::strcmp(argv[1], "corvid") != 0 && std::strcmp(argv[1], "minimal") != 0)) {
        std::fprintf(stderr, "usage: startup_probe corvid|minimal [file...]\n");
        return 2;
    }
    const bool corvid = std::strcmp(argv[1], "corvid") == 0;
    QApplication application(argc, argv);
    QStringList files = QApplication::arguments().mid(2);

    std::unique_ptr<QWidget> window;
    if (corvid) {
        auto main = std::make_unique<corvid::TMainWindow>();
        main->OpenCommandLine(files);
        window = std::move(main);
    } else {
        window = std::make_unique<QWidget>();
    }
    TFirstPaintQuitter quitter;
    window->installEventFilter(&quitter);
    window->resize(1200, 800);
    window->show();
    return application.exec();
}
