#pragma once

#include <cstdint>

namespace corvid {

// Offsets of the 68HC11E9's registers in its 64-byte register block (at $1000 after reset).
namespace Reg {
inline constexpr uint8_t PORTA = 0x00;
inline constexpr uint8_t PIOC = 0x02;
inline constexpr uint8_t PORTC = 0x03;
inline constexpr uint8_t PORTB = 0x04;
inline constexpr uint8_t PORTCL = 0x05;
inline constexpr uint8_t DDRC = 0x07;
inline constexpr uint8_t PORTD = 0x08;
inline constexpr uint8_t DDRD = 0x09;
inline constexpr uint8_t PORTE = 0x0A;
inline constexpr uint8_t CFORC = 0x0B;
inline constexpr uint8_t OC1M = 0x0C;
inline constexpr uint8_t OC1D = 0x0D;
inline constexpr uint8_t TCNT = 0x0E; // high byte; low byte at 0x0F
inline constexpr uint8_t TIC1 = 0x10;
inline constexpr uint8_t TIC2 = 0x12;
inline constexpr uint8_t TIC3 = 0x14;
inline constexpr uint8_t TOC1 = 0x16;
inline constexpr uint8_t TOC2 = 0x18;
inline constexpr uint8_t TOC3 = 0x1A;
inline constexpr uint8_t TOC4 = 0x1C;
inline constexpr uint8_t TI4O5 = 0x1E;
inline constexpr uint8_t TCTL1 = 0x20;
inline constexpr uint8_t TCTL2 = 0x21;
inline constexpr uint8_t TMSK1 = 0x22;
inline constexpr uint8_t TFLG1 = 0x23;
inline constexpr uint8_t TMSK2 = 0x24;
inline constexpr uint8_t TFLG2 = 0x25;
inline constexpr uint8_t PACTL = 0x26;
inline constexpr uint8_t PACNT = 0x27;
inline constexpr uint8_t SPCR = 0x28;
inline constexpr uint8_t SPSR = 0x29;
inline constexpr uint8_t SPDR = 0x2A;
inline constexpr uint8_t BAUD = 0x2B;
inline constexpr uint8_t SCCR1 = 0x2C;
inline constexpr uint8_t SCCR2 = 0x2D;
inline constexpr uint8_t SCSR = 0x2E;
inline constexpr uint8_t SCDR = 0x2F;
inline constexpr uint8_t ADCTL = 0x30;
inline constexpr uint8_t ADR1 = 0x31;
inline constexpr uint8_t ADR4 = 0x34;
inline constexpr uint8_t BPROT = 0x35;
inline constexpr uint8_t OPTION = 0x39;
inline constexpr uint8_t COPRST = 0x3A;
inline constexpr uint8_t PPROG = 0x3B;
inline constexpr uint8_t HPRIO = 0x3C;
inline constexpr uint8_t INIT = 0x3D;
inline constexpr uint8_t TEST1 = 0x3E;
inline constexpr uint8_t CONFIG = 0x3F;
inline constexpr int BlockSize = 64;
} // namespace Reg

// Interrupt vectors (the address of the vector's high byte).
namespace Vector {
inline constexpr uint16_t SCI = 0xFFD6;
inline constexpr uint16_t SPI = 0xFFD8;
inline constexpr uint16_t PulseAccumulatorInput = 0xFFDA;
inline constexpr uint16_t PulseAccumulatorOverflow = 0xFFDC;
inline constexpr uint16_t TimerOverflow = 0xFFDE;
inline constexpr uint16_t TI4O5 = 0xFFE0;
inline constexpr uint16_t TOC4 = 0xFFE2;
inline constexpr uint16_t TOC3 = 0xFFE4;
inline constexpr uint16_t TOC2 = 0xFFE6;
inline constexpr uint16_t TOC1 = 0xFFE8;
inline constexpr uint16_t TIC3 = 0xFFEA;
inline constexpr uint16_t TIC2 = 0xFFEC;
inline constexpr uint16_t TIC1 = 0xFFEE;
inline constexpr uint16_t RealTimeInterrupt = 0xFFF0;
inline constexpr uint16_t IRQ = 0xFFF2;
inline constexpr uint16_t XIRQ = 0xFFF4;
inline constexpr uint16_t SWI = 0xFFF6;
inline constexpr uint16_t IllegalOpcode = 0xFFF8;
inline constexpr uint16_t COPFailure = 0xFFFA;
inline constexpr uint16_t ClockMonitor = 0xFFFC;
inline constexpr uint16_t Reset = 0xFFFE;
} // namespace Vector

// Condition code register bits.
namespace Ccr {
inline constexpr uint8_t S = 0x80;
inline constexpr uint8_t X = 0x40;
inline constexpr uint8_t H = 0x20;
inline constexpr uint8_t I = 0x10;
inline constexpr uint8_t N = 0x08;
inline constexpr uint8_t Z = 0x04;
inline constexpr uint8_t V = 0x02;
inline constexpr uint8_t C = 0x01;
} // namespace Ccr

} // namespace corvid
