// The device plug-ins as the host sees them: the real libraries, loaded with dlopen beside the
// real simulator plug-in, attached to it through the plug-in interface, running small 68HC11
// programs, and watched and worked through their windows.

#include "device_test_host.h"

#include "../support/plugin_test_host.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <atomic>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace corvid {
namespace {

using testing::Eventually;
using testing::TestHardwareHost;
using testing::TestSimulatorHost;

constexpr uint16_t Code = 0xE000;
constexpr uint16_t PORTB = 0x1004, PORTC = 0x1003, PORTE = 0x100A, Result = 0x0080;
constexpr uint16_t Received = 0x0100;

// CLR PORTB ; loop: INC PORTB ; BRA loop
const std::vector<uint8_t> CountOnPortB = {0x7F, 0x10, 0x04, 0x7C, 0x10, 0x04, 0x20, 0xFB};

// loop: LDAA <port> ; STAA $80 ; BRA loop
std::vector<uint8_t> CopyPortToResult(uint16_t port) {
    return {0xB6, static_cast<uint8_t>(port >> 8), static_cast<uint8_t>(port), 0x97, 0x80, 0x20,
            0xF9};
}

// Sends "Hello, world" and CR LF over the SCI at 9600 baud, polling TDRE.
const std::vector<uint8_t> SendHello = {0xCE, 0x10, 0x00,       // LDX #$1000
                                        0x86, 0x30,             // LDAA #$30
                                        0xA7, 0x2B,             // STAA BAUD,X
                                        0x86, 0x08,             // LDAA #$08 (TE)
                                        0xA7, 0x2D,             // STAA SCCR2,X
                                        0x18, 0xCE, 0xE0, 0x20, // LDY #text
                                        0x18, 0xA6, 0x00,       // next: LDAA 0,Y
                                        0x27, 0x0A,             // BEQ done
                                        0x1F, 0x2E, 0x80, 0xFC, // wait: BRCLR SCSR,X $80 wait
                                        0xA7, 0x2F,             // STAA SCDR,X
                                        0x18, 0x08,             // INY
                                        0x20, 0xF1,             // BRA next
                                        0x20, 0xFE,             // done: BRA done
                                        'H',  'e',  'l',  'l',  'o',  ',',  ' ', 'w',
                                        'o',  'r',  'l',  'd',  '\r', '\n', 0};

// Stores each byte the SCI receives from $0100 on and sends it back.
const std::vector<uint8_t> StoreAndEcho = {0xCE, 0x10, 0x00,       // LDX #$1000
                                           0x18, 0xCE, 0x01, 0x00, // LDY #$0100
                                           0x86, 0x30,             // LDAA #$30
                                           0xA7, 0x2B,             // STAA BAUD,X
                                           0x86, 0x0C,             // LDAA #$0C (TE, RE)
                                           0xA7, 0x2D,             // STAA SCCR2,X
                                           0x1F, 0x2E, 0x20, 0xFC, // rx: BRCLR SCSR,X $20 rx
                                           0xA6, 0x2F,             // LDAA SCDR,X
                                           0x18, 0xA7, 0x00,       // STAA 0,Y
                                           0x18, 0x08,             // INY
                                           0x1F, 0x2E, 0x80, 0xFC, // tx: BRCLR SCSR,X $80 tx
                                           0xA7, 0x2F,             // STAA SCDR,X
                                           0x20, 0xED};            // BRA rx

// CLR PORTB ; loop: LDX #1000 ; delay: DEX ; BNE delay ; INC PORTB ; BRA loop
const std::vector<uint8_t> CountSlowlyOnPortB = {0x7F, 0x10, 0x04, 0xCE, 0x03, 0xE8, 0x09,
                                                 0x26, 0xFD, 0x7C, 0x10, 0x04, 0x20, 0xF5};

const char* const LedKey = "Hardware\\Devices\\Port LEDs\\";
const char* const SwitchKey = "Hardware\\Devices\\Port Switches\\";
const char* const TerminalKey = "Hardware\\Devices\\SCI Terminal\\";

void* Load(const char* path) {
    void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    EXPECT_NE(nullptr, library) << dlerror();
    return library;
}

template <class Child>
Child* Find(QWidget* window, const char* name) {
    Child* child = window ? window->findChild<Child*>(QString::fromLatin1(name)) : nullptr;
    EXPECT_NE(nullptr, child) << name;
    return child;
}

uint8_t LitLamps(QWidget* window) {
    uint8_t lit = 0;
    for (int bit = 0; bit < 8; ++bit) {
        QWidget* lamp = Find<QWidget>(window, ("bit" + std::to_string(bit)).c_str());
        if (lamp && lamp->property("lit").toBool())
            lit |= static_cast<uint8_t>(1 << bit);
    }
    return lit;
}

// The names under the LEDs or on the switches, bit 0 first.
std::string PinNames(QWidget* window, const char* prefix) {
    std::string names;
    for (int bit = 0; bit < 8; ++bit) {
        const std::string name = prefix + std::to_string(bit);
        QWidget* widget = Find<QWidget>(window, name.c_str());
        if (auto* label = qobject_cast<QLabel*>(widget))
            names += label->text().toStdString() + " ";
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            names += button->text().toStdString() + " ";
    }
    return names;
}

void ChoosePort(QWidget* window, char port) {
    auto* choice = Find<QComboBox>(window, "port");
    const int index = choice->findText(QStringLiteral("Port %1").arg(QLatin1Char(port)));
    ASSERT_GE(index, 0) << port;
    choice->setCurrentIndex(index);
}

void ClickSwitch(QWidget* window, int bit) {
    Find<QAbstractButton>(window, ("bit" + std::to_string(bit)).c_str())->click();
}

uint8_t CheckedSwitches(QWidget* window) {
    uint8_t on = 0;
    for (int bit = 0; bit < 8; ++bit)
        if (Find<QAbstractButton>(window, ("bit" + std::to_string(bit)).c_str())->isChecked())
            on |= static_cast<uint8_t>(1 << bit);
    return on;
}

void PressKey(QWidget* window, int key, const QString& text,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(Find<QWidget>(window, "output"), &press);
}

void Type(QWidget* window, const std::string& text) {
    for (char character : text)
        PressKey(window, 0, QString(QChar::fromLatin1(character)));
}

std::string ScreenText(QWidget* window) {
    return Find<QPlainTextEdit>(window, "output")->toPlainText().toStdString();
}

std::string StatusText(QWidget* window) {
    return Find<QLabel>(window, "status")->text().toStdString();
}

class DevicePluginTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Simulators = Load(CORVID_HC11SIM_PLUGIN);
        Leds = Load(CORVID_PORT_LEDS_PLUGIN);
        Switches = Load(CORVID_PORT_SWITCHES_PLUGIN);
        Terminals = Load(CORVID_SCI_TERMINAL_PLUGIN);
    }

    void SetUp() override {
        ASSERT_TRUE(Simulators && Leds && Switches && Terminals);
        const auto entry = reinterpret_cast<RegisterHC11SimulatorFunction>(
            dlsym(Simulators, CORVID_REGISTER_SIMULATOR_EXPORT));
        ASSERT_NE(nullptr, entry);
        entry(&SimulatorHost.Interface);
        ASSERT_EQ(1u, SimulatorHost.Registered.size());
        Sim = SimulatorHost.Registered[0];
        Host = std::make_unique<TestHardwareHost>(Sim);
    }

    void TearDown() override {
        Host.reset();
        if (Sim)
            Sim->Methods->Release(Sim);
    }

    // A device from the library, attached, with its window.
    HardwareDevice* Attach(void* library) {
        HardwareDevice* device = Host->Register(library);
        EXPECT_NE(nullptr, device);
        if (!device)
            return nullptr;
        Host->Attach(device);
        EXPECT_NE(nullptr, Host->WindowOf(device));
        return device;
    }

    uint8_t Memory(uint16_t address) const { return Sim->Methods->ReadByte(Sim, address); }

    static void* Simulators;
    static void* Leds;
    static void* Switches;
    static void* Terminals;
    TestSimulatorHost SimulatorHost;
    IHC11Simulator* Sim = nullptr;
    std::unique_ptr<TestHardwareHost> Host;
};

