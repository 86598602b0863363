#!/usr/bin/env bash
# The same worksheet for ciframer-cli, bc -l (scale=100) and gp (101 digits):
# N definitions, arithmetic on every line and one of sin, cos, ln, exp,
# sqrt, arctan on every fifth, angles in radians. Runs the calculators
# alternately R times each and prints the median wall-clock times and their
# ratios to ciframer-cli. A peer that is not installed is left out.
#
#   bench/peers.sh [-n N] [-r R] [--cli PATH] [--before PATH]
#
# The CLI defaults to build/src/cli/ciframer-cli (built when missing). Each
# run of ciframer-cli starts with an empty ./VelimathData (which it then uses
# in place of the shared cache in $XDG_CACHE_HOME), as a first run would.
# ciframer-cli runs once per kernel version the
# processor has (CIFRAMER_ISA=avx512, avx2, sse2, portable; the best is
# plain "ciframer"), so the figures of a machine without AVX-512 can be read
# on one with it. --before adds an older build, under the same versions, to
# the same alternating runs.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
n=300
reps=7
cli=$here/build/src/cli/ciframer-cli
before=
while [ $# -gt 0 ]; do
    case $1 in
    -n) n=$2; shift 2 ;;
    -r) reps=$2; shift 2 ;;
    --cli) cli=$(realpath "$2"); shift 2 ;;
    --before) before=$(realpath "$2"); shift 2 ;;
    *) echo "usage: $0 [-n N] [-r R] [--cli PATH] [--before PATH]" >&2; exit 2 ;;
    esac
done
if [ ! -x "$cli" ]; then
    cmake -S "$here" -B "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
    cmake --build "$here/build" --target ciframer-cli -j2 > /dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Line i of the worksheet in three spellings: ciframer, bc, gp. Every value
# stays within a few units, so no function meets an argument out of range.
awk -v n="$n" -v dir="$work" 'BEGIN {
    split("sin cos ln exp sqrt arctg", fc, " ")
    split("s c l e sqrt a", fb, " ")
    split("sin cos log exp sqrt atan", fg, " ")
    cf = dir "/sheet.txt"; bf = dir "/sheet.bc"; gf = dir "/sheet.gp"
    print "scale=100" > bf
    print "default(realprecision, 101);" > gf
    print "v0 = 1.5" > cf; print "v0 = 1.5" > bf; print "v0 = 1.5;" > gf
    for (i = 1; i < n; i++) {
        a = "v" (i - 1); b = "v" int(i / 2)
        if (i % 5 == 0) {
            k = (i / 5 - 1) % 6 + 1
            arg = "(" a "*" a ")/(" a "*" a "+1)"
            if (k == 5) arg = a "*" a "+1"
            c = fc[k] "(" arg ")+" b "/3"
            e = fb[k] "(" arg ")+" b "/3"
            g = fg[k] "(" arg ")+" b "/3"
        } else {
            c = "(" a "*1.01+" b ")/2-0.25*" a "/(" b "+3)"
            e = c; g = c
        }
        print "v" i " = " c > cf; print "v" i " = " e > bf; print "v" i " = " g ";" > gf
    }
    print "y = v" (n - 1) > cf
    print "v" (n - 1) > bf; print "quit" > bf
    print "print(v" (n - 1) ")" > gf; print "quit" > gf
}'

declare -A cmd=()
names=()
mkdir -p "$work/c"
# ciframer-cli under each kernel version the processor runs: a version it
# lacks is refused with a line on stderr, and left out here.
add_cli() { # name binary
    local isa
    names+=("$1")
    cmd[$1]="cd $work/c && $2 -a rad $work/sheet.txt"
    for isa in avx512 avx2 sse2 portable; do
        if [ -z "$(CIFRAMER_ISA=$isa "$2" -e 'y = 1' 2>&1 > /dev/null)" ]; then
            names+=("$1-$isa")
            cmd[$1-$isa]="cd $work/c && CIFRAMER_ISA=$isa $2 -a rad $work/sheet.txt"
        fi
    done
}
add_cli ciframer "$cli"
[ -n "$before" ] && add_cli before "$before"
if command -v bc > /dev/null; then names+=(bc); cmd[bc]="bc -l -q $work/sheet.bc"; fi
if command -v gp > /dev/null; then names+=(gp); cmd[gp]="gp -q -f $work/sheet.gp"; fi

# A fresh, empty cache folder before each run of ciframer-cli, made outside
# the timed command.
fresh() { rm -rf "$work/c/VelimathData" && mkdir "$work/c/VelimathData"; }
for name in "${names[@]}"; do
    fresh
    echo "$name: $(bash -c "${cmd[$name]}" 2>&1 | tr -d '\\\n' | cut -c1-60)"
done

now() { date +%s.%N; }
declare -A times=()
for ((r = 0; r < reps; r++)); do
    for name in "${names[@]}"; do
        fresh
        t0=$(now)
        bash -c "${cmd[$name]}" > /dev/null 2>&1
        t1=$(now)
        times[$name]+="$(echo "$t1 - $t0" | bc -l) "
    done
done

median() { tr ' ' '\n' | grep . | sort -g | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
base=$(echo "${times[ciframer]}" | median)
bcm=
[ -n "${times[bc]:-}" ] && bcm=$(echo "${times[bc]}" | median)
echo "worksheet: $n definitions, $reps runs each, medians:"
for name in "${names[@]}"; do
    m=$(echo "${times[$name]}" | median)
    printf '  %-18s %8.4f s   %6.2f x ciframer-cli' "$name" "$m" "$(echo "$m / $base" | bc -l)"
    [ -n "$bcm" ] && printf '   bc -l takes %6.2f x' "$(echo "$bcm / $m" | bc -l)"
    echo
done
