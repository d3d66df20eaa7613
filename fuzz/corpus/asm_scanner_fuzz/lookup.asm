; lookup.asm - converts a value 0..15 into its seven-segment pattern by table
; lookup, and the other way round by a search, leaving the results in RAM.
;
; Set INPUT with the memory modify command (MM 0000), run with G C000 and read
; the results with MD 0000. The program returns to BUFFALO with SWI.

        ORG     $0000
INPUT   RMB     1               ; the value to convert (0..15)
SEGOUT  RMB     1               ; its seven-segment pattern
BACK    RMB     1               ; the value found again from the pattern

        ORG     $C000
START   LDAB    INPUT
        ANDB    #$0F            ; keep the value inside the table
        LDX     #SEGS
        ABX
        LDAA    0,X
        STAA    SEGOUT
        BSR     FIND
        STAB    BACK
        SWI                     ; back to the monitor

; Searches the table for the pattern in A; returns its index in B ($FF when
; the pattern is not there).
FIND    LDX     #SEGS
        CLRB
NEXT    CMPA    0,X
        BEQ     FOUND
        INX
        INCB
        CMPB    #SEGEND-SEGS
        BNE     NEXT
        LDAB    #$FF
FOUND   RTS

; Segments gfedcba for the hexadecimal digits 0..F.
SEGS    FCB     $3F,$06,$5B,$4F,$66,$6D,$7D,$07
        FCB     $7F,$6F,$77,$7C,$39,$5E,$79,$71
SEGEND

        END