void* DevicePluginTest::Simulators = nullptr;
void* DevicePluginTest::Leds = nullptr;
void* DevicePluginTest::Switches = nullptr;
void* DevicePluginTest::Terminals = nullptr;

TEST_F(DevicePluginTest, EachLibraryRegistersOneDeviceThroughTheHardwareEntryOnly) {
    const struct {
        void* Library;
        const char* Name;
    } libraries[] = {{Leds, "Port LEDs"}, {Switches, "Port Switches"}, {Terminals, "SCI Terminal"}};
    for (const auto& library : libraries) {
        EXPECT_EQ(nullptr, dlsym(library.Library, CORVID_REGISTER_SIMULATOR_EXPORT));
        HardwareDevice* device = Host->Register(library.Library);
        ASSERT_NE(nullptr, device) << library.Name;
        const HardwareDeviceMethods* m = device->Methods;
        EXPECT_STREQ(library.Name, m->GetName(device));
        EXPECT_NE(std::string(), m->GetDescription(device));
        void* object = nullptr;
        EXPECT_EQ(CORVID_S_OK, m->QueryInterface(device, nullptr, &object));
        EXPECT_EQ(device, object);
        m->Release(device);
        CorvidInterfaceId other{};
        other.Bytes[3] = 7;
        EXPECT_EQ(CORVID_E_NOINTERFACE, m->QueryInterface(device, &other, &object));
        EXPECT_EQ(nullptr, object);
        EXPECT_EQ(3u, m->AddRef(device)); // the library's, the host's and this one
        EXPECT_EQ(2u, m->Release(device));
        EXPECT_EQ(CORVID_READ_UNCHANGED, m->MemoryRead(device, 0x1000, 0x12));
    }
}

