#!/usr/bin/env bash
# Usage: makeXdeltaSamples.sh XDELTA3 FOLDER
# Real xdelta patches from Debian's xdelta3 for the description reader: described.xdelta and
# secondary.xdelta carry a description as "^*" and Base64 (the second with another secondary
# compressor), plain.xdelta only the file names that xdelta3 stores by default.
set -euo pipefail
xdelta3=$1
out=$2
rm -rf "$out"
mkdir -p "$out"
cd "$out"
head -c 5000 /dev/urandom >source
{ cat source; echo changed; } >target
description=$(printf 'System: NES\nGame: Quest\nCreation Date: 08.12.2026 [DD.MM.YYYY]\nMD5: 0123456789abcdef0123456789abcdef' | base64 -w0)
"$xdelta3" -e -f -A="^*$description" -s source target described.xdelta
"$xdelta3" -e -f -S djw -A="^*$description" -s source target secondary.xdelta
"$xdelta3" -e -f -s source target plain.xdelta
touch done
