* Moving back over written addresses gives a second record for them
 ORG $10
 FCB 1,2
 ORG $10
 FCB 3
 ORG $1000
 NOP
 ORG $2000
 NOP