TEST_F(DevicePluginTest, LedsShowWhatTheProgramWritesToPortB) {
    HardwareDevice* leds = Attach(Leds);
    QWidget* window = Host->WindowOf(leds);
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ("PB0 PB1 PB2 PB3 PB4 PB5 PB6 PB7 ", PinNames(window, "pin"));
    Host->Load(Code, CountOnPortB);
    Sim->Methods->WriteByte(Sim, PORTB, 0xFF, CORVID_WRITE_SOURCE_HOST); // the memory editor
    EXPECT_EQ(0xFF, Eventually([&] { return LitLamps(window); }, 0xFF));
    Host->Step(); // CLR PORTB
    EXPECT_EQ(0x00, Eventually([&] { return LitLamps(window); }, 0x00));
    for (int count = 1; count <= 5; ++count) {
        Host->Step(); // INC PORTB
        EXPECT_EQ(count, Eventually([&] { return LitLamps(window); }, count));
        Host->Step(); // BRA loop
    }
    Host->Run(1000);
    const uint8_t written = Memory(PORTB);
    EXPECT_GT(written, 5);
    EXPECT_EQ(written, Eventually([&] { return LitLamps(window); }, written));
}

TEST_F(DevicePluginTest, LedsShowThePortAsItReadsAfterAReset) {
    HardwareDevice* leds = Attach(Leds);
    QWidget* window = Host->WindowOf(leds);
    Sim->Methods->WriteByte(Sim, PORTB, 0x81, CORVID_WRITE_SOURCE_HOST);
    EXPECT_EQ(0x81, Eventually([&] { return LitLamps(window); }, 0x81));
    Host->Reset(); // port B is cleared by a reset, which writes nothing
    EXPECT_EQ(0x00, Eventually([&] { return LitLamps(window); }, 0x00));
}

