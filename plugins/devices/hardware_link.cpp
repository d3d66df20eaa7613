#include "devices/hardware_link.h"

namespace corvid {

void HardwareLink::WatchWrites(uint16_t address) const {
    Host->Methods->WatchWrites(Host, address, Device);
}

void HardwareLink::WriteByte(uint16_t address, uint8_t value) const {
    Host->Methods->WriteByte(Host, address, value, Device);
}

uint8_t HardwareLink::ReadByte(uint16_t address) const {
    return static_cast<uint8_t>(Host->Methods->ReadByte(Host, address));
}

std::string HardwareLink::ReadText(const std::string& key, const std::string& defaultValue) const {
    // The host's text is only valid until the key changes: copy it at once.
    const char* text = Host->Methods->ReadText(Host, key.c_str(), defaultValue.c_str());
    return text ? std::string(text) : std::string();
}

void HardwareLink::WriteText(const std::string& key, const std::string& value) const {
    Host->Methods->WriteText(Host, key.c_str(), value.c_str());
}

int32_t HardwareLink::ReadInteger(const std::string& key, int32_t defaultValue) const {
    return Host->Methods->ReadInteger(Host, key.c_str(), defaultValue);
}

void HardwareLink::WriteInteger(const std::string& key, int32_t value) const {
    Host->Methods->WriteInteger(Host, key.c_str(), value);
}

} // namespace corvid
