* Nothing after END is assembled
 ORG $F800
 NOP
 END
 NOP
 LDAA ?? this is never read
