#pragma once

#include "corvid/plugin_abi.h"

#include <cstdint>
#include <string>

namespace corvid {

// The hardware host as one device sees it: the host's slots with this device filled in as the
// caller, in C++ types. The host interface lives as long as the program, so a link can be
// copied and kept freely.
//
// Threads: the memory and line calls may come from the user-interface thread or, inside a
// device callback, from the simulator's run thread; the settings calls from either.
class HardwareLink {
public:
    HardwareLink(HardwareHost* host, HardwareDevice* device) : Host(host), Device(device) {}

    void WatchWrites(uint16_t address) const;
    void WriteByte(uint16_t address, uint8_t value) const;
    uint8_t ReadByte(uint16_t address) const;

    std::string ReadText(const std::string& key, const std::string& defaultValue) const;
    void WriteText(const std::string& key, const std::string& value) const;
    int32_t ReadInteger(const std::string& key, int32_t defaultValue) const;
    void WriteInteger(const std::string& key, int32_t value) const;

private:
    HardwareHost* Host;
    HardwareDevice* Device;
};

} // namespace corvid
