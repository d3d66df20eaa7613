#pragma once

#include <string>
#include <string_view>

namespace corvid {

// Turns a listing line of the assembler ("Addr:F800 Op: 86 05", sent for a source line) into
// the classic form build scripts report code addresses in: "0012 F800  86 05", the line in
// four digits, the address, and the code bytes from the twelfth character. Lines without code
// give nothing.
std::string LineMapEntry(int sourceLine, std::string_view listingText);

} // namespace corvid
