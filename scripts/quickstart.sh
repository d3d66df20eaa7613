#!/usr/bin/env bash
# Installs what is missing, builds Corvid and starts it on the bundled example.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/build.sh

example=examples/blink/blink.asm
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/src/app/corvid "$example"
fi
echo
echo "No display to open Corvid's window on; assembling the bundled example with corvid-asm."
echo "Run build/src/app/corvid $example on a desktop to use the IDE."
echo
exec build/tools/corvid-asm/corvid-asm --listing - "$example"
