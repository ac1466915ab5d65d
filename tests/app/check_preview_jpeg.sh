#!/bin/sh
# Checks the preview picture as the program carries it: its exact byte size,
# and a baseline JPEG frame of 152 x 112 pixels in three colour components.
# Usage: check_preview_jpeg.sh <preview.jpg>
set -u
jpg=$1
fail() { echo "FAIL: $jpg: $*"; exit 1; }

[ -f "$jpg" ] || fail "missing"
size=$(wc -c <"$jpg")
[ "$size" -eq 16619 ] || fail "is $size bytes, not 16619"

byte() { od -An -tu1 -j "$1" -N 1 "$jpg" | tr -d ' '; }
word() { echo $(($(byte "$1") * 256 + $(byte $(($1 + 1))))); }

[ "$(byte 0)" = 255 ] && [ "$(byte 1)" = 216 ] || fail "does not start with SOI"
[ "$(byte $((size - 2)))" = 255 ] && [ "$(byte $((size - 1)))" = 217 ] || fail "does not end with EOI"

# Walk the marker segments up to the start of the scan.
pos=2
frames=0
frame=
while :; do
  [ $((pos + 4)) -le "$size" ] || fail "has no scan"
  [ "$(byte $pos)" = 255 ] || fail "has no marker at byte $pos"
  marker=$(byte $((pos + 1)))
  case $marker in
    255) pos=$((pos + 1)); continue ;;  # fill byte before a marker
    218) break ;;  # SOS
    192) frame=$pos; frames=$((frames + 1)) ;;  # SOF0, baseline
    193 | 194 | 195 | 197 | 198 | 199 | 201 | 202 | 203 | 205 | 206 | 207)
      fail "has a frame of type $marker, not baseline (SOF0)" ;;
  esac
  pos=$((pos + 2 + $(word $((pos + 2)))))
done
[ "$frames" -eq 1 ] || fail "has $frames baseline frames before the scan, not 1"

precision=$(byte $((frame + 4)))
height=$(word $((frame + 5)))
width=$(word $((frame + 7)))
components=$(byte $((frame + 9)))
[ "$precision" = 8 ] || fail "has $precision-bit samples, not 8"
[ "$width" = 152 ] && [ "$height" = 112 ] || fail "is ${width}x$height pixels, not 152x112"
[ "$components" = 3 ] || fail "has $components colour components, not 3"
# Component ids 1, 2, 3 are Y, Cb, Cr.
for i in 0 1 2; do
  [ "$(byte $((frame + 10 + 3 * i)))" = $((i + 1)) ] || fail "component $((i + 1)) is not YCbCr's"
done
echo "PASS: $jpg"
