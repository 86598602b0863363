#!/usr/bin/env python3
# Writes cases.txt, the corpus of command-line runs whose output is kept
# byte for byte (see run.sh). Run by hand when the corpus is extended; the
# written file is what the tests read. Deterministic (fixed seed).
#
# A case is one line: name TAB seed TAB args TAB input
#   seed  "pi": the cache folder starts with the recorded pi files only;
#         "none": it starts empty (pi is computed cold)
#   args  shell words (no expansion beyond quotes)
#   input standard input, written with printf %b escapes (\n, \t, \0NNN)
import random

rnd = random.Random(20261209)
CIFRI = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"
RADIXES = [2, 3, 7, 10, 16, 36]
ANGLES = ["deg", "rad", "grad"]
cases = []


def add(name, stdin, args="--log", seed="pi"):
    assert "\t" not in args and "\\" not in args
    stdin = (stdin.replace("\\", "\\\\").replace("\n", "\\n").replace("\t", "\\t")
             .replace("\r", "\\r").replace("\0", "\\0000"))
    cases.append((name, seed, args, stdin))


def digits(R, n, lead=True):
    s = "".join(rnd.choice(CIFRI[:R]) for _ in range(n))
    if lead and s[0] == "0":
        s = CIFRI[rnd.randrange(1, R)] + s[1:]
    return s


def literal(R, kind=None):
    """A literal in radix R (no radix mark), of a random shape."""
    kind = kind or rnd.choice(["int", "frac", "frac", "exp", "neg", "small"])
    if kind == "int":
        return digits(R, rnd.randint(1, 4))
    if kind == "frac":
        return digits(R, rnd.randint(1, 2)) + "." + digits(R, rnd.randint(1, 6), False)
    if kind == "exp":
        return digits(R, 1) + "." + digits(R, 3, False) + "e" + str(rnd.randint(-4, 4))
    if kind == "neg":
        return "-" + digits(R, 1) + "." + digits(R, 3, False)
    if kind == "small":
        return "0." + "0" * rnd.randint(0, 2) + digits(R, 3)
    raise ValueError(kind)


def unit_interval(R):
    # a literal in (0, 1) of radix R
    return "0." + digits(R, 3)


# --- Operators in every radix ---
for R in RADIXES:
    a = f"-r {R} --log"
    for op in ["+", "-", "*", "/", "%"]:
        for i in range(2):
            add(f"op_r{R}_{'plus minus times div mod'.split()[['+','-','*','/','%'].index(op)]}{i}",
                f"y = {literal(R)} {op} {literal(R)}\n", a)
    add(f"op_r{R}_pow_int", f"y = {literal(R, 'frac')}^{digits(R, 1)}\n", a)
    add(f"op_r{R}_pow_frac", f"y = {literal(R, 'frac')}^{unit_interval(R)}\n", a)
    add(f"op_r{R}_pow_neg_base", f"y = -{digits(R, 1)}.{digits(R, 2, False)}^{CIFRI[min(R-1, 3)]}\n", a)
    add(f"op_r{R}_shifts", f"y = {literal(R, 'frac')} << {CIFRI[min(R-1, 3)]} >> 1\n", a)
    add(f"op_r{R}_chain", f"y = {literal(R)}*{literal(R)}+{literal(R)}/{literal(R)}-{literal(R)}%{digits(R,1)}\n", a)
    add(f"op_r{R}_minus_pairs", f"y = 1--{digits(R,2)}*--1---1\n", a)

# --- Functions in every radix ---
for k, R in enumerate(RADIXES):
    ang = ANGLES[k % 3]
    a = f"-r {R} -a {ang} --log"
    x = literal(R, "frac")
    u = unit_interval(R)
    add(f"fn_r{R}_sqr", f"y = sqr({literal(R)})\n", a)
    add(f"fn_r{R}_sqrt", f"y = sqrt({x})\n", a)
    add(f"fn_r{R}_sqrt_small", f"y = sqrt({u})\n", a)
    add(f"fn_r{R}_exp", f"y = exp({literal(R, 'neg')})\n", a)
    add(f"fn_r{R}_exp_int", f"y = exp({CIFRI[min(R-1, 5)]})\n", a)
    add(f"fn_r{R}_fact", f"y = fact({CIFRI[min(R-1, 9)]}{CIFRI[min(R-1, 1)]})\n", a)
    add(f"fn_r{R}_ln", f"y = ln({x})\n", a)
    add(f"fn_r{R}_lg", f"y = lg({x})\n", a)
    add(f"fn_r{R}_log", f"y = log({literal(R, 'frac')};{literal(R, 'frac')})\n", a)
    add(f"fn_r{R}_sin", f"y = sin({x})\n", a)
    add(f"fn_r{R}_cos", f"y = cos({literal(R, 'neg')})\n", a)
    add(f"fn_r{R}_tg", f"y = tg({literal(R, 'small')})\n", a)
    add(f"fn_r{R}_arctg", f"y = arctg({x})\n", a)
    add(f"fn_r{R}_arcsin", f"y = arcsin({u})\n", a)
    add(f"fn_r{R}_arccos", f"y = arccos(-{u})\n", a)
    add(f"fn_r{R}_arctg2", f"y = arctg2(-{u};{literal(R, 'frac')})\n", a)
    for m in ["-1", "0", "1", "2"]:
        add(f"fn_r{R}_int{m}", f"y = int(-{literal(R, 'frac')};{m})\n", a)
    add(f"fn_r{R}_frac", f"y = frac({literal(R, 'neg')})\n", a)
    add(f"fn_r{R}_nested", f"y = sin(cos({u}))*exp(sqrt({x}))\n", a)

