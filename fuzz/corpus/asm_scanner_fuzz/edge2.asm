 FCB 1,-1,'AB',''
 FDB *,*