#pragma once

#include <string>
#include <string_view>

namespace corvid {

// Runs an extraction pattern over one line of text and returns what its copy commands appended.
// Positions are 1-based; the position, mark start and mark end start at 1, the found flag true.
// Characters that are not commands are skipped, so blanks and brackets may be written freely.
//
//   gs  ge          position := 1 / length of the text
//   +   -           one step forward / back, never leaving the text
//   ffc x  ffn x    forward from the position to the first x / first non-x; found flag set;
//                   not found stops on the last character
//   fbc x  fbn x    the same backward; not found stops on position 1
//   ms  me          mark start / mark end := position
//   cm              append the text from mark start to mark end
//   ce              append from the position as many characters as mark start is from the end
//   cp              append the character at the position
//   ca"text"        append the text between the quotes
//   rt[..] rf[..]   run the block only when the found flag is true / false
//   rn[..]          run the block only while the result is empty
//   ]l n            n is one raw byte: when not 0, decrement it and repeat from the matching [
//   q               stop
//
// Loop counts live in a private copy of the pattern and only ever decrease, so every run ends.
// A block whose condition fails is skipped past its matching `]` (brackets counted, nothing
// else); without one the run ends. A loop `]` without a matching `[` repeats from the start of
// the pattern. `gp` has no meaning (no pattern needs a third position) and is skipped like any
// other non-command text.
std::string ExtractPattern(std::string_view text, std::string_view pattern);

} // namespace corvid
