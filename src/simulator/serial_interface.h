#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvid {

// The asynchronous serial interface (SCI): BAUD, SCCR1, SCCR2, SCSR and SCDR with the flag
// clearing sequences of the hardware (read SCSR with the flag set, then access SCDR). The far
// end of the line is the host: bytes it sends queue and arrive one frame time apart whether or
// not the program is ready for them; bytes the program transmits are collected when their
// frame has left the shift register.
class SerialInterface {
public:
    static constexpr uint64_t Never = ~uint64_t{0};
    static constexpr size_t QueueCapacity = 4096;

    void Reset();

    static bool Owns(uint8_t offset);
    uint8_t Read(uint8_t offset);
    uint8_t Peek(uint8_t offset) const;
    void Write(uint8_t offset, uint8_t value, uint64_t now);

    void Advance(uint64_t now);
    uint64_t NextEvent() const { return Next; }
    bool InterruptAsserted() const;

    // A byte from the far end; false when the queue is full (the byte is not taken).
    bool Receive(uint8_t value, uint64_t now);

    // Bytes transmitted since the last call, oldest first.
    const std::vector<uint8_t>& Transmitted() const { return TransmittedBytes; }
    void ClearTransmitted() { TransmittedBytes.clear(); }

private:
    uint64_t BitCycles() const;
    uint64_t FrameCycles() const;
    void StartTransmission(uint64_t now);
    void FinishTransmission(uint64_t now);
    void StartReception(uint64_t now);
    void FinishReception(uint64_t now);
    void Reschedule();

    uint8_t Baud = 0, Sccr1 = 0, Sccr2 = 0, Scsr = 0;
    uint8_t ReceiveData = 0, TransmitData = 0;
    uint8_t ArmedFlags = 0;   // SCSR flags seen by the last SCSR read, cleared by SCDR access
    bool Shifting = false;    // the transmit shift register is busy
    bool SendingByte = false; // false while the shift register sends the idle preamble
    uint8_t ShiftingByte = 0;
    uint64_t TransmitEnd = Never;
    std::array<uint8_t, QueueCapacity> Queue{};
    size_t QueueHead = 0, QueueCount = 0;
    bool LineBusy = false; // a frame from the far end is arriving
    uint8_t ArrivingByte = 0;
    uint64_t ReceiveEnd = Never;
    uint64_t IdleAt = Never;
    uint64_t Next = Never;
    std::vector<uint8_t> TransmittedBytes;
};

} // namespace corvid
