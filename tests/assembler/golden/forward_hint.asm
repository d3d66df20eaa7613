* A forward reference is assembled extended in both passes; pass 2 hints
 ORG $0100
 LDAA LATER
 LDAA >$40
 LDAA $40
 NOP
 ORG $40
LATER FCB 1