TEST_F(DevicePluginTest, LedsMoveToTheChosenPort) {
    HardwareDevice* leds = Attach(Leds);
    QWidget* window = Host->WindowOf(leds);
    ChoosePort(window, 'C');
    EXPECT_EQ(
        "PC0 PC1 PC2 PC3 PC4 PC5 PC6 PC7 ",
        Eventually([&] { return PinNames(window, "pin"); }, "PC0 PC1 PC2 PC3 PC4 PC5 PC6 PC7 "));
    // LDAA #$5A ; STAA PORTC ; LDAA #$FF ; STAA PORTB ; BRA *
    Host->Load(Code, {0x86, 0x5A, 0xB7, 0x10, 0x03, 0x86, 0xFF, 0xB7, 0x10, 0x04, 0x20, 0xFE});
    Host->Run(100);
    EXPECT_EQ(0xFF, Memory(PORTB));
    EXPECT_EQ(0x5A, Eventually([&] { return LitLamps(window); }, 0x5A));
}

// The run thread calls the devices back while the user-interface thread draws their windows.
TEST_F(DevicePluginTest, LedsFollowARunOnTheRunThread) {
    HardwareDevice* leds = Attach(Leds);
    QWidget* window = Host->WindowOf(leds);
    Host->Load(Code, CountSlowlyOnPortB);
    Sim->Methods->SetSpeedLimit(Sim, 2.0);
    Host->NotifyRunning(true);
    std::atomic<bool> running = true;
    std::thread runThread([&] {
        for (int slice = 0; slice < 20; ++slice)
            Sim->Methods->RunSlice(Sim, CORVID_NO_STOP_ADDRESS, 0, 10);
        running = false;
    });
    while (running)
        testing::ProcessEventsBriefly();
    runThread.join();
    Host->NotifyRunning(false);
    const uint8_t written = Memory(PORTB);
    EXPECT_GT(written, 0);
    EXPECT_EQ(written, Eventually([&] { return LitLamps(window); }, written));
}

TEST_F(DevicePluginTest, StatusLineFollowsAttachAndRun) {
    HardwareDevice* leds = Attach(Leds);
    QWidget* window = Host->WindowOf(leds);
    EXPECT_EQ("Stopped", Eventually([&] { return StatusText(window); }, "Stopped"));
    Host->NotifyRunning(true);
    EXPECT_EQ("Running", Eventually([&] { return StatusText(window); }, "Running"));
    Host->NotifyRunning(false);
    EXPECT_EQ("Stopped", Eventually([&] { return StatusText(window); }, "Stopped"));
    Host->Detach(leds);
    EXPECT_FALSE(window->isVisible());
    leds->Methods->Show(leds);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ("Not attached", Eventually([&] { return StatusText(window); }, "Not attached"));
    leds->Methods->Hide(leds);
    EXPECT_FALSE(window->isVisible());
}

struct SwitchPort {
    char Port;
    uint16_t Address;
    const char* Pins;
};

void PrintTo(const SwitchPort& port, std::ostream* out) {
    *out << "port " << port.Port;
}

class SwitchPortTest : public DevicePluginTest, public ::testing::WithParamInterface<SwitchPort> {};

TEST_P(SwitchPortTest, SwitchesChangeWhatTheProgramReads) {
    const SwitchPort& port = GetParam();
    HardwareDevice* switches = Attach(Switches);
    QWidget* window = Host->WindowOf(switches);
    ChoosePort(window, port.Port);
    EXPECT_EQ(port.Pins, Eventually([&] { return PinNames(window, "bit"); }, port.Pins));
    Host->Load(Code, CopyPortToResult(port.Address));
    for (int bit : {0, 3, 7})
        ClickSwitch(window, bit);
    Host->Run(200);
    EXPECT_EQ(0x89, Memory(Result));
    ClickSwitch(window, 3);
    Host->Run(200);
    EXPECT_EQ(0x81, Memory(Result));
    EXPECT_EQ(0x81, CheckedSwitches(window));
}

INSTANTIATE_TEST_SUITE_P(
    Ports, SwitchPortTest,
    ::testing::Values(SwitchPort{'E', PORTE, "PE0 PE1 PE2 PE3 PE4 PE5 PE6 PE7 "},
                      SwitchPort{'C', PORTC, "PC0 PC1 PC2 PC3 PC4 PC5 PC6 PC7 "}),
    [](const ::testing::TestParamInfo<SwitchPort>& info) {
        return std::string("Port") + info.param.Port;
    });

