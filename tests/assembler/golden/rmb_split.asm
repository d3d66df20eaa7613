* RMB splits the records; RMB 0 warns and does not
 FCB 1
 RMB 4
 FCB 2
 RMB 0
 FCB 3
