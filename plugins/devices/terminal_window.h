#pragma once

#include "devices/device_window.h"
#include "devices/sci_terminal.h"

#include <QPlainTextEdit>

#include <cstdint>
#include <string>

class QCheckBox;

namespace corvid {

// The terminal's screen ("output"): it shows the text and sends the keys typed on it.
class TerminalOutput final : public QPlainTextEdit {
public:
    TerminalOutput(SciTerminal& terminal, QWidget* parent);

    // The bytes a key sends: its text when every character fits in a byte, and the usual
    // codes for Return, Backspace, Tab, Escape and Delete. Empty for keys that send nothing
    // (arrows, modifiers), which keep their editor meaning.
    static std::string KeyBytes(const QKeyEvent& event);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Tab is a key to send, not a move to the next widget.
    bool focusNextPrevChild(bool) override { return false; }

private:
    SciTerminal& Terminal;
};

// The terminal's screen, a "Local echo" choice and a "Clear" button.
class TerminalWindow final : public DeviceWindow {
public:
    explicit TerminalWindow(SciTerminal& terminal);

protected:
    void Refresh() override;

private:
    SciTerminal& Terminal;
    TerminalOutput* Output;
    QCheckBox* Echo;
    uint64_t ShownVersion = ~uint64_t{0};
};

} // namespace corvid
