#!/usr/bin/env bash
# Regenerates eval_bc.txt: reference values of whole calculations, computed
# independently with bc -l (scale=130). Columns (tab-separated): radix of
# literals and result, angle unit (0 rad, 1 deg, 2 grad), the definition
# lines joined by " ; ", the value (digits in that radix, marked "rR" unless
# decimal).
set -euo pipefail
cd "$(dirname "$0")"
export BC_LINE_LENGTH=0
lead0() { sed -e 's/^\./0./' -e 's/^-\./-0./'; }
bc10() { echo "scale=130; $1" | bc -l | lead0; }
bc3() { echo "scale=130; obase=3; $1" | bc -l | lead0; }
pi='4*a(1)'
{
    echo "# Reference values made with: bc -l, scale=130, BC_LINE_LENGTH=0 (tests/data/make_eval_bc.sh)"
    printf '10\t1\ty = sin(30)^2+cos(30)^2\t%s\n' "$(bc10 "p=$pi; s(30*p/180)^2+c(30*p/180)^2")"
    printf '10\t1\ty = ln(2)\t%s\n' "$(bc10 'l(2)')"
    printf '10\t1\ty = 2^0.5\t%s\n' "$(bc10 'sqrt(2)')"
    printf '10\t1\ty = arctg(1)\t%s\n' "$(bc10 'a(1)*180/(4*a(1))')"
    printf '10\t0\ty = arctg(1)\t%s\n' "$(bc10 'a(1)')"
    printf '10\t1\ty = fact(100)\t%s\n' "$(bc10 'f=1; for (i=2; i<=100; i++) f*=i; f')"
    printf '10\t1\tx = 2 ; y = sin(x*(x+1))\t%s\n' "$(bc10 "s(6*$pi/180)")"
    printf '10\t2\ty = arcsin(0.3)\t%s\n' "$(bc10 'a(0.3/sqrt(1-0.09))*200/(4*a(1))')"
    printf '10\t1\ty = exp(1)^3/lg(7)\t%s\n' "$(bc10 'e(3)/(l(7)/l(10))')"
    printf '3\t1\ty = 1/10\t%sr3\n' "$(bc3 '1/3')"
    printf '3\t1\ty = 2^0.1\t%sr3\n' "$(bc3 'e(l(2)/3)')"
} > eval_bc.txt
