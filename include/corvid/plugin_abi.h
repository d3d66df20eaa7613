/*
 * The binary interface between Corvid and its plug-in libraries: simulators of the 68HC11 and
 * simulated hardware devices (LEDs, switches, a terminal, ...) that attach to a simulator.
 *
 * A plug-in is a shared library (".so") that exports one or both of the entry points below. The
 * host loads it, looks the entry points up by name and calls each with its host interface; the
 * plug-in registers its objects by calling that interface back.
 *
 * Every interface is a struct whose only member points to a table of C function pointers; every
 * function takes the object itself first. The slot numbers of the tables are fixed: a slot that
 * has no meaning yet is reserved and must hold a function that does nothing (callers never call
 * it). The first three slots of every table count references:
 *   slot 0  QueryInterface(self, id, object): the interfaces carry no identifiers of their own,
 *           so a null id or the all-zero id gives the object itself (with one more reference)
 *           and CORVID_S_OK; any other id gives a null object and CORVID_E_NOINTERFACE.
 *   slot 1  AddRef(self): one more reference; returns the new count.
 *   slot 2  Release(self): one reference less; returns the new count. At zero the object may be
 *           destroyed. A plug-in keeps one reference of its own to each object it registered
 *           for as long as the library is loaded; the host takes a reference for each object it
 *           holds (the active simulator, the attached devices). The two host interfaces count
 *           nothing and live as long as the program.
 *
 * Values: an 8-bit or 16-bit value travels in a uint32_t slot (the receiver uses the low 8 or 16
 * bits); counts of cycles are int64_t; times and speeds are double; booleans are uint32_t (0 is
 * false). Text is a NUL-terminated 8-bit string; the receiver copies it before returning or
 * before its next call on the same object (the pointer is valid until then); a null pointer
 * reads as empty text. No exception and no C++ type ever crosses this interface.
 *
 * Threads: plug-in calls come from the host's user-interface thread, except during a simulator
 * run, when the run thread calls simulator slots 36, 47, 48 and 61 while the user-interface
 * thread may call any other simulator slot (display refresh, device requests). A simulator
 * takes these calls from two threads without harm. A simulator calls the device slots 7, 8
 * and 9 on the thread that called the simulator slot in progress (during a run: the run
 * thread); inside those calls a device may read and write simulator memory and drive lines
 * through HardwareHost, but must not step, run, reset or load the simulator, and must not wait
 * for another thread that calls the simulator.
 */
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
namespace corvid {
extern "C" {
#endif

typedef struct CorvidInterfaceId {
    uint8_t Bytes[16];
} CorvidInterfaceId;

#define CORVID_S_OK ((int32_t)0)
#define CORVID_E_NOINTERFACE ((int32_t)0x80004002u)

/* Names of the library entry points. The host also tries the same names with a leading "_". */
#define CORVID_REGISTER_HARDWARE_DEVICE_EXPORT "RegisterHC11HardwareDevice_Version1"
#define CORVID_REGISTER_SIMULATOR_EXPORT "RegisterHC11Simulator_Version1"

/* Error status of simulator slot 67. */
#define CORVID_SIM_ERROR_NONE 0
#define CORVID_SIM_ERROR_ILLEGAL_OPCODE 1   /* "Simulator hit unrecognized instruction" */
#define CORVID_SIM_ERROR_ADDRESS_RANGE 2    /* the program used an address with no memory */
#define CORVID_SIM_ERROR_TOO_MANY_DEVICES 3 /* an attach found the device table full */
#define CORVID_SIM_ERROR_LOAD 4             /* the last S19 load could not load everything */

/* The source argument of simulator slots 51 and 52 for writes made by the host's editors. */
#define CORVID_WRITE_SOURCE_HOST ((void*)1)

/* Stop address of simulator slot 61 meaning "none". */
#define CORVID_NO_STOP_ADDRESS ((int32_t)-1)

/* Lines of simulator slot 66: the value is (line << 8) | level. For IRQ, XIRQ and RESET,
 * level 0 holds the pin low (IRQ and XIRQ request their interrupt, RESET holds the chip; its
 * release resets it) and any other level lets it go high. Line CORVID_LINE_ANALOG0 + n sets
 * the analog level of port E pin n, 0 (VRL) to 255 (VRH). */
#define CORVID_LINE_IRQ 0x00u
#define CORVID_LINE_XIRQ 0x01u
#define CORVID_LINE_RESET 0x02u
#define CORVID_LINE_ANALOG0 0x10u

/* Result of device slot 8 that leaves the byte the program reads as the memory holds it. */
#define CORVID_READ_UNCHANGED ((int32_t)-1)

typedef struct IHC11Simulator IHC11Simulator;
typedef struct HardwareDevice HardwareDevice;
typedef struct SimulatorHost SimulatorHost;
typedef struct HardwareHost HardwareHost;

/* The simulator host, given to "RegisterHC11Simulator_Version1". */
typedef struct SimulatorHostMethods {
    int32_t (*QueryInterface)(SimulatorHost* self, const CorvidInterfaceId* id, void** object);
    uint32_t (*AddRef)(SimulatorHost* self);
    uint32_t (*Release)(SimulatorHost* self);
    /* 3: offer a simulator to the user (an item of the "Target" menu). */
    void (*RegisterSimulator)(SimulatorHost* self, IHC11Simulator* simulator);
} SimulatorHostMethods;

struct SimulatorHost {
    const SimulatorHostMethods* Methods;
};

/* The hardware host, given to "RegisterHC11HardwareDevice_Version1". A device calls it; every
 * call that needs a simulator does nothing (or returns 0) while none is active. */
typedef struct HardwareHostMethods {
    int32_t (*QueryInterface)(HardwareHost* self, const CorvidInterfaceId* id, void** object);
    uint32_t (*AddRef)(HardwareHost* self);
    uint32_t (*Release)(HardwareHost* self);
    /* 3: offer a device to the user (an item of the "Hardware" menu). */
    void (*RegisterDevice)(HardwareHost* self, HardwareDevice* device);
    /* 4: detach this device from the active simulator (simulator slot 55). */
    void (*DetachDevice)(HardwareHost* self, HardwareDevice* device);
    /* 5: be told of writes to an address (simulator slot 56). */
    void (*WatchWrites)(HardwareHost* self, uint32_t address, HardwareDevice* device);
    /* 6: be asked on reads of an address (simulator slot 57). */
    void (*WatchReads)(HardwareHost* self, uint32_t address, HardwareDevice* device);
    /* 7: write a byte as this device (simulator slot 52 with the device as source). */
    void (*WriteByte)(HardwareHost* self, uint32_t address, uint32_t value, HardwareDevice* device);
    /* 8: read a byte (simulator slot 50). */
    uint32_t (*ReadByte)(HardwareHost* self, uint32_t address);
    /* 9: write a word as this device (simulator slot 51 with the device as source). */
    void (*WriteWord)(HardwareHost* self, uint32_t address, uint32_t value, HardwareDevice* device);
    /* 10: read a word (simulator slot 49). */
    uint32_t (*ReadWord)(HardwareHost* self, uint32_t address);
    /* 11: cycles executed (simulator slot 42). */
    int64_t (*GetCycleCount)(HardwareHost* self);
    /* 12: drive a line (simulator slot 66). */
    void (*DriveLine)(HardwareHost* self, uint32_t value);
    /* 13: simulated time in seconds (simulator slot 48). */
    double (*GetSimulatedTime)(HardwareHost* self);
    /* 14: ask the simulator to end the run in progress (simulator slot 21 with 1). */
    void (*RequestStop)(HardwareHost* self);
    /* 15: reserved; the host does nothing. */
    void (*Reserved15)(HardwareHost* self, uint32_t first, uint32_t second);
    /* 16 to 21: the device's settings, in the host's configuration store. Keys are used as
     * given. 17 returns the text of the key, creating it with the default when missing; the
     * text stays valid until that key's value changes. 18 and 20 return the default when the
     * stored text is not a number. */
    void (*WriteText)(HardwareHost* self, const char* key, const char* value);
    const char* (*ReadText)(HardwareHost* self, const char* key, const char* defaultValue);
    int32_t (*ReadInteger)(HardwareHost* self, const char* key, int32_t defaultValue);
    void (*WriteInteger)(HardwareHost* self, const char* key, int32_t value);
    double (*ReadFloat)(HardwareHost* self, const char* key, double defaultValue);
    void (*WriteFloat)(HardwareHost* self, const char* key, double value);
} HardwareHostMethods;

struct HardwareHost {
    const HardwareHostMethods* Methods;
};

/* A simulated 68HC11. Addresses are 16-bit; register and memory values 8 or 16 bits. */
typedef struct IHC11SimulatorMethods {
    int32_t (*QueryInterface)(IHC11Simulator* self, const CorvidInterfaceId* id, void** object);
    uint32_t (*AddRef)(IHC11Simulator* self);
    uint32_t (*Release)(IHC11Simulator* self);
    /* 3: display name (the menu caption). 4: one-line description (the menu hint). */
    const char* (*GetName)(IHC11Simulator* self);
    const char* (*GetDescription)(IHC11Simulator* self);
    /* 5: the details of the last error status (slot 67) as one or more lines of text, for
     * example each S19 record that a load rejected with its line number and reason; empty when
     * the status is 0. */
    const char* (*GetErrorText)(IHC11Simulator* self);
    void (*Reserved6)(IHC11Simulator* self);
    void (*Reserved7)(IHC11Simulator* self);
    void (*Reserved8)(IHC11Simulator* self);
    void (*Reserved9)(IHC11Simulator* self);
    void (*Reserved10)(IHC11Simulator* self);
    void (*Reserved11)(IHC11Simulator* self);
    void (*Reserved12)(IHC11Simulator* self);
    void (*Reserved13)(IHC11Simulator* self);
    void (*Reserved14)(IHC11Simulator* self);
    void (*Reserved15)(IHC11Simulator* self);
    void (*Reserved16)(IHC11Simulator* self);
    void (*Reserved17)(IHC11Simulator* self);
    void (*Reserved18)(IHC11Simulator* self);
    void (*Reserved19)(IHC11Simulator* self);
    void (*Reserved20)(IHC11Simulator* self);
    /* 21: a device asks to end the run (HardwareHost slot 14 passes 1). A non-zero value makes
     * the slice in progress end within a millisecond of wall time (or else the next slice at
     * once) and return false; 0 withdraws a request not yet acted on. A step or a reset also
     * clears it. */
    void (*RequestStop)(IHC11Simulator* self, uint32_t value);
    void (*Reserved22)(IHC11Simulator* self);
    void (*Reserved23)(IHC11Simulator* self);
    /* 24, 26: accumulators A and B (set them through D, slot 27). */
    uint32_t (*GetA)(IHC11Simulator* self);
    void (*Reserved25)(IHC11Simulator* self);
    uint32_t (*GetB)(IHC11Simulator* self);
    /* 27 to 38: set and get D, CCR, X, Y, PC and SP. Setting CCR follows the hardware's rule
     * for the X bit only in the program; the host may set any bit. */
    void (*SetD)(IHC11Simulator* self, uint32_t value);
    uint32_t (*GetD)(IHC11Simulator* self);
    void (*SetCCR)(IHC11Simulator* self, uint32_t value);
    uint32_t (*GetCCR)(IHC11Simulator* self);
    void (*SetX)(IHC11Simulator* self, uint32_t value);
    uint32_t (*GetX)(IHC11Simulator* self);
    void (*SetY)(IHC11Simulator* self, uint32_t value);
    uint32_t (*GetY)(IHC11Simulator* self);
    void (*SetPC)(IHC11Simulator* self, uint32_t value);
    uint32_t (*GetPC)(IHC11Simulator* self);
    void (*SetSP)(IHC11Simulator* self, uint32_t value);
    uint32_t (*GetSP)(IHC11Simulator* self);
    /* 39: the program's entry address, where the next reset (slot 65) starts execution instead
     * of the reset vector; a value above $FFFF (such as (uint32_t)-1) means none. */
    void (*SetEntryAddress)(IHC11Simulator* self, uint32_t address);
    void (*Reserved40)(IHC11Simulator* self);
    void (*Reserved41)(IHC11Simulator* self);
    /* 42: E-clock cycles executed since the last reset. */
    int64_t (*GetCycleCount)(IHC11Simulator* self);
    void (*Reserved43)(IHC11Simulator* self);
    /* 44: the speed limit in kHz; 0: none. */
    int32_t (*GetSpeedLimitKHz)(IHC11Simulator* self);
    /* 45, 46: the speed measurement: cycles executed in the last completed run slice and the
     * milliseconds it took (0: not measured yet). Speed in kHz = slot 45 / slot 46. */
    int64_t (*GetMeasuredCycles)(IHC11Simulator* self);
    int32_t (*GetMeasuredMilliseconds)(IHC11Simulator* self);
    /* 47, 48: simulated time in seconds since the last reset; it advances with the cycles at
     * the E-clock rate. Setting it moves the clock without executing anything. */
    void (*SetSimulatedTime)(IHC11Simulator* self, double seconds);
    double (*GetSimulatedTime)(IHC11Simulator* self);
    /* 49, 50: read a word (big-endian) or a byte. These reads have no side effects: they
     * neither clear status flags nor call devices. */
    uint32_t (*ReadWord)(IHC11Simulator* self, uint32_t address);
    uint32_t (*ReadByte)(IHC11Simulator* self, uint32_t address);
    /* 51, 52: write a word (high byte first) or a byte. Source CORVID_WRITE_SOURCE_HOST (or any
     * pointer that is not an attached device) writes like the program would to the register
     * block, and stores into RAM, EEPROM and ROM alike. Source = an attached device writes as
     * the outside world: to PORTA, PORTC, PORTD or PORTE it drives the levels of that port's
     * input pins; to SCDR it sends the byte to the SCI receiver at the SCI's baud rate (bytes
     * queue); elsewhere it acts as a host write. */
    void (*WriteWord)(IHC11Simulator* self, uint32_t address, uint32_t value, void* source);
    void (*WriteByte)(IHC11Simulator* self, uint32_t address, uint32_t value, void* source);
    /* 53: load an S19 file into memory. Malformed records are skipped and the rest is loaded;
     * then slot 67 is 4 and slot 5 names each rejected record. */
    void (*LoadS19)(IHC11Simulator* self, const char* fileName);
    /* 54, 55: attach (with a reference) and detach (releasing it, and ending its watches) a
     * device. A full device table makes slot 67 return 3. */
    void (*AttachDevice)(IHC11Simulator* self, HardwareDevice* device);
    void (*DetachDevice)(IHC11Simulator* self, HardwareDevice* device);
    /* 56: the device is told (device slot 7) of every write that the program or the host makes
     * to the address, and of every change of a port A output pin made by the timer when the
     * address is PORTA's. For SCDR it is told when a byte has been transmitted, with that byte.
     * Addresses are absolute: when the register block moves, the watch stays. */
    void (*WatchWrites)(IHC11Simulator* self, uint32_t address, HardwareDevice* device);
    /* 57: the device is asked (device slot 8) on every read that the program makes of the
     * address, and may supply the byte read (an external device on the bus). */
    void (*WatchReads)(IHC11Simulator* self, uint32_t address, HardwareDevice* device);
    void (*Reserved58)(IHC11Simulator* self);
    /* 59: the speed limit in MHz of E clock; 0 or less: as fast as possible. */
    void (*SetSpeedLimit)(IHC11Simulator* self, double megahertz);
    /* 60: execute one instruction, or enter one pending interrupt; in a WAI wait, advance the
     * clock until an interrupt ends it (at most one simulated second); after STOP, nothing
     * happens until a line wakes the chip. */
    void (*Step)(IHC11Simulator* self);
    /* 61: run one slice: until the program counter reaches the stop address (result true;
     * CORVID_NO_STOP_ADDRESS: none), or arrives at a breakpoint (false), or an error (false,
     * status in slot 67), or a stop request (false), or maxCycles cycles have run (true; 0 or
     * less: no bound), or milliseconds of wall time have passed (true). The first instruction
     * of a slice runs even when the program counter is at a breakpoint. */
    uint32_t (*RunSlice)(IHC11Simulator* self, int32_t stopAddress, int32_t maxCycles,
                         int32_t milliseconds);
    /* 62, 63: remove all breakpoints; set one. */
    void (*ClearBreakpoints)(IHC11Simulator* self);
    void (*SetBreakpoint)(IHC11Simulator* self, uint32_t address);
    void (*Reserved64)(IHC11Simulator* self);
    /* 65: power-on reset: registers and peripherals as after reset, cycles and simulated time
     * 0, memory kept, PC at the entry address (slot 39) or else at the reset vector. */
    void (*Reset)(IHC11Simulator* self);
    /* 66: a device drives a line: (line << 8) | level, lines CORVID_LINE_*. */
    void (*DriveLine)(IHC11Simulator* self, uint32_t value);
    /* 67: error status of the last step, run, load or attach (CORVID_SIM_ERROR_*). */
    int32_t (*GetErrorStatus)(IHC11Simulator* self);
} IHC11SimulatorMethods;

struct IHC11Simulator {
    const IHC11SimulatorMethods* Methods;
};

/* A simulated hardware device. */
typedef struct HardwareDeviceMethods {
    int32_t (*QueryInterface)(HardwareDevice* self, const CorvidInterfaceId* id, void** object);
    uint32_t (*AddRef)(HardwareDevice* self);
    uint32_t (*Release)(HardwareDevice* self);
    /* 3: caption (the menu item). 4: one-line hint. */
    const char* (*GetName)(HardwareDevice* self);
    const char* (*GetDescription)(HardwareDevice* self);
    /* 5, 6: show and hide the device's window. */
    void (*Show)(HardwareDevice* self);
    void (*Hide)(HardwareDevice* self);
    /* 7: a watched address was written (simulator slot 56) with this byte. */
    void (*MemoryWritten)(HardwareDevice* self, uint32_t address, uint32_t value);
    /* 8: the program reads a watched address (simulator slot 57); value is the byte memory
     * holds. Return the byte the program reads (0 to 255), or CORVID_READ_UNCHANGED. */
    int32_t (*MemoryRead)(HardwareDevice* self, uint32_t address, uint32_t value);
    /* 9: the simulator has advanced: called after every step and every run slice with the
     * cycle count, so a device can refresh what it shows once per slice. */
    void (*SimulationAdvanced)(HardwareDevice* self, int64_t cycleCount);
    /* 10: the simulator starts (1) or stops (0) executing. */
    void (*Running)(HardwareDevice* self, uint32_t running);
    /* 11: reset (the target was loaded or reset). */
    void (*Reset)(HardwareDevice* self);
    /* 12, 13: the device has just been attached to, or detached from, the active simulator. */
    void (*Attached)(HardwareDevice* self);
    void (*Detached)(HardwareDevice* self);
    /* 14: save your settings (through HardwareHost slots 16 to 21). */
    void (*SaveSettings)(HardwareDevice* self);
} HardwareDeviceMethods;

struct HardwareDevice {
    const HardwareDeviceMethods* Methods;
};

/* Library entry points. */
typedef void (*RegisterHC11SimulatorFunction)(SimulatorHost* host);
typedef void (*RegisterHC11HardwareDeviceFunction)(HardwareHost* host);

#ifdef __cplusplus
} /* extern "C" */
} /* namespace corvid */
#define CORVID_ABI_STATIC_ASSERT(condition, message) static_assert(condition, message)
#define CORVID_ABI_TYPE(name) corvid::name
#else
#define CORVID_ABI_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#define CORVID_ABI_TYPE(name) name
#endif

