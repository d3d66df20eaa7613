#pragma once

// For tests that load the real plug-in libraries with dlopen: the host's side of simulator
// registration, and the S19 text of the programs they load.

#include "corvid/plugin_abi.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace corvid::testing {

// Keeps, with a reference, each simulator that a plug-in registers.
struct TestSimulatorHost {
    TestSimulatorHost();

    SimulatorHost Interface; // first: the plug-in's pointer is this object's
    std::vector<IHC11Simulator*> Registered;
};

extern "C" inline int32_t CorvidTestSimulatorHostQueryInterface(SimulatorHost*,
                                                                const CorvidInterfaceId*, void**) {
    return CORVID_E_NOINTERFACE;
}
extern "C" inline uint32_t CorvidTestSimulatorHostCount(SimulatorHost*) {
    return 1;
}
extern "C" inline void CorvidTestSimulatorHostRegister(SimulatorHost* self,
                                                       IHC11Simulator* simulator) {
    simulator->Methods->AddRef(simulator);
    reinterpret_cast<TestSimulatorHost*>(self)->Registered.push_back(simulator);
}

inline const SimulatorHostMethods TestSimulatorHostMethods = {
    .QueryInterface = CorvidTestSimulatorHostQueryInterface,
    .AddRef = CorvidTestSimulatorHostCount,
    .Release = CorvidTestSimulatorHostCount,
    .RegisterSimulator = CorvidTestSimulatorHostRegister,
};

inline TestSimulatorHost::TestSimulatorHost() : Interface{&TestSimulatorHostMethods} {}

// One S1 record holding the bytes at the address, with its checksum and a line end.
inline std::string S19Record(uint16_t address, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> bytes = {static_cast<uint8_t>(data.size() + 3),
                                  static_cast<uint8_t>(address >> 8),
                                  static_cast<uint8_t>(address)};
    bytes.insert(bytes.end(), data.begin(), data.end());
    unsigned sum = 0;
    std::string text = "S1";
    char hex[4];
    for (uint8_t byte : bytes) {
        sum += byte;
        std::snprintf(hex, sizeof hex, "%02X", byte);
        text += hex;
    }
    std::snprintf(hex, sizeof hex, "%02X", ~sum & 0xFF);
    return text + hex + "\r\n";
}

} // namespace corvid::testing
