#!/bin/sh
# Corvid's build script. "Obsolete > Assemble" runs it as
#
#     sh compile.sh FILE
#
# and, when it ends, reads compile.out from this script's directory: a line "12: text" is a
# message about line 12 of FILE, and a line "0012 F800  86 05" says that line 12 produced
# code at $F800. Every line is shown in the Listing pane. Copy this script to
# ~/.config/corvid/ and change it to run another assembler or compiler.

here=$(dirname "$0")
out="$here/compile.out"
source=$1

# corvid-asm beside Corvid, in the build tree, or on the PATH.
asm=corvid-asm
for candidate in "$CORVID_PROGRAM_DIR/corvid-asm" \
                 "$CORVID_PROGRAM_DIR/../../tools/corvid-asm/corvid-asm"; do
    if [ -x "$candidate" ]; then
        asm=$candidate
        break
    fi
done

messages=$(mktemp) || exit 2
{
    echo "Assembling $source"
    "$asm" --line-map - "$source" 2> "$messages"
    status=$?
    # corvid-asm reports FILE:LINE:COLUMN: text; the IDE reads LINE: text.
    sed -n 's/^.*:\([0-9][0-9]*\):[0-9][0-9]*: /\1: /p' "$messages"
    grep -v ':[0-9][0-9]*:[0-9][0-9]*: ' "$messages"
    if [ "$status" -eq 0 ]; then echo "Assembled OK"; else echo "Assembly failed"; fi
} > "$out"
rm -f "$messages"
exit 0
