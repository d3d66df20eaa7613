#include "simulator/serial_interface.h"

#include "simulator/register_map.h"

#include <algorithm>

namespace corvid {

namespace {

// SCSR
constexpr uint8_t TDRE = 0x80, TC = 0x40, RDRF = 0x20, IDLE = 0x10, OR = 0x08;
constexpr uint8_t ReceiveFlags = RDRF | IDLE | OR | 0x04 | 0x02; // with NF and FE
// SCCR2
constexpr uint8_t TIE = 0x80, TCIE = 0x40, RIE = 0x20, ILIE = 0x10, TE = 0x08, RE = 0x04;
// SCCR1
constexpr uint8_t M = 0x10;

} // namespace

void SerialInterface::Reset() {
    std::vector<uint8_t> transmitted = std::move(TransmittedBytes);
    *this = SerialInterface();
    TransmittedBytes = std::move(transmitted);
    TransmittedBytes.reserve(16);
    Scsr = TDRE | TC;
}

bool SerialInterface::Owns(uint8_t offset) {
    return offset >= Reg::BAUD && offset <= Reg::SCDR;
}

uint8_t SerialInterface::Read(uint8_t offset) {
    if (offset == Reg::SCSR) {
        ArmedFlags = Scsr;
    } else if (offset == Reg::SCDR) {
        Scsr &= static_cast<uint8_t>(~(ArmedFlags & ReceiveFlags));
        ArmedFlags &= static_cast<uint8_t>(~ReceiveFlags);
        Reschedule();
    }
    return Peek(offset);
}

uint8_t SerialInterface::Peek(uint8_t offset) const {
    switch (offset) {
    case Reg::BAUD:
        return Baud;
    case Reg::SCCR1:
        return Sccr1;
    case Reg::SCCR2:
        return Sccr2;
    case Reg::SCSR:
        return Scsr;
    default:
        return ReceiveData;
    }
}

void SerialInterface::Write(uint8_t offset, uint8_t value, uint64_t now) {
    switch (offset) {
    case Reg::BAUD:
        Baud = value & 0x37; // TCLR and RCKB are test bits
        break;
    case Reg::SCCR1:
        Sccr1 = value & 0xD8;
        break;
    case Reg::SCCR2: {
        const bool enablingTransmitter = (value & TE) && !(Sccr2 & TE);
        Sccr2 = value;
        if (enablingTransmitter && !Shifting) {
            // The transmitter announces itself with one idle frame.
            Shifting = true;
            SendingByte = false;
            TransmitEnd = now + FrameCycles();
            Scsr &= static_cast<uint8_t>(~TC);
        }
        break;
    }
    case Reg::SCDR:
        TransmitData = value;
        // Without the SCSR read first the byte stays in the data register unsent.
        if (ArmedFlags & TDRE) {
            Scsr &= static_cast<uint8_t>(~(ArmedFlags & (TDRE | TC)));
            ArmedFlags &= static_cast<uint8_t>(~(TDRE | TC));
            StartTransmission(now);
        }
        break;
    default: // SCSR is read-only
        break;
    }
    Reschedule();
}

void SerialInterface::Advance(uint64_t now) {
    while (Next <= now) {
        const uint64_t cycle = Next;
        if (TransmitEnd == cycle)
            FinishTransmission(cycle);
        if (ReceiveEnd == cycle)
            FinishReception(cycle);
        if (IdleAt == cycle) {
            IdleAt = Never;
            if (Sccr2 & RE)
                Scsr |= IDLE;
        }
        Reschedule();
    }
}

bool SerialInterface::InterruptAsserted() const {
    return ((Sccr2 & TIE) && (Scsr & TDRE)) || ((Sccr2 & TCIE) && (Scsr & TC)) ||
           ((Sccr2 & RIE) && (Scsr & (RDRF | OR))) || ((Sccr2 & ILIE) && (Scsr & IDLE));
}

bool SerialInterface::Receive(uint8_t value, uint64_t now) {
    if (QueueCount == QueueCapacity)
        return false;
    Queue[(QueueHead + QueueCount) % QueueCapacity] = value;
    ++QueueCount;
    if (!LineBusy)
        StartReception(now);
    Reschedule();
    return true;
}

uint64_t SerialInterface::BitCycles() const {
    constexpr uint64_t prescalers[4] = {1, 3, 4, 13};
    return 16 * prescalers[(Baud >> 4) & 0x03] << (Baud & 0x07);
}

uint64_t SerialInterface::FrameCycles() const {
    return BitCycles() * ((Sccr1 & M) ? 11 : 10);
}

void SerialInterface::StartTransmission(uint64_t now) {
    if (Shifting || !(Sccr2 & TE) || (Scsr & TDRE))
        return;
    Shifting = true;
    SendingByte = true;
    ShiftingByte = TransmitData;
    Scsr |= TDRE;
    Scsr &= static_cast<uint8_t>(~TC);
    TransmitEnd = now + FrameCycles();
}

void SerialInterface::FinishTransmission(uint64_t now) {
    if (SendingByte)
        TransmittedBytes.push_back(ShiftingByte);
    Shifting = false;
    TransmitEnd = Never;
    StartTransmission(now);
    if (!Shifting)
        Scsr |= TC;
}

void SerialInterface::StartReception(uint64_t now) {
    LineBusy = true;
    ArrivingByte = Queue[QueueHead];
    QueueHead = (QueueHead + 1) % QueueCapacity;
    --QueueCount;
    ReceiveEnd = now + FrameCycles();
    IdleAt = Never;
}

void SerialInterface::FinishReception(uint64_t now) {
    LineBusy = false;
    ReceiveEnd = Never;
    if (Sccr2 & RE) {
        if (Scsr & RDRF) {
            Scsr |= OR; // the unread byte stays; this one is lost
        } else {
            ReceiveData = ArrivingByte;
            Scsr |= RDRF;
        }
    }
    if (QueueCount > 0)
        StartReception(now);
    else
        IdleAt = now + FrameCycles();
}

void SerialInterface::Reschedule() {
    Next = std::min({TransmitEnd, ReceiveEnd, IdleAt});
}

} // namespace corvid
