#include "devices/sci_terminal.h"

#include "simulator/register_map.h"

namespace corvid {

using Lock = std::lock_guard<std::mutex>;

SciTerminal::SciTerminal(HardwareLink link)
    : Device(link, "SCI Terminal",
             "A terminal on the serial line: shows what the program sends, sends what you type") {}

void SciTerminal::LoadOptions() {
    Echo = Link().ReadInteger(Key("Local Echo"), 0) != 0;
}

void SciTerminal::SaveOptions() const {
    Link().WriteInteger(Key("Local Echo"), Echo ? 1 : 0);
}

uint16_t SciTerminal::DataRegister() const {
    return RegisterAddress(Reg::SCDR);
}

// Watching SCDR tells of each byte the SCI has transmitted.
void SciTerminal::OnAttached() {
    Link().WatchWrites(DataRegister());
}

void SciTerminal::OnMemoryWritten(uint16_t address, uint8_t value) {
    if (address != DataRegister())
        return;
    Show(value);
    RefreshView();
}

// A write from an attached device to SCDR sends the byte down the line to the SCI.
void SciTerminal::Type(std::string_view bytes) {
    if (!IsAttached() || bytes.empty())
        return;
    for (char byte : bytes) {
        Link().WriteByte(DataRegister(), static_cast<uint8_t>(byte));
        if (Echo)
            Show(static_cast<uint8_t>(byte));
    }
    RefreshView();
}

void SciTerminal::Clear() {
    {
        Lock lock(Mutex);
        Screen.Clear();
        ++Changes;
    }
    RefreshView();
}

void SciTerminal::Show(uint8_t byte) {
    Lock lock(Mutex);
    Screen.Feed(byte);
    ++Changes;
}

std::string SciTerminal::Text() const {
    Lock lock(Mutex);
    return Screen.Text();
}

uint64_t SciTerminal::Version() const {
    Lock lock(Mutex);
    return Changes;
}

} // namespace corvid
