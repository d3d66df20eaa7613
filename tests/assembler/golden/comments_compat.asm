* Compatibility mode: text after a complete statement is a comment
 ORG $C000
START LDAA #1 load the count
 NOP NOP
 NOP garbage after the operand field
 STAA $10 store ? it
 BRA START loop forever
