#pragma once

#include <array>
#include <cstdint>

namespace corvid {

// The A/D converter and port E, its input port. Each pin carries an analog level, 0 (VRL) to
// 255 (VRH), which the outside world sets; as a digital input a pin reads 1 from level $80
// up. A conversion sequence is four conversions of 32 E cycles each into ADR1-ADR4; results
// are worked out when they are read, from the levels the pins had when each conversion
// finished, so a running SCAN sequence costs nothing between reads.
class AnalogConverter {
public:
    void Reset();

    static bool Owns(uint8_t offset);
    uint8_t Peek(uint8_t offset, uint64_t now) const;
    void Write(uint8_t offset, uint8_t value, uint64_t now);

    void Sync(uint64_t now); // before pins or power change: results up to now use the old ones
    void SetLevel(int pin, uint8_t level, uint64_t now);
    void SetDigitalInputs(uint8_t levels, uint64_t now);
    void SetPowered(bool powered, uint64_t now);

private:
    uint8_t ChannelValue(int channel) const;
    uint64_t CompletedConversions(uint64_t now) const;
    uint8_t ResultAfter(uint64_t conversion) const;

    std::array<uint8_t, 8> Levels{};
    std::array<uint8_t, 4> Results{};
    uint8_t Adctl = 0;
    bool Powered = false;
    bool Converting = false;
    uint64_t SequenceStart = 0;
    uint64_t ConversionsSynced = 0;
};

} // namespace corvid