TEST_F(DevicePluginTest, SwitchesAreOnPortEUnlessChosenOtherwise) {
    HardwareDevice* switches = Attach(Switches);
    QWidget* window = Host->WindowOf(switches);
    EXPECT_EQ("PE0 PE1 PE2 PE3 PE4 PE5 PE6 PE7 ", PinNames(window, "bit"));
    ClickSwitch(window, 6);
    EXPECT_EQ(0x40, Sim->Methods->ReadByte(Sim, PORTE));
}

TEST_F(DevicePluginTest, SwitchesSetWhileDetachedReachThePinsAtTheNextAttach) {
    HardwareDevice* switches = Attach(Switches);
    QWidget* window = Host->WindowOf(switches);
    Host->Load(Code, CopyPortToResult(PORTE));
    ClickSwitch(window, 1);
    Host->Detach(switches);
    ClickSwitch(window, 4);
    Host->Run(200);
    EXPECT_EQ(0x02, Memory(Result));
    Host->Attach(switches);
    Host->Run(200);
    EXPECT_EQ(0x12, Memory(Result));
}

TEST_F(DevicePluginTest, SwitchesLeaveTheOldPortLowWhenMoved) {
    HardwareDevice* switches = Attach(Switches);
    QWidget* window = Host->WindowOf(switches);
    ClickSwitch(window, 2);
    EXPECT_EQ(0x04, Sim->Methods->ReadByte(Sim, PORTE));
    ChoosePort(window, 'C');
    EXPECT_EQ(0x00, Sim->Methods->ReadByte(Sim, PORTE));
    EXPECT_EQ(0x04, Sim->Methods->ReadByte(Sim, PORTC));
}

TEST_F(DevicePluginTest, TerminalShowsWhatTheProgramSends) {
    HardwareDevice* terminal = Attach(Terminals);
    QWidget* window = Host->WindowOf(terminal);
    Host->Load(Code, SendHello);
    Host->Run(40000);
    EXPECT_EQ("Hello, world\n", Eventually([&] { return ScreenText(window); }, "Hello, world\n"));
}

TEST_F(DevicePluginTest, ProgramReceivesWhatIsTyped) {
    HardwareDevice* terminal = Attach(Terminals);
    QWidget* window = Host->WindowOf(terminal);
    Host->Load(Code, StoreAndEcho);
    Host->Run(100);
    Type(window, "hi");
    PressKey(window, Qt::Key_Return, QString());
    Host->Run(20000);
    EXPECT_EQ('h', Memory(Received));
    EXPECT_EQ('i', Memory(Received + 1));
    EXPECT_EQ('\r', Memory(Received + 2));
    EXPECT_EQ(0, Memory(Received + 3));
    // Without local echo, what the terminal shows came back from the program.
    EXPECT_EQ("hi\n", Eventually([&] { return ScreenText(window); }, "hi\n"));
}

TEST_F(DevicePluginTest, KeysSendTheirLatin1Bytes) {
    HardwareDevice* terminal = Attach(Terminals);
    QWidget* window = Host->WindowOf(terminal);
    Host->Load(Code, StoreAndEcho);
    Host->Run(100);
    const struct {
        int Key;
        QString Text;
        Qt::KeyboardModifiers Modifiers;
    } keys[] = {
        {Qt::Key_Eacute, QString(QChar(0xE9)), Qt::NoModifier},
        {0, QString(QChar(0x20AC)), Qt::NoModifier}, // the euro sign fits no byte: not sent
        {Qt::Key_Backspace, QString(), Qt::NoModifier},
        {Qt::Key_Tab, QString(), Qt::NoModifier},
        {Qt::Key_Escape, QString(), Qt::NoModifier},
        {Qt::Key_Left, QString(), Qt::NoModifier}, // no text: a key of the editor
        {Qt::Key_C, QString(QChar(0x03)), Qt::ControlModifier},
        {Qt::Key_Delete, QString(), Qt::NoModifier},
    };
    for (const auto& key : keys)
        PressKey(window, key.Key, key.Text, key.Modifiers);
    Host->Run(60000);
    const std::vector<uint8_t> expected = {0xE9, 0x08, 0x09, 0x1B, 0x03, 0x7F, 0x00};
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(expected[i], Memory(static_cast<uint16_t>(Received + i))) << i;
}

