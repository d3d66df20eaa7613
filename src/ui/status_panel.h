#pragma once

#include <QLabel>

namespace corvid {

// A status-line panel that reports clicks: the caret position opens Go to line, the insert
// and selection-mode panels switch their mode.
class TStatusPanel : public QLabel {
    Q_OBJECT

public:
    explicit TStatusPanel(QWidget* parent = nullptr) : QLabel(parent) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setContentsMargins(4, 0, 4, 0);
    }

signals:
    void Clicked();

protected:
    void mousePressEvent(QMouseEvent*) override { emit Clicked(); }
};

} // namespace corvid
