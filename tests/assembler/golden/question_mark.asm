* A character that starts no token stops the default mode where it is reached
 ORG $C000
 NOP
 LDAA #1 ? 2
 NOP
