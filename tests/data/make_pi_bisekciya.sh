#!/bin/sh
# Regenerates pi_bisekciya.txt: pi of the full bisection in every radix
# 2..126, from the recorder program of a build (two processes, one for the
# even and one for the odd radixes; some minutes in all).
#   tests/data/make_pi_bisekciya.sh [BUILD_DIR]   (default: build)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
tool=$(realpath "${1:-build}")/tests/ciframer_pi_zapisi
out=$here/pi_bisekciya.txt
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$tool" 2 126 2 > even.txt &
"$tool" 3 126 2 > odd.txt
wait $!
{
echo "# pi in radixes 2..126 by the full bisection of sin x = 1/2 (every step sums its sine series), printed by tests/ciframer_pi_zapisi (vmPiBisekciya) and recorded by tests/data/make_pi_bisekciya.sh on $(date -u +%Y-%m-%d) from commit $(git -C "$here" describe --always --dirty)."
echo "# radix, then the 110 bytes of the record in hex, in memory order (the bytes of its cache file)"
sort -n even.txt odd.txt
} > "$out"
test "$(grep -vc '^#' "$out")" = 125
