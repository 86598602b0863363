#!/usr/bin/env python3
# The interactive session on a pseudo-terminal, as a user types it:
# definitions, a replacement, :radix, an error and the next line, a warning,
# a function name completed by Tab, Ctrl+C during a long calculation, Ctrl+D.   sessiya_pty.py CLI
import os, pty, select, sys, tempfile, time

cli = os.path.abspath(sys.argv[1])
os.chdir(tempfile.mkdtemp())
os.environ["XDG_CACHE_HOME"] = os.getcwd()  # the constant cache stays in the test's folder
pid, fd = pty.fork()
if pid == 0:
    os.environ["LC_ALL"] = "C"
    os.environ["TERM"] = "xterm"
    os.execv(cli, [cli])
seen = b""


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


expect("> ")
line("a = 6*7"); expect("a = 42\r\n")
line("a = 5"); expect("a = 5\r\n")
line("b = a+1"); expect("b = 6\r\n")          # the second a replaced the first
line(":radix 16"); line("c = 255r10"); expect("c = FFr16\r\n")
line("d = 2*q"); expect("Не удаётся найти переменную q")
line("e = b*2"); expect("e = Cr16\r\n")       # the session goes on after an error
line("h = ZZ+1"); expect("h = 1r16\r\n")      # the warning follows its result line
expect("предупреждение: «ZZ» — не число в системе счисления 16, взято 0\r\n")
expect("> "); time.sleep(0.5)  # Tab is read only once the line is edited
os.write(fd, b"k = sq\t"); time.sleep(0.3)  # sqr and sqrt share "sqr"
line("(3)"); expect("k = 9r16\r\n")
line("f = fact(100000000)"); time.sleep(1.0)
os.write(fd, b"\x03"); expect("Не удаётся вычислить значение переменной f", 10)
line("g = 1"); expect("g = 1\r\n"); expect("> ")
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
print("session as typed: ok")