/* The slot numbers are the interface: a table that drifts is a compile error. */
#define CORVID_ABI_SLOT(table, member, slot)                                                       \
    CORVID_ABI_STATIC_ASSERT(offsetof(CORVID_ABI_TYPE(table), member) == (slot) * sizeof(void*),   \
                             #table "." #member " is not in slot " #slot)

CORVID_ABI_SLOT(SimulatorHostMethods, RegisterSimulator, 3);
CORVID_ABI_SLOT(HardwareHostMethods, RegisterDevice, 3);
CORVID_ABI_SLOT(HardwareHostMethods, DriveLine, 12);
CORVID_ABI_SLOT(HardwareHostMethods, RequestStop, 14);
CORVID_ABI_SLOT(HardwareHostMethods, WriteText, 16);
CORVID_ABI_SLOT(HardwareHostMethods, WriteFloat, 21);
CORVID_ABI_SLOT(IHC11SimulatorMethods, GetName, 3);
CORVID_ABI_SLOT(IHC11SimulatorMethods, RequestStop, 21);
CORVID_ABI_SLOT(IHC11SimulatorMethods, GetA, 24);
CORVID_ABI_SLOT(IHC11SimulatorMethods, GetB, 26);
CORVID_ABI_SLOT(IHC11SimulatorMethods, SetEntryAddress, 39);
CORVID_ABI_SLOT(IHC11SimulatorMethods, GetCycleCount, 42);
CORVID_ABI_SLOT(IHC11SimulatorMethods, GetSpeedLimitKHz, 44);
CORVID_ABI_SLOT(IHC11SimulatorMethods, ReadWord, 49);
CORVID_ABI_SLOT(IHC11SimulatorMethods, LoadS19, 53);
CORVID_ABI_SLOT(IHC11SimulatorMethods, WatchReads, 57);
CORVID_ABI_SLOT(IHC11SimulatorMethods, SetSpeedLimit, 59);
CORVID_ABI_SLOT(IHC11SimulatorMethods, RunSlice, 61);
CORVID_ABI_SLOT(IHC11SimulatorMethods, Reset, 65);
CORVID_ABI_SLOT(IHC11SimulatorMethods, GetErrorStatus, 67);
CORVID_ABI_SLOT(HardwareDeviceMethods, Show, 5);
CORVID_ABI_SLOT(HardwareDeviceMethods, MemoryWritten, 7);
CORVID_ABI_SLOT(HardwareDeviceMethods, SimulationAdvanced, 9);
CORVID_ABI_SLOT(HardwareDeviceMethods, SaveSettings, 14);
