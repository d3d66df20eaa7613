* Only EQU statements: no record, labels with values
VALUE EQU 10
BIG EQU $1234
NEGATIVE EQU -1
