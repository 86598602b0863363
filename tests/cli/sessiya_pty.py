#!/usr/bin/env python3
# The interactive session on a pseudo-terminal, as a user types it:
# definitions, a replacement, a literal that keeps its radix across :radix,
# y after an unnamed line, a failing line that leaves the old definition,
# an error and the next line, a warning, a function name completed by Tab,
# Ctrl+C during a long calculation, Ctrl+D; then a second session that finds
# the first one's lines in its history and survives bytes that are no UTF-8.
#   sessiya_pty.py CLI
import os, pty, select, sys, tempfile, time

cli = os.path.abspath(sys.argv[1])
os.chdir(tempfile.mkdtemp())
os.environ["XDG_CACHE_HOME"] = os.getcwd()  # the constant cache stays in the test's folder
state = tempfile.mkdtemp()  # XDG_STATE_HOME of both sessions
fd = pid = None
seen = b""


def start(locale):
    global fd, pid, seen
    seen = b""
    pid, fd = pty.fork()
    if pid == 0:
        os.environ["LC_ALL"] = locale
        os.environ["TERM"] = "xterm"
        os.environ["XDG_STATE_HOME"] = state
        os.execv(cli, [cli])


def expect(text, timeout=20):
    global seen
    want = text.encode()
    end = time.time() + timeout
    while want not in seen:
        left = end - time.time()
        if left <= 0:
            sys.exit(f"FAIL: no {text!r} within {timeout} s; the terminal shows:\n"
                     + seen.decode(errors="replace"))
        if select.select([fd], [], [], left)[0]:
            try:
                seen += os.read(fd, 4096)
            except OSError:
                sys.exit("FAIL: the session ended; the terminal shows:\n"
                         + seen.decode(errors="replace"))
    seen = seen[seen.index(want) + len(want):]


def line(text):
    os.write(fd, text.encode() + b"\r")


def end_with_ctrl_d():
    expect("> ")
    time.sleep(0.5)  # the prompt is out before the terminal is switched to editing
    os.write(fd, b"\x04")
    end = time.time() + 20
    while True:
        done, status = os.waitpid(pid, os.WNOHANG)
        if done:
            break
        if time.time() > end:
            sys.exit("FAIL: the session did not end on Ctrl+D")
        if select.select([fd], [], [], 0.1)[0]:
            try:
                os.read(fd, 4096)
            except OSError:
                pass
    if os.WEXITSTATUS(status) != 0:
        sys.exit(f"FAIL: exit status {os.WEXITSTATUS(status)} after Ctrl+D")


start("C")
expect("> ")
line("a = 6*7"); expect("a = 42\r\n")
line("a = 5"); expect("a = 5\r\n")
line("b = a+1"); expect("b = 6\r\n")          # the second a replaced the first
line("t = 10")
line(":r 16"); expect("radix 16\r\n")
line("u = t*1"); expect("u = Ar16\r\n")       # t still means ten
line("c = 255r10"); expect("c = FFr16\r\n")
line("d = 2*q"); expect("Не удаётся найти переменную q")
line("e = b*2"); expect("e = Cr16\r\n")       # the session goes on after an error
line("h = ZZ+1"); expect("h = 1r16\r\n")      # the warning follows its result line
expect("предупреждение: «ZZr16» — не число в системе счисления 16, взято 0\r\n")
expect("> "); time.sleep(0.5)  # Tab is read only once the line is edited
os.write(fd, b"k = sq\t"); time.sleep(0.3)  # sqr and sqrt share "sqr"
line("(3)"); expect("k = 9r16\r\n")
line("2+2"); expect("y = 4r16\r\n")
line("y*2"); expect("y = 8r16\r\n")           # the y before the line
line("a = 2+"); expect("not kept; a is still 5r10\r\n")
line("m = a*3"); expect("m = Fr16\r\n")
line("f = fact(100000000)"); time.sleep(1.0)
os.write(fd, b"\x03"); expect("Не удаётся вычислить значение переменной f", 10)
expect("not kept; f stays undefined\r\n")
line(":list"); expect("t = 10r10\r\n"); expect("\r\n(4r16)*2r16\r\n")
line("g = 1"); expect("g = 1\r\n")
end_with_ctrl_d()

kept = open(os.path.join(state, "ciframer", "history"), encoding="utf-8").read().splitlines()
if kept[:2] != ["a = 6*7", "a = 5"] or kept[-1] != "g = 1":
    sys.exit(f"FAIL: the history file holds {kept!r}")

start("C.UTF-8")
expect("> "); time.sleep(0.5)
os.write(fd, b"\x1b[A\r"); expect("g = 1\r\n")  # Up: the last line of the first session
expect("> ")
os.write(fd, b"\xfc\xb4\x80\xac\xbf\x98\r")      # an obsolete 6-byte form
line("z = 3"); expect("z = 3\r\n")
end_with_ctrl_d()
print("session as typed: ok")
