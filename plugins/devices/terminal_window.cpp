#include "devices/terminal_window.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>

namespace corvid {

TerminalOutput::TerminalOutput(SciTerminal& terminal, QWidget* parent)
    : QPlainTextEdit(parent), Terminal(terminal) {
    setObjectName(QStringLiteral("output"));
    setReadOnly(true);
    setFocusPolicy(Qt::StrongFocus);
    setTabChangesFocus(false);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setMinimumSize(480, 240);
}

std::string TerminalOutput::KeyBytes(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return "\r";
    case Qt::Key_Backspace:
        return "\b";
    case Qt::Key_Tab:
        return "\t";
    case Qt::Key_Escape:
        return "\x1B";
    case Qt::Key_Delete:
        return "\x7F";
    default:
        break;
    }
    std::string bytes;
    for (const QChar character : event.text()) {
        if (character.unicode() > 0xFF)
            return {};
        bytes += static_cast<char>(character.unicode());
    }
    return bytes;
}

void TerminalOutput::keyPressEvent(QKeyEvent* event) {
    const std::string bytes = KeyBytes(*event);
    if (bytes.empty()) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    Terminal.Type(bytes);
}

TerminalWindow::TerminalWindow(SciTerminal& terminal)
    : DeviceWindow(terminal), Terminal(terminal), Output(new TerminalOutput(terminal, Content())),
      Echo(new QCheckBox(QStringLiteral("Local echo"), Content())) {
    Echo->setObjectName(QStringLiteral("localEcho"));
    auto* clear = new QPushButton(QStringLiteral("Clear"), Content());
    clear->setObjectName(QStringLiteral("clear"));
    auto* layout = new QGridLayout(Content());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Output, 0, 0, 1, 3);
    layout->addWidget(Echo, 1, 0);
    layout->addWidget(clear, 1, 2);
    layout->setColumnStretch(1, 1);
    connect(Echo, &QCheckBox::clicked, this, [this](bool on) { Terminal.SetLocalEcho(on); });
    connect(clear, &QPushButton::clicked, this, [this] { Terminal.Clear(); });
    Output->setFocus();
}

// The whole text is set again when it changed, at most once a run slice; the view follows the
// end unless the user has scrolled up to read.
void TerminalWindow::Refresh() {
    Echo->setChecked(Terminal.LocalEcho());
    const uint64_t version = Terminal.Version();
    if (version == ShownVersion)
        return;
    ShownVersion = version;
    QScrollBar* scroll = Output->verticalScrollBar();
    const bool followEnd = scroll->value() == scroll->maximum();
    const int kept = scroll->value();
    const std::string text = Terminal.Text();
    Output->setPlainText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    if (followEnd)
        Output->moveCursor(QTextCursor::End);
    scroll->setValue(followEnd ? scroll->maximum() : kept);
}

} // namespace corvid
