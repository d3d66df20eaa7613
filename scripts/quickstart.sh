#!/usr/bin/env bash
# Installs what is missing, builds Corvid and starts it on the bundled example.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/build.sh

example=examples/blink/blink.asm
if [ -x build/src/app/corvid ]; then
    exec build/src/app/corvid "$example"
fi
echo
echo "Corvid's window is not built yet; assembling the bundled example with corvid-asm instead."
exec build/tools/corvid-asm/corvid-asm --listing - "$example"
