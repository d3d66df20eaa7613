#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvid {

// A message of a build, as the message list shows it and as it leads to its source.
struct TBuildMessage {
    std::string Text;       // shown in the list
    std::string ModuleName; // the file it is about, without directory
    int Line = 0;           // 1-based
    int Column = 0;         // 0-based
};

// A source line that produced code at an address.
struct TCodeMark {
    int Line = 0; // 0-based
    int Address = 0;
};

// What a build's output lines say about the file that was built.
struct TBuildOutput {
    std::vector<TBuildMessage> Messages;
    std::vector<TCodeMark> Marks;
    bool Succeeded = true; // no message line
};

// Reads the output of a build script, line by line, for the file with the given short name:
// "12: text" (the ':' within the first six characters, a line number above 0) is a message
// "name(12) text"; a listing line "0012 F800  86 ..." (line in characters 1-4, address in 6-9,
// first code byte in 12-13) marks source line 12 with address $F800; other lines are only
// shown.
TBuildOutput ParseBuildOutput(const std::vector<std::string>& lines, std::string_view fileName);

} // namespace corvid
