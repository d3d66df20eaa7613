#include "simulator/analog_converter.h"

#include "simulator/register_map.h"

#include <algorithm>

namespace corvid {

namespace {

constexpr uint64_t ConversionCycles = 32;
constexpr uint8_t CCF = 0x80, SCAN = 0x20, MULT = 0x10;
constexpr uint8_t DigitalThreshold = 0x80;

} // namespace

void AnalogConverter::Reset() {
    const auto levels = Levels;
    *this = AnalogConverter();
    Levels = levels; // the outside world keeps its levels across a reset of the chip
}

bool AnalogConverter::Owns(uint8_t offset) {
    return offset == Reg::PORTE || (offset >= Reg::ADCTL && offset <= Reg::ADR4);
}

uint8_t AnalogConverter::Peek(uint8_t offset, uint64_t now) const {
    if (offset == Reg::PORTE) {
        uint8_t digital = 0;
        for (int pin = 0; pin < 8; ++pin)
            if (Levels[pin] >= DigitalThreshold)
                digital |= static_cast<uint8_t>(1 << pin);
        return digital;
    }
    const uint64_t completed = CompletedConversions(now);
    if (offset == Reg::ADCTL)
        return static_cast<uint8_t>((Adctl & 0x3F) | (Converting && completed >= 4 ? CCF : 0));
    const uint64_t slot = offset - Reg::ADR1;
    // A slot shows its newest conversion; one finished since the last sync used the levels
    // the pins still have.
    if (completed > ConversionsSynced && completed > slot) {
        const uint64_t last = completed - 1;
        const uint64_t newest = last - (last - slot) % 4;
        if (newest >= ConversionsSynced)
            return ResultAfter(newest);
    }
    return Results[slot];
}

void AnalogConverter::Write(uint8_t offset, uint8_t value, uint64_t now) {
    if (offset != Reg::ADCTL)
        return;
    Sync(now);
    Adctl = value & 0x3F;
    Converting = true;
    SequenceStart = now;
    ConversionsSynced = 0;
}

void AnalogConverter::Sync(uint64_t now) {
    const uint64_t completed = CompletedConversions(now);
    const uint64_t first = std::max(ConversionsSynced, completed >= 4 ? completed - 4 : 0);
    for (uint64_t conversion = first; conversion < completed; ++conversion)
        Results[conversion % 4] = ResultAfter(conversion);
    ConversionsSynced = completed;
}

void AnalogConverter::SetLevel(int pin, uint8_t level, uint64_t now) {
    Sync(now);
    Levels[pin & 7] = level;
}

void AnalogConverter::SetDigitalInputs(uint8_t levels, uint64_t now) {
    Sync(now);
    for (int pin = 0; pin < 8; ++pin)
        Levels[pin] = (levels >> pin) & 1 ? 0xFF : 0x00;
}

void AnalogConverter::SetPowered(bool powered, uint64_t now) {
    Sync(now);
    Powered = powered;
}

uint8_t AnalogConverter::ChannelValue(int channel) const {
    if (channel < 8)
        return Levels[channel];
    switch (channel) {
    case 12:
        return 0xFF; // VRH
    case 14:
        return 0x80; // VRH / 2
    default:
        return 0x00; // VRL and the reserved channels
    }
}

uint64_t AnalogConverter::CompletedConversions(uint64_t now) const {
    if (!Converting)
        return 0;
    const uint64_t completed = (now - SequenceStart) / ConversionCycles;
    return (Adctl & SCAN) ? completed : std::min<uint64_t>(completed, 4);
}

uint8_t AnalogConverter::ResultAfter(uint64_t conversion) const {
    if (!Powered)
        return 0;
    const int slot = static_cast<int>(conversion % 4);
    const int channel = (Adctl & MULT) ? ((Adctl & 0x0C) | slot) : (Adctl & 0x0F);
    return ChannelValue(channel);
}

} // namespace corvid
