* The S19 example: one record with its checksum
 ORG $F800
 LDAA #5
 STAA $1000
 END