TEST_F(DevicePluginTest, LocalEchoShowsWhatIsTypedAndClearEmptiesTheScreen) {
    HardwareDevice* terminal = Attach(Terminals);
    QWidget* window = Host->WindowOf(terminal);
    Find<QCheckBox>(window, "localEcho")->click();
    Type(window, "ab");
    EXPECT_EQ("ab", Eventually([&] { return ScreenText(window); }, "ab"));
    Find<QAbstractButton>(window, "clear")->click();
    EXPECT_EQ("", Eventually([&] { return ScreenText(window); }, ""));
}

TEST_F(DevicePluginTest, DetachedTerminalSendsNothing) {
    HardwareDevice* terminal = Attach(Terminals);
    QWidget* window = Host->WindowOf(terminal);
    Host->Load(Code, StoreAndEcho);
    Host->Run(100);
    Find<QCheckBox>(window, "localEcho")->click();
    Host->Detach(terminal);
    Type(window, "x");
    Host->Run(20000);
    Host->Attach(terminal);
    Type(window, "y");
    Host->Run(20000);
    EXPECT_EQ('y', Memory(Received));
    EXPECT_EQ(0, Memory(Received + 1));
    EXPECT_EQ("yy", Eventually([&] { return ScreenText(window); }, "yy")); // echoed twice
}

// Settings written by one session's devices are what the next session's devices start with.
TEST_F(DevicePluginTest, SettingsRoundTripThroughTheHostsStore) {
    HardwareDevice* leds = Attach(Leds);
    HardwareDevice* switches = Attach(Switches);
    HardwareDevice* terminal = Attach(Terminals);
    ChoosePort(Host->WindowOf(leds), 'A');
    Host->WindowOf(leds)->move(40, 50); // the frame's corner, as a window manager keeps it
    Host->WindowOf(leds)->resize(320, 140);
    ChoosePort(Host->WindowOf(switches), 'C');
    ClickSwitch(Host->WindowOf(switches), 5);
    Host->WindowOf(terminal)->move(200, 100);
    Find<QCheckBox>(Host->WindowOf(terminal), "localEcho")->click();
    const QRect terminalPlace(Host->WindowOf(terminal)->pos(), Host->WindowOf(terminal)->size());
    Host->SaveSettings();

    const TestHardwareHost::Store& saved = Host->Settings;
    const std::pair<std::string, std::string> expected[] = {
        {std::string(LedKey) + "Port", "A"},
        {std::string(LedKey) + "Left", "40"},
        {std::string(LedKey) + "Top", "50"},
        {std::string(LedKey) + "Width", "320"},
        {std::string(LedKey) + "Height", "140"},
        {std::string(LedKey) + "Register Block", "4096"},
        {std::string(SwitchKey) + "Port", "C"},
        {std::string(SwitchKey) + "Levels", "32"},
        {std::string(TerminalKey) + "Local Echo", "1"},
        {std::string(TerminalKey) + "Left", "200"},
    };
    for (const auto& [key, value] : expected) {
        const auto found = saved.find(key);
        ASSERT_NE(saved.end(), found) << key;
        EXPECT_EQ(value, found->second) << key;
    }
    const TestHardwareHost::Store copy = saved;
    Host = std::make_unique<TestHardwareHost>(Sim, copy);

    HardwareDevice* nextLeds = Attach(Leds);
    HardwareDevice* nextSwitches = Attach(Switches);
    HardwareDevice* nextTerminal = Attach(Terminals);
    const auto placeOf = [](QWidget* window) { return QRect(window->pos(), window->size()); };
    EXPECT_EQ(QRect(40, 50, 320, 140), placeOf(Host->WindowOf(nextLeds)));
    EXPECT_EQ("PA0 PA1 PA2 PA3 PA4 PA5 PA6 PA7 ", PinNames(Host->WindowOf(nextLeds), "pin"));
    EXPECT_EQ(terminalPlace, placeOf(Host->WindowOf(nextTerminal)));
    EXPECT_TRUE(Find<QCheckBox>(Host->WindowOf(nextTerminal), "localEcho")->isChecked());
    EXPECT_EQ(0x20, CheckedSwitches(Host->WindowOf(nextSwitches)));
    Host->Load(Code, CopyPortToResult(PORTC));
    Host->Run(200);
    EXPECT_EQ(0x20, Memory(Result)); // the switch is on port C's pins again
}