# --- Angle units ---
for ang in ANGLES:
    a = f"-a {ang} --log"
    for f in ["sin(30)", "cos(100)", "tg(45)", "sin(-1234.5)", "cos(3.14159)",
              "arctg(1)", "arcsin(1)", "arccos(-0.5)", "arctg2(0;1)", "arctg2(-1;0)",
              "arctg2(-1;-1)", "arcsin(2)", "tg(90)"]:
        add(f"angle_{ang}_{f.split('(')[0]}_{len(cases)}", f"y = {f}\n", a)

# --- Mixed radixes and results shown in another radix ---
mixed = [
    ("", "y = 1.1r2 + 0.3r10"), ("", "y = A.Br16 * 7r8"), ("", "y = 12r3 / 5r7"),
    ("", "y = ZZr36 - 99r10"), ("", "y = log(2r10;100r16)"), ("", "y = 0.1r2 + 10"),
    ("", "y = 2r10 ^ 0.5r16"), ("", "y = 7r8 % 3r5"), ("", "y = sqrt(2r3) + 1r36"),
    ("", "y = sin(1r7) * 1r10"), ("-r 16", "y = 1r10/7r10"), ("-r 2", "y = 100r10/3r10"),
    ("-r 36", "y = 123456789r10"), ("-r 3", "y = 0.5r10"), ("-r 7", "y = 1r10/3r10"),
    ("-r 16", "y = 255r10 + 0.5r10"), ("-r 2", "y = -9r10"), ("-r 36", "y = 1r10/36r10"),
    ("-r 10", "y = FFr16 * 1r2"), ("-r 3", "y = ln(2r10)"), ("-r 16", "y = exp(1r10)"),
    ("-r 7", "y = 1e40r10"), ("-r 2", "y = 1e-20r10"), ("-r 36", "y = -ZZ.Zr36 * 2r10"),
]
for i, (extra, line) in enumerate(mixed):
    add(f"mixed_{i}", line + "\n", (extra + " --log").strip())

# --- Digit counts and forms of the result ---
for d in [0, 1, 5, 20, 99, 100]:
    add(f"digits_{d}_third", "y = 2/3\n", f"-d {d}")
    add(f"digits_{d}_big", "y = 123456789012345.678\n", f"-d {d}")
    add(f"digits_{d}_r16", "y = 1/3\n", f"-r 16 -d {d}")
for v in ["1e10", "1e11", "1e-10", "1e-11", "9.996e5", "-0.001", "10000000000.5",
          "1e600000000", "-1e-600000000", "0.000", "1A.8e-3r16"]:
    add(f"form_{v}", f"y = {v}\n", "--log")

# --- Special values ---
for i, e in enumerate(["5/0", "-5/0", "0/0", "0*-5", "10%-5", "1/0-1/0", "0^0", "0^-1",
                       "ln(0)", "ln(-1)", "sqrt(-4)", "log(1;5)", "(-2)^0.5", "(-2)^3",
                       "(-8)^2", "2^-3", "1e500000000*1e500000000", "1e-500000000/1e500000000",
                       "exp(-1000)", "exp(1000)", "fact(-3)", "fact(1.9)", "fact(170)",
                       "tg(90)", "int(2.5;7)", "int(-2.5;255)", "1<<600000000", "1>>-3",
                       "sin(1e40)", "cos(0)", "sqrt(0)", "frac(7)", "2^1000", "3^-40"]):
    add(f"special_{i}", f"y = {e}\n", "--log")

