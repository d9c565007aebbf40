#!/bin/sh
# Writes a UTF-8 text file as morlo's text files are: UTF-16LE after the mark FF FE, lines
# joined by CR LF, no line break after the last line. Usage: utf16-text.sh INPUT OUTPUT
set -eu
printf '\377\376' >"$2"
sed 's/$/\r/' "$1" | head -c -2 | iconv -f UTF-8 -t UTF-16LE >>"$2"
