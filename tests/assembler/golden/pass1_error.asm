* An error in pass 1: only the terminating record, no code lines, the labels defined so far
 ORG $F800
START NOP
LOOP BRA START
 LDAA #1
loop NOP
AFTER NOP