# --- Errors ---
errors = [
    "y = 2*x", "x = x+1", "a = b\nb = a\ny = a", "y = (2;3)", "y = (2)", "y = abs(1)",
    "y = Sin(1)", "y = sin(1;2)", "y = f(1;2;3)", "y = log(2;)", "y = sin()", "y = (1+2",
    "y = 1+2)", "y = )1+2(", "y = 1<2", "y = 1<", "y = +5", "y = 2+", "y = 2 3",
    "y = 2x", "y = -x", "x = 1\ny = 0-x", "y = 2e", "y = 1,", "y = 1<<<2", "y = 2*/3",
    "= 5\ny = 1", "y =\ny = 2", "\n\ny = 3", "a = b = 1\nb = 2\ny = a", "y = 1 000",
    "Й = 5\ny = Й+1", "X = 5\ny = X+1", "y = FFr10", "y = 12A", "y = 1.5.3",
]
for i, t in enumerate(errors):
    add(f"error_{i}", t + "\n", "--log")
add("error_target_blank", "y = 1\n", "-n '   '")
add("error_target_missing", "y = 1\n", "-n zz")
add("target_trimmed", "zz = 7\n", "-n ' zz '")
add("target_cyrillic", "Й = 5\n", "-n Й")
add("duplicate_names", "x = 1\nx = 2\ny = x*10\n", "--log")

