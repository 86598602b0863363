#!/bin/sh
# Regenerates funkcii_ref.txt with GNU bc -l (scale=130 unless a line says
# otherwise, obase=R).
set -eu
out=$(dirname "$0")/funkcii_ref.txt
{
echo "# Reference values made with GNU bc $(bc --version | head -1 | awk '{print $2}') as 'BC_LINE_LENGTH=0 bc -l' with scale=130 (the square roots far from 1: the scale make_funkcii_ref.sh gives them) and obase=R (R = radix column); bc prints the value truncated, not rounded. Regenerate with tests/data/make_funkcii_ref.sh."
echo "# name radix value"
ref() { # name radix expression [scale]
    v=$(printf 'scale=%s\n%s\nobase=%s\nx\n' "${4:-130}" "x=$3" "$2" | BC_LINE_LENGTH=0 bc -l)
    echo "$1 $2 $v"
}
for R in 10 16 2; do
    ref pi $R "4*a(1)"
    ref e $R "e(1)"
    ref ln2 $R "l(2)"
    ref sqrt2 $R "sqrt(2)"
done
ref sin1 10 "s(1)"
ref cos1 10 "c(1)"
ref sin10 10 "s(10)"
ref cos_7 10 "c(-7)"
ref tg1 10 "s(1)/c(1)"
ref arctg1 10 "a(1)"
ref arctg0.3 10 "a(0.3)"
ref arctg_5 10 "a(-5)"
ref arcsin0.6 10 "a(0.6/sqrt(1-0.36))"
ref arccos0.6 10 "2*a(1)-a(0.6/sqrt(1-0.36))"
ref exp0.5 10 "e(0.5)"
ref exp2.5 10 "e(2.5)"
ref exp_1.5 10 "e(-1.5)"
ref ln10 10 "l(10)"
ref ln0.3 10 "l(0.3)"
ref lg2 10 "l(2)/l(10)"
ref pow2_0.5 10 "e(0.5*l(2))"
ref pow7_1.3 10 "e(1.3*l(7))"
ref pow2_3.0e-55 10 "e((3+10^-55)*l(2))"
ref sqrt0.01 10 "sqrt(0.01)"
ref sqrt1e50 10 "sqrt(10^50)"
ref sqrt3 10 "sqrt(3)"
ref sin1 16 "s(1)"
ref exp1.5 16 "e(1.5)"
ref sin1 2 "s(1)"
ref cos1 2 "c(1)"
ref arctg1 2 "a(1)"
ref pi 3 "4*a(1)"
for R in 10 16 2; do
    ref exp_20 $R "e(-20)"
    ref lnR_30 $R "-30*l($R)"
    ref pi_6 $R "4*a(1)/6"
    ref tg89deg $R "s(89*4*a(1)/180)/c(89*4*a(1)/180)"
    ref sqrt7 $R "sqrt(7)"
done
# Square roots far outside 1: scales of 700 and 1300 leave over 100 digits
# below the tiny roots (the large ones need no scale).
ref sqrt2e300 10 "sqrt(2*10^300)"
ref sqrt3e301 10 "sqrt(3*10^301)"
ref sqrt5e1001 10 "sqrt(5*10^1001)"
ref sqrt7e_301 10 "sqrt(7*10^-301)" 700
ref sqrt5e_1001 10 "sqrt(5*10^-1001)" 1300
ref sqrtA.BCe333 16 "sqrt((10+11/16+12/256)*16^333)"
ref sqrt3.7e_401 16 "sqrt((3+7/16)*16^-401)" 700
ref sqrt1.1e1001 2 "sqrt(1.5*2^1001)"
ref sqrt1.011e_999 2 "sqrt(1.375*2^-999)" 700
} >"$out"
