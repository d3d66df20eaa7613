/* Compiled as C: the plug-in header must be valid C, and these figures let a C++ test check
 * that both languages lay the interface tables out alike. */
#include "corvid/plugin_abi.h"

size_t CorvidAbiCSimulatorTableSize(void) {
    return sizeof(IHC11SimulatorMethods);
}
size_t CorvidAbiCDeviceTableSize(void) {
    return sizeof(HardwareDeviceMethods);
}
size_t CorvidAbiCHardwareHostTableSize(void) {
    return sizeof(HardwareHostMethods);
}
size_t CorvidAbiCSimulatorHostTableSize(void) {
    return sizeof(SimulatorHostMethods);
}
size_t CorvidAbiCRunSliceOffset(void) {
    return offsetof(IHC11SimulatorMethods, RunSlice);
}
size_t CorvidAbiCInterfaceIdSize(void) {
    return sizeof(CorvidInterfaceId);
}
