; blink.asm - blinks the LEDs on port B from the output-compare 2 interrupt.
;
; Runs under the BUFFALO monitor: the program sits in user RAM at $C000 and
; hooks BUFFALO's OC2 pseudo-vector at $00DC. Load it and start it with G C000.

REGS    EQU     $1000           ; register block
PORTB   EQU     $04             ; offsets into the register block
TCNT    EQU     $0E
TOC2    EQU     $18
TMSK1   EQU     $22
TFLG1   EQU     $23
OC2F    EQU     %01000000       ; output compare 2 flag and interrupt enable

JTOC2   EQU     $00DC           ; BUFFALO's pseudo-vector for OC2: JMP addr
PERIOD  EQU     50000           ; E-clock cycles between interrupts (25 ms at 2 MHz)
TICKS   EQU     20              ; interrupts per toggle: the LEDs change twice a second

        ORG     $0000
COUNT   RMB     1               ; interrupts left until the next toggle

        ORG     $C000
START   SEI
        LDX     #REGS
        LDAA    #$7E            ; JMP opcode
        STAA    JTOC2
        LDD     #OC2ISR
        STD     JTOC2+1
        LDAA    #TICKS
        STAA    COUNT
        CLR     PORTB,X         ; all LEDs off
        LDD     TCNT,X          ; first compare one period from now
        ADDD    #PERIOD
        STD     TOC2,X
        LDAA    #OC2F
        STAA    TFLG1,X         ; clear a stale flag (write 1 to clear)
        STAA    TMSK1,X         ; enable the OC2 interrupt
        CLI
IDLE    WAI                     ; sleep until the next interrupt
        BRA     IDLE

; Output compare 2: schedule the next compare, count down, toggle the LEDs.
OC2ISR  LDX     #REGS
        LDD     TOC2,X
        ADDD    #PERIOD
        STD     TOC2,X
        LDAA    #OC2F
        STAA    TFLG1,X         ; acknowledge
        DEC     COUNT
        BNE     DONE
        LDAA    #TICKS
        STAA    COUNT
        COM     PORTB,X         ; toggle every LED
DONE    RTI

        END
