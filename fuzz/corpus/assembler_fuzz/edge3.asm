/* block
 */ NOP // c
* star