#pragma once

// Writes one 68HC11 program twice: in Corvid's syntax, and in the form GNU as accepts with
// --mri (direct addressing marked with "*", data as .byte/.word/.ascii between ".mri 0" and
// ".mri 1", one section per ORG window that the linker places, no expression whose value
// depends on operator precedence). Both texts assemble to the same memory image; the
// differential test and the assembler benchmark are built on it.

#include "isa_table.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace corvid::testing {

// Where the linker puts one ORG window of the GNU text.
struct TGnuSection {
    std::string Name;
    int Address = 0;
};

struct TDualProgram {
    std::string Corvid;
    std::string Gnu;
    std::vector<TGnuSection> Sections;
    // TIsaRow::Key of every row that one instruction of the program assembles.
    std::set<std::string> CoveredRows;
    int Lines = 0; // of the Corvid text
};

// Every row of the table in every operand form: numbers in every radix, characters, EQU names
// and expressions, backward and forward labels (Corvid assembles a forward-referenced address
// extended, and so does the GNU text), ">" forced extended, indexed with and without offset,
// bit masks, and every branch at both ends of its range. Data of every directive, RMB splits
// and several disjoint ORG windows, with labels in the direct page.
TDualProgram GenerateCoverageProgram(const TIsaTable& isa);

// A random mix of instructions, operand forms, labels, branches, data, EQU, RMB and windows;
// the same seed gives the same program. Still disjoint windows, so the image is unambiguous.
TDualProgram GenerateRandomProgram(const TIsaTable& isa, uint32_t seed, int statements);

// About `lines` lines shaped like a hand-written program: comment blocks, EQU tables,
// subroutines with local loops, calls, tables of data, trailing comments; about 21 characters a
// line. Its windows reuse $8000-$FFFF, so it is meant for timing, not for an image comparison.
TDualProgram GenerateRealisticProgram(const TIsaTable& isa, int lines, uint32_t seed);

// "--section-start=.w0=0x0010", ... for m68hc11-ld.
std::vector<std::string> SectionStartArguments(const TDualProgram& program);

} // namespace corvid::testing
