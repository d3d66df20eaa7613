; hello.asm - sends a greeting over the SCI and echoes what you type.
;
; Talks to the SCI directly, polling its status register; BUFFALO has already
; set the baud rate. Start it with G C000 and type into the terminal.

REGS    EQU     $1000
SCSR    EQU     $2E             ; SCI status register (offset)
SCDR    EQU     $2F             ; SCI data register (offset)
TDRE    EQU     $80             ; transmit data register empty
RDRF    EQU     $20             ; receive data register full
CR      EQU     13
LF      EQU     10

        ORG     $C000
START   LDX     #REGS
        LDY     #GREET
        BSR     PUTS
ECHO    BRCLR   SCSR,X RDRF ECHO        ; wait for a character
        LDAB    SCDR,X
        BSR     PUTC
        CMPB    #CR
        BNE     ECHO
        LDAB    #LF                     ; a carriage return also gets a line feed
        BSR     PUTC
        BRA     ECHO

; Sends the zero-terminated text at Y.
PUTS    LDAB    0,Y
        BEQ     PUTSEND
        BSR     PUTC
        INY
        BRA     PUTS
PUTSEND RTS

; Sends the character in B.
PUTC    BRCLR   SCSR,X TDRE PUTC        ; wait until the transmitter is free
        STAB    SCDR,X
        RTS

GREET   FCC     'Hello from Corvid!'
        FCB     CR,LF,0

        END