// A device that has never been shown or attached keeps what the store holds when it saves.
TEST_F(DevicePluginTest, SavingWithoutShowingKeepsTheStoredSettings) {
    Host = std::make_unique<TestHardwareHost>(
        Sim, TestHardwareHost::Store{{std::string(LedKey) + "Port", "D"},
                                     {std::string(LedKey) + "Left", "12"},
                                     {std::string(LedKey) + "Width", "200"}});
    HardwareDevice* leds = Host->Register(Leds);
    leds->Methods->SaveSettings(leds);
    EXPECT_EQ("D", Host->Settings[std::string(LedKey) + "Port"]);
    EXPECT_EQ("12", Host->Settings[std::string(LedKey) + "Left"]);
    EXPECT_EQ("200", Host->Settings[std::string(LedKey) + "Width"]);
}

// Settings are untrusted input: a value a device cannot use gives its default.
TEST_F(DevicePluginTest, UnusableSettingsGiveTheDefaults) {
    Host = std::make_unique<TestHardwareHost>(
        Sim, TestHardwareHost::Store{
                 {std::string(LedKey) + "Port", "E"}, // the LEDs serve ports A to D
                 {std::string(LedKey) + "Register Block", "4097"},
                 {std::string(LedKey) + "Left", "-100000"},
                 {std::string(LedKey) + "Top", "-100000"},
                 {std::string(LedKey) + "Width", "2000000000"},
                 {std::string(LedKey) + "Height", "2000000000"},
                 {std::string(SwitchKey) + "Port", "cc"},
                 {std::string(SwitchKey) + "Levels", "256"},
                 {std::string(TerminalKey) + "Register Block", "not a number"},
             });
    HardwareDevice* leds = Attach(Leds);
    HardwareDevice* switches = Attach(Switches);
    HardwareDevice* terminal = Attach(Terminals);
    QWidget* ledWindow = Host->WindowOf(leds);
    EXPECT_EQ("PB0 PB1 PB2 PB3 PB4 PB5 PB6 PB7 ", PinNames(ledWindow, "pin"));
    const QRect screen = ledWindow->screen()->availableGeometry();
    EXPECT_LE(ledWindow->width(), screen.width());
    EXPECT_LE(ledWindow->height(), screen.height());
    EXPECT_TRUE(screen.intersects(ledWindow->geometry()));
    EXPECT_EQ("PE0 PE1 PE2 PE3 PE4 PE5 PE6 PE7 ", PinNames(Host->WindowOf(switches), "bit"));
    EXPECT_EQ(0x00, CheckedSwitches(Host->WindowOf(switches)));
    // Both still talk to the register block at $1000.
    Host->Load(Code, SendHello);
    Host->Run(40000);
    EXPECT_EQ("Hello, world\n",
              Eventually([&] { return ScreenText(Host->WindowOf(terminal)); }, "Hello, world\n"));
    Sim->Methods->WriteByte(Sim, PORTB, 0x42, CORVID_WRITE_SOURCE_HOST);
    EXPECT_EQ(0x42, Eventually([&] { return LitLamps(ledWindow); }, 0x42));
}

} // namespace
} // namespace corvid
