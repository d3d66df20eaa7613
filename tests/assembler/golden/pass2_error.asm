* An error in pass 2: the records emitted before it are written
 ORG $0100
FIRST NOP
 LDAA #$12
 LDAA MISSING
 NOP