# --- Worksheets ---
ws = []
for i in range(40):
    if i % 5 == 4:
        f = ["sin", "cos", "ln", "exp", "sqrt", "arctg"][(i // 5) % 6]
        ws.append(f"v{i} = {f}(v{i-1}/{i+1})")
    elif i == 0:
        ws.append("v0 = 1.5")
    else:
        ws.append(f"v{i} = v{i-1}*{rnd.randint(2, 9)}.{rnd.randint(1, 99)} - {rnd.randint(1, 9)}/v{max(0, i-3)}")
ws.append("y = v39")
add("worksheet_40", "\n".join(ws) + "\n", "--log")
add("worksheet_40_r16", "\n".join(ws) + "\n", "-r 16")
add("worksheet_names", "радиус = 2.5\nплощадь = pi_*sqr(радиус)\npi_ = 4*arctg(1)\ny = площадь\n",
    "-a rad --log")
add("worksheet_shared", "a = 3\nb = a*a + a\nc = b/a - sqr(a) + a^a\ny = a+b+c+a*b*c\n", "--log")
add("worksheet_crlf", "x = 2\r\ny = x*x\r\n", "--log")
add("worksheet_tabs", "x\t=\t2\ny = \tx +\t1\n", "--log")
add("worksheet_unused_error", "bad = 1<2\ny = 5\n", "--log")
add("worksheet_deep_brackets", "y = ((((((1+2)*3)-4)/5)^2)%7)\n", "--log")
add("worksheet_many_args", "y = arctg2(cos(30);sin(30)) + log(sqr(3);fact(4)) + int(frac(7.25)*8;0)\n", "--log")
add("worksheet_e_options", "", "-e 'x = 2' -e 'y = sin(x*(x+1))' --log")
add("worksheet_name_option", "a = 1\nb = a+1\n", "-n b --log")
add("worksheet_long_sum", "y = " + "+".join(str(i) for i in range(1, 301)) + "\n", "")
add("worksheet_long_product", "y = " + "*".join("1.01" for _ in range(200)) + "\n", "")
add("worksheet_nested_300", "y = " + "(" * 300 + "1" + ")" * 300 + "\n", "")
chain = "\n".join(f"x{i} = x{i+1}+1" for i in range(500)) + "\nx500 = 0\ny = x0\n"
add("worksheet_chain_500", chain, "")

# --- Values the earlier work checked against other programs ---
for i, e in enumerate(["sin(6)", "exp(-20)", "ln(1e-30)", "tg(89)", "sqrt(7)", "1/7",
                       "123456789/7", "2^100", "3^2", "log(2;8)", "lg(1000)", "fact(25)",
                       "2^0.5", "exp(1)", "exp(2)", "ln(2)", "ln(10)", "sqrt(1e300)",
                       "sqrt(1e200)", "sqrt(1e-300)", "sqrt(2e-250)", "sqrt(1e-3)"]):
    add(f"known_{i}", f"y = {e}\n", "--log")

# --- Square roots, near-integer powers, radixes above 36, NUL bytes ---
add("near_integer_power", "y = 2^3.0000000000000000000000000000000000000000000000000000001\n", "--log")
add("near_integer_power_neg", "y = (-2)^3.0000000000000000000000000000000000000000000000000000001\n", "--log")
add("near_integer_power_exp", "y = exp(2.00000000000000000000000000000000000000000000000000000001)\n", "--log")
add("radix_above_36_ln", "y = ln(11r100)\n", "--log")
add("radix_above_36_plain", "y = 11r100\n", "--log")
add("radix_above_36_sum", "y = 11r100 + 1\n", "--log")
add("nul_in_line", "y = 1\x002+3\n", "")

# --- Long lines, with their step log ---
add("long_sum_log", "y = " + "+".join(str(i % 7) for i in range(1500)) + "\n", "--log")
add("long_mixed_log", "y = " + "+".join(f"{i % 5}*2-1/4" for i in range(600)) + "\n", "--log")
add("long_nested_log", "y = " + "(" * 400 + "1" + "+1)" * 400 + "\n", "--log")
add("long_args_log", "y = sin(" + ";".join("1" for _ in range(300)) + ")\n", "--log")
add("long_product_log", "y = " + "*".join(f"1.{i % 9 + 1}/1.{i % 7 + 2}" for i in range(300)) + "\n",
    "--log")
add("long_names_log", "a = 3\nb = 0.5\ny = " + "+".join(f"--a*--b---a{' ' * (i % 3)}-\tb^2*--2" for i in range(300))
    + "\n", "--log")
add("long_groups_log", "x = 2\ny = " + "+".join(f"sqr(x*(x+{i % 4}))-2*()3+int({i}/7;{i % 3 - 1})"
                                            for i in range(300)) + "\n", "--log")
add("long_groups_error_log", "y = " + "+".join(f"sqr({i})" for i in range(300)) + "+(3;4)\n",
    "--log")
add("long_bracket_error_log", "y = " + "+".join("(1+2)" for _ in range(300)) + "+(4\n", "--log")

# --- Cold pi ---
add("cold_pi_r2", "y = sin(1)\n", "-r 2", seed="none")
add("cold_pi_r3", "y = cos(1)\n", "-r 3", seed="none")
add("cold_pi_r10", "y = sin(30)\n", "", seed="none")
add("cold_e_ln_r10", "y = exp(1)+ln(2)+ln(3)\n", "", seed="none")

# --- Usage ---
for i, a in enumerate(["-r 1", "-r 37", "-r x", "-d 101", "-d -1", "-a gon", "-x", "-r",
                       "a.txt b.txt", "-e 'y=1' a.txt", "--version", "nonexistent.txt",
                       "-d ' 5 '", "--radix=16 --digits=3 -n y"]):
    add(f"usage_{i}", "y = 1/3\n", a)

# --- Roots far from one, exponents just above a whole number, radix 100 ---
add("root_tiny", "y = sqrt(1e-300000)\n", "--log")
add("root_large_r16", "y = sqrt(A.BCe333)\n", "--log -r 16")
add("root_tiny_r2", "y = sqrt(1.011e-999)\n", "-r 2")
add("near_integer_power_r3", "y = 2^10.0000000000000000000000000000000000000000000000000000000001\n", "-r 3")
add("whole_power_with_point", "y = 3^4.000\n", "--log")
add("radix_above_36_times_r7", "y = 11r100 * 11r100\n", "--log -r 7")
add("radix_above_36_sqrt", "y = sqrt(2r100)\n", "--log")

# --- Options: help, errors of the command line, the forms of a value ---
for i, a in enumerate([
        "--help", "-h", "-r 99 --help", "--help --version", "--version -r 1", "--version a.txt",
        "--foo", "-xy --bar", "-ё", "-😀", "---x", "--=x", "--help-all", "-?",
        "--radix", "-e", "-n", "-a", "-hr", "-x -d", "--log=1 -r", "-r -x",
        "--log=1", "--version=2", "-h=5", "--h=1", "-xh=5", "-hx=5",
        "--rad 16", "--ver", "--lo", "--r 16", "--h", "--e 'y = 2'",
        "-r ' +16 '", "-r 0x10", "-r ''", "-r '16 '", "-r 16.", "-d +0", "-d -0", "-d 100",
        "-a DEG", "-a ''", "-a ' rad'",
        "a.txt b.txt c.txt", "-e 'y = 2' -- a.txt", "-- -x", "-r 16 -- -d", "--", "-- /dev/stdin",
        "-- /dev/stdin -r 16", "-", "''",
        "-r16", "-d5", "-r=16", "-d5r16", "-hr16", "-rh", "-e=y=7", "-ey=8", "-le",
        "--radix=16", "--radix=", "--name=", "--expr='y = 5'", "--digits=2 --angle=rad",
        "-e 'y = 2' -e 'y = 3'", "-r 16 -r 8", "-n zz -n y",
        "-qmljsdebugger=port:1 -d 2", "-e 'y = 5' --qmljsdebugger x", "-e -qmljsdebugger=1",
        ]):
    add(f"option_{i}", "y = 1/3\n", a)
add("option_name_compact", "zz = 1/4\n", "-nzz -d3")

with open("cases.txt", "w", encoding="utf-8") as f:
    for c in cases:
        f.write("\t".join(c) + "\n")
print(len(cases), "cases")
